#pragma once

#include "maker/entries/entrydialog.h"
#include "maker/entries/entrysession.h"
#include "maker/shell/mainwindow.h"
#include "support/scripteddialogs.h"
#include "winsvc/richtextcontrol.h"

#include <QAction>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

// Starts authoring windows for a test in a temporary program folder, with scripted
// dialogs, and drives them the way a user does: menu items, toolbar buttons, keys.
class MakerFixture {
public:
    void setUp() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(home()));
        qputenv("QUILLO_HOME", home().toLocal8Bit());
        m_dialogs = std::make_unique<quillo::test::ScriptedDialogs>();
    }

    // Deletes the windows; fails on a prompt the test did not script or left unused.
    void tearDown() {
        qDeleteAll(m_windows);
        m_windows.clear();
        QCOMPARE(m_dialogs->unexpectedCount(), 0);
        QVERIFY(m_dialogs->scriptDone());
    }

    QString home() const { return m_dir->path() + QStringLiteral("/home"); }
    QString file(const QString& name) const { return m_dir->path() + '/' + name; }
    quillo::test::ScriptedDialogs& dialogs() { return *m_dialogs; }

    QString ini() const { return home() + QStringLiteral("/qzd32mk.ini"); }
    QString recentIni() const { return home() + QStringLiteral("/qzd32mkf.ini"); }

    // A window that has not started up yet, seeing `fonts` as the screen's fonts.
    quillo::maker::MakerMainWindow* makeWindow(
        const QStringList& fonts = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                    QStringLiteral("IPAMincho")}) {
        quillo::maker::MakerEnvironment env;
        env.programFolder = home();
        env.outputFolder = home();
        env.lockFolder = m_dir->path() + QStringLiteral("/locks");
        env.viewerProgram = m_dir->path() + QStringLiteral("/bin/qzd32");
        env.helpFile = m_dir->path() + QStringLiteral("/bin/qzd32.qzd");
        env.screenFonts = fonts;
        auto* window = new quillo::maker::MakerMainWindow(*m_dialogs, env);
        m_windows << window;
        return window;
    }
    // A started window; null when its start-up ended the program.
    quillo::maker::MakerMainWindow* start(const QString& commandLine = {}) {
        quillo::maker::MakerMainWindow* window = makeWindow();
        if (!window->startUp(commandLine))
            return nullptr;
        return window;
    }

    quillo::maker::MakerMainWindow* lastWindow() const { return m_windows.last(); }

    static void trigger(quillo::maker::MakerMainWindow* window, const char* name) {
        QAction* action = window->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action, name);
        QVERIFY2(action->isEnabled(), name);
        action->trigger();
    }
    static QToolButton* button(quillo::maker::MakerMainWindow* window, const char* key) {
        return window->findChild<QToolButton*>(QString::fromLatin1(key));
    }
    static void click(quillo::maker::MakerMainWindow* window, const char* key) {
        QToolButton* b = button(window, key);
        QVERIFY2(b, key);
        QVERIFY2(b->isEnabled(), key);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static void type(quillo::maker::MakerMainWindow* window, const QString& text) {
        window->editor()->setFocus();
        window->editor()->insertPlainText(text);
    }

    // The open entry dialog of the window; null when none is open.
    static quillo::maker::EntryDialog* entryDialog(quillo::maker::MakerMainWindow* window) {
        return window->entrySession()->dialog();
    }
    // Closes the open entry dialog with Esc, keeping what its command added.
    static void escapeEntryDialog(quillo::maker::MakerMainWindow* window) {
        quillo::maker::EntryDialog* dialog = entryDialog(window);
        QVERIFY(dialog);
        QTest::keyClick(dialog->textBox(), Qt::Key_Escape);
        QVERIFY(!entryDialog(window));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<quillo::test::ScriptedDialogs> m_dialogs;
    QList<quillo::maker::MakerMainWindow*> m_windows;
};
