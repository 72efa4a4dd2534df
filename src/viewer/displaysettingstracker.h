#pragma once

#include "core/fileerror.h"
#include "core/helpdocument.h"
#include "viewer/viewerlayout.h"

#include <QString>

namespace quillo::viewer {

// Keeps a document's display settings (window position and size, list width, keep in front,
// window state) up to date with what the user does to the window, and tells at closing
// whether they differ from what was loaded, so that only a change is written back.
class DisplaySettingsTracker {
public:
    explicit DisplaySettingsTracker(DisplaySettings& settings) : m_settings(settings) {}

    DisplaySettings& settings() { return m_settings; }
    const DisplaySettings& settings() const { return m_settings; }

    // A document was loaded and its window placed at `rectAtLoad`: what closing compares.
    void loaded(const WindowRect& rectAtLoad);
    // The user resized or moved the window in the normal state to `current`.
    void recordNormal(const WindowRect& current);
    // The window was maximised; kept as the state unless the window is to stay in front,
    // which refuses it.
    void recordMaximised();
    // The desktop maximised the window at `current`. Some desktops report the maximised size
    // before the state: a size recorded just before that equals it is not the window's
    // normal size, so the one recorded before it comes back.
    void maximisedAt(const WindowRect& current);
    // The window closes in the normal state at `current` with lists `listWidth` wide.
    void closing(const WindowRect& current, int listWidth);
    // Whether anything differs from what was loaded.
    bool changedSinceLoad() const;

private:
    DisplaySettings& m_settings;
    WindowRect m_loadRect;
    qint16 m_loadListWidth = 0;
    qint16 m_loadTopmost = 0;
    qint16 m_loadWindowState = 0;
    WindowRect m_rectBeforeLastRecord;
    WindowRect m_lastRecordedRect;
};

// Writes the display settings into the help file at `path` in place, over the fields they
// take in the file as it is now, so that whatever was saved into it meanwhile is kept. A file
// that was removed, is not a help file, cannot be read or cannot be written is left alone
// and the reason returned.
FileResult writeDisplaySettingsBack(const QString& path, const DisplaySettings& settings);

} // namespace quillo::viewer
