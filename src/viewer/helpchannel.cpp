#include "viewer/helpchannel.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace quillo::viewer {

namespace {

constexpr int ConnectMs = 1000;
constexpr int AnswerMs = 5000;
const QByteArray Taken = "ok\n";

// Whether a viewer answers on `name` now.
bool someoneAnswers(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(ConnectMs);
}

} // namespace

HelpChannel::HelpChannel(QObject* parent) : QObject(parent) {}

QString HelpChannel::channelName(const QString& path) {
    const QFileInfo info(path);
    const QString file =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(qulonglong(::getuid())) + '\n' + display.toUtf8() + '\n' +
                 file.toUtf8());
    return QStringLiteral("quillo32-help-") + QString::fromLatin1(hash.result().toHex().left(32));
}

void HelpChannel::listen(const QString& path) {
    delete m_server;
    m_server = nullptr;
    const QString name = channelName(path);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        // A socket left by a viewer that ended without removing it is taken over; a live one
        // belongs to the viewer that showed the file first.
        if (someoneAnswers(name) || !QLocalServer::removeServer(name) || !server->listen(name)) {
            delete server;
            return;
        }
    }
    m_server = server;
    connect(server, &QLocalServer::newConnection, this, &HelpChannel::onConnection);
}

bool HelpChannel::isListening() const {
    return m_server && m_server->isListening();
}

void HelpChannel::onConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > 4096)
                    socket->abort(); // not one of ours
                return;
            }
            const HelpTopic topic = topicFromMessage(socket->readLine(4096));
            socket->write(Taken);
            socket->flush();
            socket->disconnectFromServer();
            if (topic.kind != HelpTopic::Kind::None)
                emit topicRequested(topic);
        });
    }
}

bool HelpChannel::sendTopic(const QString& path, const HelpTopic& topic) {
    QLocalSocket socket;
    socket.connectToServer(channelName(path));
    if (!socket.waitForConnected(ConnectMs))
        return false;
    socket.write(topicMessage(topic));
    if (!socket.waitForBytesWritten(ConnectMs))
        return false;
    while (!socket.canReadLine() && socket.waitForReadyRead(AnswerMs)) {
    }
    return socket.readLine() == Taken;
}

} // namespace quillo::viewer
