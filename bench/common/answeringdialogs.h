#pragma once

#include "winsvc/dialogs.h"

namespace quillo::bench {

// Answers as a user who reads every message: OK to a message, Yes to a question. Counts them.
class AnsweringDialogs : public Dialogs {
public:
    Answer ask(QWidget*, const QString&, const QString&, Icon, Buttons buttons) override {
        ++messages;
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    int shellOpen(const QString&, const QStringList&) override { return ShellOpenOk; }
    void beep() override {}

    int messages = 0;
};

} // namespace quillo::bench
