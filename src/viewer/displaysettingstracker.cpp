#include "viewer/displaysettingstracker.h"

#include "core/helpfile.h"

#include <QFileInfo>

#include <memory>

namespace quillo::viewer {

void DisplaySettingsTracker::loaded(const WindowRect& rectAtLoad) {
    m_loadRect = rectAtLoad;
    m_loadListWidth = m_settings.listWidth;
    m_loadTopmost = m_settings.topmost;
    m_loadWindowState = m_settings.windowState;
}

void DisplaySettingsTracker::recordNormal(const WindowRect& current) {
    m_rectBeforeLastRecord = windowRectOf(m_settings);
    m_lastRecordedRect = current;
    storeWindowRect(m_settings, current);
    m_settings.windowState = 0;
}

void DisplaySettingsTracker::recordMaximised() {
    if (m_settings.topmost != 1)
        m_settings.windowState = 2;
}

void DisplaySettingsTracker::maximisedAt(const WindowRect& current) {
    if (m_lastRecordedRect == current)
        storeWindowRect(m_settings, m_rectBeforeLastRecord);
}

void DisplaySettingsTracker::closing(const WindowRect& current, int listWidth) {
    storeWindowRect(m_settings, current);
    m_settings.listWidth = qint16(listWidth);
}

bool DisplaySettingsTracker::changedSinceLoad() const {
    return windowRectOf(m_settings) != m_loadRect || m_settings.listWidth != m_loadListWidth ||
           m_settings.topmost != m_loadTopmost || m_settings.windowState != m_loadWindowState;
}

void writeDisplaySettingsBack(const QString& path, const DisplaySettings& s) {
    if (!QFileInfo::exists(path))
        return;
    auto current = std::make_unique<HelpDocument>();
    if (!readHelpFile(path, *current, Reader::Viewer).ok())
        return;
    DisplaySettings& out = current->displaySettings;
    storeWindowRect(out, windowRectOf(s));
    out.listWidth = s.listWidth;
    out.topmost = s.topmost;
    out.windowState = s.windowState;
    saveHelpFile(path, *current); // a read-only file stays as it is, without a message
}

} // namespace quillo::viewer
