#include "viewer/helptopic.h"

#include "winsvc/appenv.h"

namespace quillo::viewer {

namespace {

struct Option {
    const char* name;
    HelpTopic::Kind kind;
};
constexpr Option Options[] = {{"--page", HelpTopic::Kind::Page},
                              {"--title", HelpTopic::Kind::Title},
                              {"--keyword", HelpTopic::Kind::Keyword}};

HelpTopic::Kind kindOf(const QString& option) {
    for (const Option& o : Options)
        if (option == QLatin1String(o.name))
            return o.kind;
    return HelpTopic::Kind::None;
}

const char* nameOf(HelpTopic::Kind kind) {
    for (const Option& o : Options)
        if (o.kind == kind)
            return o.name;
    return "";
}

} // namespace

ViewerCommandLine parseViewerCommandLine(const QStringList& argumentsAfterProgram,
                                         const std::function<bool(const QString&)>& fileExists) {
    const QString whole = commandLinePath(argumentsAfterProgram);
    const HelpTopic::Kind kind = kindOf(argumentsAfterProgram.value(0));
    if (kind == HelpTopic::Kind::None || argumentsAfterProgram.size() < 3 ||
        (!whole.isEmpty() && fileExists(whole)))
        return {whole, {}};
    return {commandLinePath(argumentsAfterProgram.mid(2)), {kind, argumentsAfterProgram[1]}};
}

TopicPlace findTopic(const HelpDocument& doc, const HelpTopic& topic) {
    const QString wanted = topic.text.trimmed();
    switch (topic.kind) {
    case HelpTopic::Kind::None:
        return {};
    case HelpTopic::Kind::Page: {
        bool ok = false;
        const int page = wanted.toInt(&ok);
        return {ok && doc.hasPage(page) ? page : 0, false};
    }
    case HelpTopic::Kind::Title:
        // The exact title first; an application may not know how the writer cased it.
        for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
            for (int page = 1; page <= doc.pageCount(); ++page)
                if (doc.page(page).title &&
                    doc.page(page).title->trimmed().compare(wanted, cs) == 0)
                    return {page, false};
        return {};
    case HelpTopic::Kind::Keyword: {
        TopicPlace place;
        for (int page = 1; page <= doc.pageCount(); ++page)
            for (const QString& keyword : doc.page(page).keywords)
                if (!keyword.isEmpty() && keyword.compare(wanted, Qt::CaseInsensitive) == 0) {
                    if (place.page == 0)
                        place.page = page;
                    else if (place.page != page)
                        place.onSeveralPages = true;
                }
        return place;
    }
    }
    return {};
}

QByteArray topicMessage(const HelpTopic& topic) {
    QString text = topic.text;
    text.replace(u'\n', u' ');
    return QByteArray(nameOf(topic.kind)) + ' ' + text.toUtf8() + '\n';
}

HelpTopic topicFromMessage(const QByteArray& line) {
    const QString text = QString::fromUtf8(line).chopped(line.endsWith('\n') ? 1 : 0);
    const qsizetype blank = text.indexOf(u' ');
    if (blank < 0)
        return {};
    const HelpTopic::Kind kind = kindOf(text.left(blank));
    return kind == HelpTopic::Kind::None ? HelpTopic{} : HelpTopic{kind, text.mid(blank + 1)};
}

} // namespace quillo::viewer
