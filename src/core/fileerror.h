#pragma once

#include <QString>

namespace quillo {

// File error numbers by which the programs choose their messages.
namespace FileError {
constexpr int None = 0;
constexpr int ProcedureCall = 5;
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int BadFileMode = 54;
constexpr int FileInUse = 55;
constexpr int DeviceIO = 57;
constexpr int DiskFull = 61;
constexpr int InputPastEnd = 62;
constexpr int BadRecordNumber = 63;
constexpr int TooManyFiles = 67;
constexpr int DeviceUnavailable = 68;
constexpr int PermissionDenied = 70;
constexpr int DiskNotReady = 71;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
// Errors without a number of their own keep a distinct one above this base ("ERR = n").
constexpr int OtherBase = 1000;
} // namespace FileError

// What a file write came to: 0 and no message when the file was written, else the file
// error number the messages are chosen by and the system's own description.
struct FileResult {
    int errorNumber = FileError::None;
    QString message;
    bool ok() const { return errorNumber == FileError::None; }
};

// Maps an errno value to its file error number. ENOENT is 76 when the folder of `path` is
// missing, else 53.
int fileErrorNumberFromErrno(int err, const QString& path = {});

// The FileResult of a failed system call on `path`: its file error number and the system's
// description of errno `err`.
FileResult fileFailure(int err, const QString& path);

// The FileResult of a file another program holds (its lock, or a save of its own).
FileResult fileInUse();

// True when a write failed on permission although the file itself may be written: the
// folder refused it, and the folder is what the user has to change.
bool refusedByFolder(const FileResult& result, const QString& path);

// FileError::None when the file can be opened for reading, else the file error number of
// the attempt.
int openForReadingError(const QString& path);

// True when the file exists and may not be written: no write permission for this user, or
// no write bit at all (a file marked read-only stays read-only for the administrator too).
bool isReadOnlyFile(const QString& path);

} // namespace quillo
