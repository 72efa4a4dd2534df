#include "viewer/pagezoom.h"

#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>

namespace quillo::viewer {

namespace {

constexpr std::array Steps{50, 67, 75, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400};

} // namespace

int zoomedIn(int percent) {
    const auto next = std::upper_bound(Steps.begin(), Steps.end(), percent);
    return next == Steps.end() ? ZoomLargest : *next;
}

int zoomedOut(int percent) {
    const auto below = std::lower_bound(Steps.begin(), Steps.end(), percent);
    return below == Steps.begin() ? ZoomSmallest : *(below - 1);
}

void scaleShownPage(QTextDocument& doc, int percent) {
    if (percent == ZoomNormal)
        return;
    const double factor = percent / 100.0;
    const double defaultSize = doc.defaultFont().pointSizeF();
    struct Run {
        int position;
        int length;
        QTextCharFormat format;
    };
    QList<Run> runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            const double size = format.hasProperty(QTextFormat::FontPointSize)
                                    ? format.fontPointSize()
                                    : defaultSize;
            if (size > 0)
                format.setFontPointSize(size * factor);
            if (format.isImageFormat()) {
                QTextImageFormat image = format.toImageFormat();
                if (image.width() > 0)
                    image.setWidth(image.width() * factor);
                if (image.height() > 0)
                    image.setHeight(image.height() * factor);
                format = image;
            }
            runs.append({fragment.position(), fragment.length(), format});
        }
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    for (const Run& run : runs) {
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.format);
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

} // namespace quillo::viewer
