#pragma once

#include "fileerror.h"
#include "helpdocument.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

class QIODevice;

// The one reader and the one writer of help files (.qzd). The file is text only: hexadecimal
// numbers in fixed-width fields, code page 932 strings whose lengths stand in the field
// before them, and the RTF of each page.
namespace quillo {

inline constexpr char FormatTag[] = "qzd32mk Ver2.01 ";
inline constexpr int FormatTagLength = 16;
inline constexpr int HeaderFixedLength = 80; // bytes before the first page record
// Where the window fields (position, size, list width, keep in front, state) stand when the
// tag is 16 single-byte characters, and how many bytes they take.
inline constexpr int DisplaySettingsOffset = 24;
inline constexpr int DisplaySettingsLength = 22;

enum class ReadStatus {
    Ok,
    OpenFailed,  // the file could not be opened or read (see errorNumber)
    WrongFormat, // the tag does not start with "qzd32mk"; the document is unchanged
    BadField,    // a field is not what the layout needs; what came before it was kept
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    int errorNumber = 0; // file error number when the file could not be opened or read
    qint64 offset = 0;   // byte offset of the field that failed
    QString reason;      // short English description, for tools and logs
    bool ok() const { return status == ReadStatus::Ok; }
};

// Who reads: the viewer also lets a maximised window state clear the keep-in-front flag.
enum class Reader { Viewer, Maker };

// Reads a help file into the document. Anything but a regular file is WrongFormat, and a file
// is read only as far as its fields reach. On success the pages and the settings are replaced;
// on failure the settings and pages read before the failing field stay in the document,
// and the caller must not write it back.
// filePath is left to the caller.
ReadResult readHelpFile(const QString& path, HelpDocument& doc, Reader reader);
ReadResult parseHelpFile(QByteArrayView data, HelpDocument& doc, Reader reader);

// For tests: called once the file is open and before its bytes are read.
inline std::function<void()> helpFileOpenedHook;

struct HelpFileHeader {
    QString formatTag; // the file's own tag, which names the version that wrote it
    DisplaySettings settings;
    qsizetype settingsOffset = 0; // byte offset of windowTop
};

// Reads the tag and the display settings as parseHelpFile takes them, without the pages.
ReadResult parseHelpFileHeader(QByteArrayView data, HelpFileHeader& header, Reader reader);
// The same from a file, of which only the header's bytes are read.
ReadResult readHelpFileHeader(const QString& path, HelpFileHeader& header, Reader reader);

// The window fields as the file stores them (DisplaySettingsLength bytes), backColor excluded.
QByteArray displaySettingsBytes(const DisplaySettings& settings);

enum class WriteStatus {
    Ok,
    ReadOnly,    // the target exists and may not be written; nothing was touched
    Unencodable, // a title or keyword holds a character code page 932 cannot hold
    BadDocument, // counts or lengths that the format cannot carry
    WriteFailed, // creating or writing the file failed (see errorNumber); old file intact
};

// A save's outcome. A file failure is the FileResult every writer returns; a document the
// format cannot carry names the field at fault instead.
struct WriteResult {
    WriteStatus status = WriteStatus::Ok;
    FileResult file;     // ReadOnly and WriteFailed: the file error number and the cause
    int page = 0;        // page of the field at fault, for Unencodable and BadDocument
    int keywordSlot = 0; // 0: the title; otherwise the keyword slot
    QChar character;     // the character that cannot be stored, for Unencodable
    QString detail;      // Unencodable and BadDocument: what cannot be stored
    bool ok() const { return status == WriteStatus::Ok; }
    // One line for logs and the command-line tool.
    QString reason() const { return file.ok() ? detail : file.message; }
};

// Builds the file's bytes. Out-of-range display settings are first replaced by their
// defaults in the document itself. backColor is written as it stands in the document.
WriteResult serializeHelpDocument(HelpDocument& doc, QByteArray& out);

// Writes the document to an open device.
WriteResult writeHelpDocument(QIODevice& device, HelpDocument& doc);

// Writes the document to a file: into a temporary file in the same folder that replaces the
// old file only once it is complete, so a failed write leaves the old file as it was. A file
// another program keeps locked beyond a short wait is left alone (WriteFailed with
// FileError::FileInUse).
WriteResult saveHelpFile(const QString& path, HelpDocument& doc);

} // namespace quillo
