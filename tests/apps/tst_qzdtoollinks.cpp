#include "core/helpdocument.h"
#include "core/helpfile.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QByteArray linkedPage(const QByteArray& before, const QByteArray& text, const QByteArray& target) {
    return "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0 " + before +
           "{\\field{\\*\\fldinst{HYPERLINK \"" + target + "\"}}{\\fldrslt{" + text +
           "}}} end\\par}";
}

} // namespace

// qzdtool links, as a script or a CI job calls it.
class TestQzdtoolLinks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void listsLinksAndFailsOnMissingPages_data() {
        QTest::addColumn<QByteArray>("secondTarget");
        QTest::addColumn<int>("code");
        QTest::newRow("all pages exist") << QByteArray("#1") << 0;
        QTest::newRow("page after the last") << QByteArray("#4") << 1;
        QTest::newRow("page 0") << QByteArray("#0") << 1;
        QTest::newRow("web address") << QByteArray("https://example.org/x") << 0;
    }
    void listsLinksAndFailsOnMissingPages() {
        QFETCH(QByteArray, secondTarget);
        QFETCH(int, code);
        QTemporaryDir dir;
        auto doc = std::make_unique<quillo::HelpDocument>();
        doc->pages.resize(3);
        doc->page(1).rtf = linkedPage("see ", "the end", "#3");
        doc->page(2).rtf = "{\\rtf1\\ansi no links\\par}";
        doc->page(3).rtf = linkedPage("back ", "to start", secondTarget);
        const QString file = dir.filePath(QStringLiteral("links.qzd"));
        QVERIFY(quillo::saveHelpFile(file, *doc).ok());

        QProcess p;
        p.start(QStringLiteral(QUILLO_BIN_DIR "/qzdtool"), {QStringLiteral("links"), file});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), code);
        QCOMPARE(p.readAllStandardOutput(), "1\tthe end\t#3\n3\tto start\t" + secondTarget + "\n");
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(err.isEmpty(), code == 0);
        if (code != 0)
            QVERIFY2(err.contains("page 3: link \"to start\" to " + secondTarget), err);
    }

    void unreadableFileAndWrongArguments() {
        QProcess p;
        p.start(QStringLiteral(QUILLO_BIN_DIR "/qzdtool"),
                {QStringLiteral("links"), QStringLiteral("/nonexistent/x.qzd")});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 1);
        p.start(QStringLiteral(QUILLO_BIN_DIR "/qzdtool"), {QStringLiteral("links")});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_MAIN(TestQzdtoolLinks)
#include "tst_qzdtoollinks.moc"
