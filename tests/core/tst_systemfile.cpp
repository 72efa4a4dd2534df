#include "core/helpdocument.h"
#include "core/helpfile.h"
#include "core/systemfile.h"

#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>

using namespace quillo;

namespace {

// The names in a folder as the system stores them.
QList<QByteArray> namesIn(const QString& folder) {
    QList<QByteArray> names;
    DIR* dir = ::opendir(folder.toUtf8().constData());
    while (const dirent* e = dir ? ::readdir(dir) : nullptr)
        if (e->d_name[0] != '.')
            names.append(e->d_name);
    if (dir)
        ::closedir(dir);
    return names;
}

} // namespace

class TestSystemFile : public QObject {
    Q_OBJECT
private slots:
    void namesSurviveTheRoundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("ascii") << QByteArray("/home/a/help.qzd") << true;
        QTest::newRow("japanese utf-8")
            << QByteArray("/tmp/\xe3\x83\x98\xe3\x83\xab\xe3\x83\x97.qzd") << true;
        QTest::newRow("4-byte utf-8") << QByteArray("/tmp/\xf0\x9f\x98\x80.qzd") << true;
        QTest::newRow("shift_jis") << QByteArray("/tmp/\x83\x65\x83\x58\x83\x67.qzd") << false;
        QTest::newRow("stray byte") << QByteArray("bad\xff.qzd") << false;
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf"
                                                      "b")
                                        << false;
        QTest::newRow("encoded surrogate") << QByteArray("a\xed\xa0\x80"
                                                         "b")
                                           << false;
        QTest::newRow("cut sequence at end") << QByteArray("a\xe3\x81") << false;
        QTest::newRow("above U+10FFFF") << QByteArray("a\xf4\x90\x80\x80") << false;
    }
    void namesSurviveTheRoundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        const QString name = pathFromSystem(bytes);
        QCOMPARE(systemPath(name), bytes);
        // A UTF-8 name reads as Qt reads it; any other keeps no replacement character, so
        // two different names never read the same.
        if (utf8)
            QCOMPARE(name, QString::fromUtf8(bytes));
        else
            QVERIFY(!name.contains(QChar(0xFFFD)));
    }

    void argumentsKeepTheirBytes() {
        const char* argv[] = {"qzd32", "/tmp/\x83\x65.qzd", "plain"};
        const QStringList args = argumentsFromSystem(3, argv);
        QCOMPARE(args.size(), 2);
        QCOMPARE(systemPath(args[0]), QByteArray("/tmp/\x83\x65.qzd"));
        QCOMPARE(args[1], QStringLiteral("plain"));
    }

    // A help file whose name is in Shift_JIS bytes is saved, read and saved again under
    // that same name, and no other file appears beside it.
    void helpFileUnderANameThatIsNotUtf8() {
        QTemporaryDir dir;
        const QByteArray raw = "\x83\x65\x83\x58\x83\x67.qzd";
        const QString path = dir.path() + QLatin1Char('/') + pathFromSystem(raw);
        auto doc = std::make_unique<HelpDocument>();
        doc->pages.append(HelpPage{QByteArray("{\\rtf1 x}"), QStringLiteral("t"), {}});
        QVERIFY(saveHelpFile(path, *doc).ok());
        QVERIFY(pathExists(path));
        QCOMPARE(namesIn(dir.path()), QList<QByteArray>{raw});

        auto again = std::make_unique<HelpDocument>();
        QVERIFY(readHelpFile(path, *again, Reader::Viewer).ok());
        QCOMPARE(again->page(1).title, std::optional<QString>(QStringLiteral("t")));
        QVERIFY(saveHelpFile(path, *again).ok());
        QCOMPARE(namesIn(dir.path()), QList<QByteArray>{raw});
    }
};

QTEST_MAIN(TestSystemFile)
#include "tst_systemfile.moc"
