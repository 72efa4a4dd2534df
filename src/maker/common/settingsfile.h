#pragma once

#include "core/fileerror.h"
#include "core/twipsrect.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// qzd32mk.ini: the authoring program's environment (not the document). Plain text, one value
// per line, CR LF, six sections each opened by a marker line and closed by an empty line.
namespace quillo::maker {

// Offset of a dialog's top-left corner from the main window's, in twips.
struct DialogOffset {
    qint16 top = 1500;
    qint16 left = 2500;
    bool operator==(const DialogOffset&) const = default;
};

// The colour dialog's saved colours and choices.
struct ColourSettings {
    static constexpr int MaxSaved = 10;
    qint16 count = 0;                         // saved colours in slots 0..count-1
    std::array<qint32, MaxSaved + 1> saved{}; // Windows colour values 0x00BBGGRR
    qint16 lastTab = 0;                       // 0 "１６色", 1 "詳細"
    qint16 target = 0;                        // 0 text colour, 1 background colour
    qint16 selected = 0;                      // index of the selected saved colour
    bool operator==(const ColourSettings&) const = default;
};

struct MakerSettings {
    qint32 editorBackColor = qint32(0x80000005u);
    std::optional<bool> htmlIndent; // no value: the menu item keeps its initial state
    TwipsRect main{200, 3035, 7545, 7200};
    DialogOffset search;
    DialogOffset colourDialog;
    ColourSettings colours;
    DialogOffset image;
    TwipsRect contentsWindow{200, 200, 3780, 2835};
    TwipsRect keywordWindow{3980, 200, 3780, 2835};
    bool operator==(const MakerSettings&) const = default;
};

enum class SettingsReadStatus {
    Ok,
    NotFound, // no file: start silently with the defaults
    Failed,   // unreadable or malformed: warn, then start with the defaults
};

struct SettingsReadResult {
    SettingsReadStatus status = SettingsReadStatus::Ok;
    int errorNumber = 0;
    int line = 0; // 1-based line that could not be read, for Failed
    bool ok() const { return status == SettingsReadStatus::Ok; }
};

// Reads the file. On failure `settings` holds the defaults, except the colour dialog's saved
// colours and choices, which keep what was read before the fault (they are stored as read).
SettingsReadResult readSettingsFile(const QString& path, MakerSettings& settings);
SettingsReadResult parseSettings(const QByteArray& text, MakerSettings& settings);

// The file's text; `htmlIndent` is the menu item's check mark at the time of writing.
QByteArray serializeSettings(const MakerSettings& settings, bool htmlIndent);

// Replaces the file whole.
FileResult writeSettingsFile(const QString& path, const MakerSettings& settings, bool htmlIndent);

// Keeps a window on a screen of the given size: moved up or left so that the far edge of its
// frame is on the screen, never above or left of it.
void keepOnScreen(TwipsRect& rect, qint32 screenWidth, qint32 screenHeight,
                  const FrameMargins& frame = {});

// Message texts of the settings file.
QString settingsReadWarningText();
// The path followed by the reason for the file error number.
QString settingsWriteWarningText(const QString& path, int errorNumber);

} // namespace quillo::maker
