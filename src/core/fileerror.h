#pragma once

#include <QString>

namespace quillo {

// File error numbers by which the programs choose their messages.
namespace FileError {
constexpr int None = 0;
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int DeviceIO = 57;
constexpr int DiskFull = 61;
constexpr int TooManyFiles = 67;
constexpr int DeviceUnavailable = 68;
constexpr int PermissionDenied = 70;
constexpr int PathNotFound = 76;
// Errors without a number of their own keep a distinct one above this base ("ERR = n").
constexpr int OtherBase = 1000;
} // namespace FileError

// Maps an errno value to its file error number. ENOENT is 76 when the folder of `path` is
// missing, else 53.
int fileErrorNumberFromErrno(int err, const QString& path = {});

// FileError::None when the file can be opened for reading, else the file error number of
// the attempt.
int openForReadingError(const QString& path);

// True when the file exists and may not be written: no write permission for this user, or
// no write bit at all (a file marked read-only stays read-only for the administrator too).
bool isReadOnlyFile(const QString& path);

} // namespace quillo
