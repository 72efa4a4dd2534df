#pragma once

#include "core/helpdocument.h"

#include <QString>
#include <QStringList>

#include <functional>

// Opening help at a topic: what an application asks for on the viewer's command line
// (--page N, --title TEXT, --keyword TEXT before the file), and where in a document it is.
namespace quillo::viewer {

struct HelpTopic {
    enum class Kind { None, Page, Title, Keyword };
    Kind kind = Kind::None;
    QString text;
    bool operator==(const HelpTopic&) const = default;
};

struct ViewerCommandLine {
    QString path;
    HelpTopic topic;
};

// The viewer's command line. A line that names an existing file as a whole is that file, as it
// always was; so is any line that does not start with a topic option and its value.
ViewerCommandLine parseViewerCommandLine(const QStringList& argumentsAfterProgram,
                                         const std::function<bool(const QString&)>& fileExists);

// Where a topic is: its page (0 when the document has no such topic) and, for a keyword,
// whether several pages carry it.
struct TopicPlace {
    int page = 0;
    bool onSeveralPages = false;
};
TopicPlace findTopic(const HelpDocument& doc, const HelpTopic& topic);

// The topic as one line for the viewer that already shows the file, and back.
QByteArray topicMessage(const HelpTopic& topic);
HelpTopic topicFromMessage(const QByteArray& line);

} // namespace quillo::viewer
