#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace quillo {

class FileDialogPlacementHook;

// Every message box, file dialog and shell "open" of both programs goes through this
// interface. Each window receives one when it is made: the programs pass QtDialogs, the
// tests a scripted implementation that answers without ever showing a modal box.
class Dialogs {
public:
    enum class Icon { Information, Warning, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    // Result of shellOpen as the shell reports it: above 32 means success.
    static constexpr int ShellOpenOk = 42;
    static constexpr int ShellOutOfMemory = 8;
    static constexpr int ShellFileNotFound = 2;
    static constexpr int ShellCannotStart = 14;
    static bool shellOpenSucceeded(int result) { return result > 32; }

    virtual ~Dialogs() = default;

    // A modal message box; the answer names the button that closed it.
    virtual Answer ask(QWidget* parent, const QString& title, const QString& text, Icon icon,
                       Buttons buttons) = 0;
    // The Open and Save dialogs; an empty result means the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    // Opens a document or web address with the desktop's program for it, or starts a
    // program with the given arguments. A document given as a file:// address is always
    // opened, never started as a program.
    virtual int shellOpen(const QString& target, const QStringList& arguments) = 0;
    int shellOpen(const QString& target) { return shellOpen(target, {}); }
    virtual void beep() = 0;
};

// A message text whose lines carry a tab, as rich text that puts what follows the first tab
// of each line into one column, the way a Windows message box lines up such texts at its
// tab stops; a text without a tab gives an empty string (it is shown as it is).
QString alignedMessageMarkup(const QString& text);

// The real dialogs: QMessageBox, Qt's own (non-native) QFileDialog placed by the file-dialog
// placement hook at the main window's corner, QDesktopServices and QProcess.
class QtDialogs : public Dialogs {
public:
    QtDialogs();
    ~QtDialogs() override;

    Answer ask(QWidget* parent, const QString& title, const QString& text, Icon icon,
               Buttons buttons) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    int shellOpen(const QString& target, const QStringList& arguments) override;
    using Dialogs::shellOpen;
    void beep() override;

    FileDialogPlacementHook& placementHook() { return *m_hook; }

private:
    QString runFileDialog(QWidget* parent, const QString& caption, const QString& dir,
                          const QString& filter, bool save);

    std::unique_ptr<FileDialogPlacementHook> m_hook;
};

} // namespace quillo
