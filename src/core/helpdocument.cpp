#include "helpdocument.h"

#include <algorithm>

namespace quillo {

void DisplaySettings::applyWriteDefaults() {
    if (windowTop < 1)
        windowTop = 200;
    if (windowLeft < 1)
        windowLeft = 200;
    if (windowHeight < 1000)
        windowHeight = 6500;
    if (windowWidth < 1000)
        windowWidth = 9000;
    if (listWidth < 300)
        listWidth = 2000;
}

void HelpDocument::clear() {
    pages.clear();
    filePath.clear();
    displaySettings = DisplaySettings{};
}

static qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

QString fileTitleOf(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

QString fileDirectoryOf(const QString& path) {
    return path.left(lastSeparator(path) + 1);
}

} // namespace quillo
