#include "core/helpdocument.h"
#include "maker/common/shelltexts.h"
#include "maker/shell/shelllogic.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace quillo;
using namespace quillo::maker;

class TestShellLogic : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void windowTitle() {
        QCOMPARE(makerWindowTitle(QStringLiteral("新規ファイル"), 1, 1),
                 QStringLiteral("Quillo32Maker  新規ファイル Page 1 / 1"));
        QCOMPARE(makerWindowTitle(QStringLiteral("/h/a.qzd"), 12, 100),
                 QStringLiteral("Quillo32Maker  /h/a.qzd Page 12 / 100"));
    }

    void fileTitle_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("title");
        const QString ten = QStringLiteral("/a/b/c/d/e/f/g/h/i/guide.qzd");
        QTest::newRow("ten separators") << ten << true << QStringLiteral("guide.qzd");
        QTest::newRow("eleven") << (QStringLiteral("/x") + ten) << false << QString();
        QTest::newRow("backslashes count")
            << QStringLiteral("a\\b/c.qzd") << true << QStringLiteral("c.qzd");
        QTest::newRow("no folder") << QStringLiteral("c.qzd") << true << QStringLiteral("c.qzd");
    }
    void fileTitle() {
        QFETCH(QString, path);
        QFETCH(bool, readable);
        QFETCH(QString, title);
        const std::optional<QString> result = fileTitleWithin(path);
        QCOMPARE(result.has_value(), readable);
        if (readable)
            QCOMPARE(*result, title);
    }

    void ruler_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << QStringLiteral("0");
        QTest::newRow("three") << 3 << QStringLiteral("0･･･");
        QTest::newRow("one ten") << 10 << QStringLiteral("0････+････1");
        QTest::newRow("two tens") << 20 << QStringLiteral("0････+････1････+････2");
        QTest::newRow("part of a ten") << 13 << QStringLiteral("0････+････1･･･");
    }
    void ruler() {
        QFETCH(int, columns);
        QFETCH(QString, text);
        QCOMPARE(rulerText(columns), text);
        QCOMPARE(rulerText(columns).size(), columns + 1);
        QVERIFY(rulerText(100).endsWith(QStringLiteral("9････+････0"))); // tens wrap to 0
    }

    void rulerColumnCount() {
        QCOMPARE(rulerColumns(6790, 105), 61); // (6790 - 200) / 105 - 1 = 61.76
        QCOMPARE(rulerColumns(6790, 0), 0);
    }

    void fontTable() {
        // The last of equal names stays; the order is collated, not by character codes
        // (which would put "ab" after "Mincho").
        const FontTable table = buildFontTable({QStringLiteral("Bb"), QStringLiteral("ab"),
                                                QStringLiteral("Bb"), QStringLiteral("@Mincho"),
                                                QStringLiteral("Aa"), QStringLiteral("Mincho")});
        QVERIFY(!table.overflowed);
        QStringList letters = table.names;
        letters.removeAll(QStringLiteral("@Mincho"));
        QCOMPARE(letters, (QStringList{QStringLiteral("Aa"), QStringLiteral("ab"),
                                       QStringLiteral("Bb"), QStringLiteral("Mincho")}));
        QCOMPARE(table.names.size(), 5);
    }

    void fontTableOverflow() {
        QStringList many;
        for (int i = 0; i < 520; ++i)
            many << QStringLiteral("Font%1").arg(i);
        const FontTable table = buildFontTable(many);
        QVERIFY(table.overflowed);
        QCOMPARE(table.names.size(), 501);
        QVERIFY(!buildFontTable(many.mid(0, 501)).overflowed);
    }

    void saveFailureTexts() {
        WriteResult unencodable;
        unencodable.status = WriteStatus::Unencodable;
        unencodable.page = 3;
        unencodable.keywordSlot = 2;
        unencodable.character = QChar(0x00E9);
        QCOMPARE(saveFailureText(QStringLiteral("/h/a.qzd"), unencodable),
                 QStringLiteral("ページ 3 のキーワード 2に、ファイルに保存できない文字「é」が"
                                "あります。\n文字を変更してから保存して下さい。"));
        // Refused saves name what refused them: the file, its folder, or a folder standing
        // where the file should be.
        QTemporaryDir dir;
        const QString readOnly = dir.filePath(QStringLiteral("ro.qzd"));
        QFile(readOnly).open(QIODevice::WriteOnly);
        QFile::setPermissions(readOnly, QFile::ReadOwner);
        const QString inFolder = dir.filePath(QStringLiteral("new.qzd"));
        const QString folderInTheWay = dir.filePath(QStringLiteral("taken.qzd"));
        QDir(dir.path()).mkdir(QStringLiteral("taken.qzd"));
        WriteResult denied;
        denied.status = WriteStatus::WriteFailed;
        denied.file.errorNumber = 70;
        QCOMPARE(saveFailureText(readOnly, denied),
                 readOnly + QStringLiteral(" は書込み禁止ファイルです。\n"
                                           "ライトプロテクトを解除してから保存して下さい。"));
        QCOMPARE(saveFailureText(inFolder, denied),
                 dir.path() + QStringLiteral(" は書込み禁止フォルダです。\n"
                                             "書込みできるフォルダを選んで保存して下さい。"));
        WriteResult access = denied;
        access.file.errorNumber = 75;
        QCOMPARE(saveFailureText(folderInTheWay, access),
                 folderInTheWay + QStringLiteral(" はフォルダです。\n"
                                                 "別のファイル名を付けて保存して下さい。"));
        QCOMPARE(saveFailureText(inFolder, access),
                 inFolder + QStringLiteral(" を保存できませんでした。\nERR =  75"));
        WriteResult full = denied;
        full.file.errorNumber = 61;
        QVERIFY(saveFailureText(QStringLiteral("/tmp/a.qzd"), full)
                    .endsWith(QStringLiteral(" ディスクの空き容量が不足です。")));
    }
};

QTEST_MAIN(TestShellLogic)
#include "tst_shelllogic.moc"
