#include "rtf/docwalk.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <unordered_map>

namespace quillo::rtf {

std::vector<DocParagraph> paragraphsOf(const QTextDocument& doc) {
    std::vector<DocParagraph> paras;
    std::unordered_map<const QTextList*, int> sequences;
    const QFont defaultFont = doc.defaultFont();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        DocParagraph para;
        const QTextList* list = block.textList();
        const QTextListFormat listFormat = list ? list->format() : QTextListFormat();
        para.style =
            paraStyleOf(block.blockFormat(), list ? &listFormat : nullptr, doc.indentWidth());
        if (list)
            para.style.listSequence =
                sequences.try_emplace(list, int(sequences.size()) + 1).first->second;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const TextStyle style = textStyleOf(format, defaultFont);
            if (format.isImageFormat()) {
                const Picture picture = pictureOf(doc, format.toImageFormat());
                for (qsizetype i = 0; i < fragment.length(); ++i)
                    para.runs.push_back(DocRun{style, QString(), picture});
                continue;
            }
            if (!para.runs.empty() && !para.runs.back().picture && para.runs.back().style == style)
                para.runs.back().text += fragment.text();
            else
                para.runs.push_back(DocRun{style, fragment.text(), std::nullopt});
        }
        paras.push_back(std::move(para));
    }
    return paras;
}

} // namespace quillo::rtf
