#pragma once

#include "winsvc/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

namespace quillo::test {

// The tests' Dialogs: answers come from a script the test queues beforehand, every call is
// recorded with its texts, and a prompt the test did not script fails the running test
// (it is answered with Cancel / an empty file name so that nothing is lost), so that no
// modal box ever blocks and no unexpected message goes unnoticed.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Ask, OpenFile, SaveFile, ShellOpen, Beep };

    struct Call {
        Kind kind = Kind::Ask;
        QString title; // message title or dialog caption
        QString text;  // message text; for file dialogs the folder; for shellOpen the target
        Icon icon = Icon::Information;
        Buttons buttons = Buttons::Ok;
        QString filter;
        QStringList arguments;
        bool scripted = true;
    };

    // Queue the reply to the next prompt of that kind, in the order the prompts come.
    void answerNext(Answer answer);
    void chooseFileNext(const QString& path); // Open or Save; empty = cancel
    // What shellOpen reports (it never opens anything); success unless set.
    void setShellOpenResult(int result) { m_shellResult = result; }

    Answer ask(QWidget* parent, const QString& title, const QString& text, Icon icon,
               Buttons buttons) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    int shellOpen(const QString& target, const QStringList& arguments) override;
    using Dialogs::shellOpen;
    void beep() override;

    const QList<Call>& calls() const { return m_calls; }
    // The message boxes shown, in order.
    QList<Call> messages() const;
    int unexpectedCount() const { return m_unexpected; }
    // True when every queued reply was consumed.
    bool scriptDone() const { return m_replies.empty(); }
    void clear();

private:
    struct Reply {
        bool isFile = false;
        Answer answer = Answer::Cancel;
        QString path;
    };
    bool takeReply(bool wantFile, Reply& reply, const Call& call);
    QString fileDialog(Kind kind, const QString& caption, const QString& dir,
                       const QString& filter);

    std::deque<Reply> m_replies;
    QList<Call> m_calls;
    int m_unexpected = 0;
    int m_shellResult = ShellOpenOk;
};

} // namespace quillo::test
