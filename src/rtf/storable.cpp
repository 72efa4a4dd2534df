#include "rtf/storable.h"

#include "rtf/picture.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <vector>

namespace quillo::rtf {
namespace {

void takeLayoutOf(QTextDocument& doc, const QTextDocument& target) {
    doc.setDefaultFont(target.defaultFont());
    doc.setIndentWidth(target.indentWidth());
    doc.setTextWidth(target.textWidth());
}

// The positions of the pictures in the document, with their formats.
std::vector<std::pair<int, QTextImageFormat>> picturesOf(const QTextDocument& doc) {
    std::vector<std::pair<int, QTextImageFormat>> pictures;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                for (int i = 0; i < fragment.length(); ++i)
                    pictures.emplace_back(fragment.position() + i,
                                          fragment.charFormat().toImageFormat());
        }
    return pictures;
}

} // namespace

QTextDocumentFragment storableFragment(const QTextDocumentFragment& fragment, QTextDocument& target,
                                       const QString& family) {
    QTextDocument pasted;
    takeLayoutOf(pasted, target);
    if (!family.isEmpty()) {
        QFont font = pasted.defaultFont();
        font.setFamilies({family});
        pasted.setDefaultFont(font);
    }
    QTextCursor(&pasted).insertFragment(fragment);
    const auto pictures = picturesOf(pasted);
    for (auto it = pictures.rbegin(); it != pictures.rend(); ++it) {
        // A picture copied from a page is a resource of the page it goes back into.
        const QUrl name(it->second.name());
        if (pasted.resource(QTextDocument::ImageResource, name).isNull())
            pasted.addResource(QTextDocument::ImageResource, name,
                               target.resource(QTextDocument::ImageResource, name));
        if (pictureOf(pasted, it->second).kind != PictureKind::None)
            continue;
        QTextCursor picture(&pasted);
        picture.setPosition(it->first);
        picture.setPosition(it->first + 1, QTextCursor::KeepAnchor);
        picture.removeSelectedText();
    }
    return fragmentFromRtf(writeRtf(pasted), target);
}

QTextDocumentFragment fragmentFromRtf(QByteArrayView rtf, QTextDocument& target) {
    QTextDocument stored;
    takeLayoutOf(stored, target);
    readRtf(rtf, stored);
    for (const auto& picture : picturesOf(stored)) {
        const QUrl name(picture.second.name());
        target.addResource(QTextDocument::ImageResource, name,
                           stored.resource(QTextDocument::ImageResource, name));
    }
    return QTextDocumentFragment(&stored);
}

} // namespace quillo::rtf
