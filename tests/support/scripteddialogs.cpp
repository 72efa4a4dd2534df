#include "support/scripteddialogs.h"

#include <QTest>

namespace quillo::test {

void ScriptedDialogs::answerNext(Answer answer) {
    m_replies.push_back({false, answer, {}});
}

void ScriptedDialogs::chooseFileNext(const QString& path) {
    m_replies.push_back({true, Answer::Cancel, path});
}

bool ScriptedDialogs::takeReply(bool wantFile, Reply& reply, const Call& call) {
    if (!m_replies.empty() && m_replies.front().isFile == wantFile) {
        reply = m_replies.front();
        m_replies.pop_front();
        return true;
    }
    ++m_unexpected;
    m_calls.last().scripted = false;
    const QByteArray what =
        QStringLiteral("unscripted %1: title \"%2\", text \"%3\"")
            .arg(wantFile ? QStringLiteral("file dialog") : QStringLiteral("message box"),
                 call.title, call.text)
            .toUtf8();
    QTest::qFail(what.constData(), __FILE__, __LINE__);
    return false;
}

Dialogs::Answer ScriptedDialogs::ask(QWidget*, const QString& title, const QString& text, Icon icon,
                                     Buttons buttons) {
    Call call;
    call.kind = Kind::Ask;
    call.title = title;
    call.text = text;
    call.icon = icon;
    call.buttons = buttons;
    m_calls.append(call);
    Reply reply;
    if (!takeReply(false, reply, call))
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    return reply.answer;
}

QString ScriptedDialogs::fileDialog(Kind kind, const QString& caption, const QString& dir,
                                    const QString& filter) {
    Call call;
    call.kind = kind;
    call.title = caption;
    call.text = dir;
    call.filter = filter;
    m_calls.append(call);
    Reply reply;
    if (!takeReply(true, reply, call))
        return {};
    return reply.path;
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& caption, const QString& dir,
                                      const QString& filter) {
    return fileDialog(Kind::OpenFile, caption, dir, filter);
}

QString ScriptedDialogs::saveFileName(QWidget*, const QString& caption, const QString& dir,
                                      const QString& filter) {
    return fileDialog(Kind::SaveFile, caption, dir, filter);
}

int ScriptedDialogs::shellOpen(const QString& target, const QStringList& arguments) {
    Call call;
    call.kind = Kind::ShellOpen;
    call.text = target;
    call.arguments = arguments;
    m_calls.append(call);
    return m_shellResult;
}

void ScriptedDialogs::beep() {
    Call call;
    call.kind = Kind::Beep;
    m_calls.append(call);
}

QList<ScriptedDialogs::Call> ScriptedDialogs::messages() const {
    QList<Call> result;
    for (const Call& call : m_calls)
        if (call.kind == Kind::Ask)
            result.append(call);
    return result;
}

void ScriptedDialogs::clear() {
    m_replies.clear();
    m_calls.clear();
    m_unexpected = 0;
    m_shellResult = ShellOpenOk;
}

} // namespace quillo::test
