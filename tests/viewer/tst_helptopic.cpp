#include "support/scripteddialogs.h"
#include "support/viewerfiles.h"
#include "viewer/helpchannel.h"
#include "viewer/helptopic.h"
#include "viewer/viewerwindow.h"

#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quillo;
using namespace quillo::viewer;
using namespace quillo::test;
using Kind = HelpTopic::Kind;

Q_DECLARE_METATYPE(quillo::viewer::HelpTopic::Kind)

namespace {

// Pages "one" to "four"; titles on pages 2 and 3; the keyword "Setup" on pages 2 and 4 and
// "Only" on page 3.
std::unique_ptr<HelpDocument> topicDocument() {
    auto doc = documentOf({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
                           QStringLiteral("four")});
    doc->page(2).title = QStringLiteral("Install");
    doc->page(3).title = QStringLiteral("Printing");
    doc->page(2).keywords = {QStringLiteral("Setup")};
    doc->page(3).keywords = {QStringLiteral("Only")};
    doc->page(4).keywords = {QStringLiteral("Setup")};
    return doc;
}

} // namespace

// Applications open their help at a topic.
class TestHelpTopic : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_dialogs.clear();
    }
    void cleanup() {
        m_window.reset();
        QCOMPARE(m_dialogs.unexpectedCount(), 0);
        QVERIFY(m_dialogs.scriptDone());
    }

    void commandLines_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("existing"); // a file that exists, besides help.qzd
        QTest::addColumn<QString>("path");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain file") << QStringList{"help.qzd"} << ""
                                    << "help.qzd" << Kind::None << "";
        QTest::newRow("path with blanks") << QStringList{"\"my", "help.qzd\""} << ""
                                          << "my help.qzd" << Kind::None << "";
        QTest::newRow("page") << QStringList{"--page", "3", "help.qzd"} << ""
                              << "help.qzd" << Kind::Page << "3";
        QTest::newRow("title, quoted path with blanks")
            << QStringList{"--title", "Install it", "\"my", "help.qzd\""} << ""
            << "my help.qzd" << Kind::Title << "Install it";
        QTest::newRow("keyword") << QStringList{"--keyword", "Setup", "help.qzd"} << ""
                                 << "help.qzd" << Kind::Keyword << "Setup";
        // A file whose whole name looks like options keeps today's meaning.
        QTest::newRow("existing file named like options")
            << QStringList{"--page", "3", "x.qzd"} << "--page 3 x.qzd"
            << "--page 3 x.qzd" << Kind::None << "";
        QTest::newRow("option without a file") << QStringList{"--page", "3"} << ""
                                               << "--page 3" << Kind::None << "";
        QTest::newRow("unknown option") << QStringList{"--topic", "3", "help.qzd"} << ""
                                        << "--topic 3 help.qzd" << Kind::None << "";
    }
    void commandLines() {
        QFETCH(QStringList, args);
        QFETCH(QString, existing);
        QFETCH(QString, path);
        QFETCH(Kind, kind);
        QFETCH(QString, text);
        const ViewerCommandLine line = parseViewerCommandLine(args, [&](const QString& p) {
            return p == QLatin1String("help.qzd") || p == existing;
        });
        QCOMPARE(line.path, path);
        QCOMPARE(line.topic.kind, kind);
        QCOMPARE(line.topic.text, text);
        if (kind != Kind::None)
            QCOMPARE(topicFromMessage(topicMessage(line.topic)), line.topic);
    }

    void topicsInADocument_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("several");
        QTest::newRow("page 4") << Kind::Page << "4" << 4 << false;
        QTest::newRow("page 5 of 4") << Kind::Page << "5" << 0 << false;
        QTest::newRow("page text") << Kind::Page << "two" << 0 << false;
        QTest::newRow("title") << Kind::Title << "Printing" << 3 << false;
        QTest::newRow("title in other case") << Kind::Title << "install" << 2 << false;
        QTest::newRow("unknown title") << Kind::Title << "Nothing" << 0 << false;
        QTest::newRow("keyword on one page") << Kind::Keyword << "Only" << 3 << false;
        QTest::newRow("keyword on two pages") << Kind::Keyword << "setup" << 2 << true;
        QTest::newRow("unknown keyword") << Kind::Keyword << "Nope" << 0 << false;
    }
    void topicsInADocument() {
        QFETCH(Kind, kind);
        QFETCH(QString, text);
        QFETCH(int, page);
        QFETCH(bool, several);
        const TopicPlace place = findTopic(*topicDocument(), HelpTopic{kind, text});
        QCOMPARE(place.page, page);
        QCOMPARE(place.onSeveralPages, several);
    }

    // The window shows each topic as a user's choice would; an unknown one never blocks.
    void windowShowsTopics() {
        start();
        m_window->showTopic({Kind::Title, QStringLiteral("Printing")});
        QCOMPARE(m_window->currentPage(), 3);
        QCOMPARE(contentsList()->currentRow(), 2);
        m_window->showTopic({Kind::Keyword, QStringLiteral("Setup")});
        QCOMPARE(m_window->currentPage(), 2);
        QCOMPARE(m_window->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->currentIndex(), 1);
        auto* keywords = m_window->findChild<QListWidget*>(QStringLiteral("List2"));
        QCOMPARE(keywords->currentItem()->text(), QStringLiteral("Setup"));
        m_window->showTopic({Kind::Page, QStringLiteral("9")});
        QCOMPARE(m_window->currentPage(), 1);
        QCOMPARE(m_window->statusNote(),
                 QStringLiteral("「9」が見つかりません。1ﾍﾟｰｼﾞ目を表示します。"));
        QVERIFY(m_dialogs.calls().isEmpty());
        // Topics are page changes the reader can go back from.
        QVERIFY(m_window->history().canGoBack());
    }

    // A second call with a topic goes to the window that shows the file, and ends.
    void secondCallReusesTheWindow() {
        start();
        QVERIFY(m_window->answersTopicCalls());
        for (const auto& [args, page] : {std::pair{QStringList{"--page", "3"}, 3},
                                         std::pair{QStringList{"--title", "Install"}, 2}}) {
            QProcess call;
            call.start(QStringLiteral(QUILLO_BIN_DIR "/qzd32"), args + QStringList{m_path});
            QTRY_COMPARE_WITH_TIMEOUT(m_window->currentPage(), page, 20000);
            QTRY_COMPARE_WITH_TIMEOUT(call.state(), QProcess::NotRunning, 20000);
            QCOMPARE(call.exitStatus(), QProcess::NormalExit);
            QCOMPARE(call.exitCode(), 0);
        }
        // The name is the user's, the display's and the file's: another file has another.
        QVERIFY(HelpChannel::channelName(m_path) !=
                HelpChannel::channelName(m_dir->filePath(QStringLiteral("other.qzd"))));
    }

private:
    void start() {
        m_path = m_dir->filePath(QStringLiteral("topics.qzd"));
        QVERIFY(saveHelpFile(m_path, *topicDocument()).ok());
        m_window = std::make_unique<ViewerWindow>(m_dialogs);
        m_window->startUp(m_path);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    QListWidget* contentsList() const {
        return m_window->findChild<QListWidget*>(QStringLiteral("List1"));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<ViewerWindow> m_window;
    QString m_path;
};

QTEST_MAIN(TestHelpTopic)
#include "tst_helptopic.moc"
