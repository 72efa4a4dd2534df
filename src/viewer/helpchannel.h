#pragma once

#include "viewer/helptopic.h"

#include <QObject>

class QLocalServer;

namespace quillo::viewer {

// How a second call of the viewer with a topic reaches the viewer that already shows that
// file for the same user on the same display, so that an application pressing F1 again and
// again leaves one help window. The viewer showing a file answers on a local socket named
// after the user, the display and the file; only the same user can connect to it.
class HelpChannel : public QObject {
    Q_OBJECT
public:
    explicit HelpChannel(QObject* parent = nullptr);

    // The socket name for `path`, for this user on this display.
    static QString channelName(const QString& path);
    // Answers calls about `path` from now on (a file was opened), and no longer about the file
    // before. A file another viewer already answers for is left to that viewer.
    void listen(const QString& path);
    bool isListening() const;
    // Hands `topic` to the viewer that shows `path`; true when one took it.
    static bool sendTopic(const QString& path, const HelpTopic& topic);

signals:
    void topicRequested(const quillo::viewer::HelpTopic& topic);

private:
    void onConnection();

    QLocalServer* m_server = nullptr;
};

} // namespace quillo::viewer
