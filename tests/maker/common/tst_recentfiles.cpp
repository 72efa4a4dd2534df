#include "core/fileerror.h"
#include "maker/common/recentfiles.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace quillo;
using namespace quillo::maker;

namespace {

QStringList paths(int n) {
    QStringList out;
    for (int i = 1; i <= n; ++i)
        out << QStringLiteral("/help/file%1.qzd").arg(i);
    return out;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestRecentFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void loadRules() {
        RecentFiles ten;
        ten.load(paths(10));
        QCOMPARE(ten.paths(), paths(8));
        QVERIFY(!ten.isDirty()); // lines past the eighth are ignored, not a change

        RecentFiles messy;
        messy.load({QStringLiteral("/a.qzd"), QString(), QStringLiteral("/b.qzd"),
                    QStringLiteral("/a.qzd"), QStringLiteral("/c, d.qzd")});
        QCOMPARE(messy.paths(), (QStringList{QStringLiteral("/a.qzd"), QStringLiteral("/b.qzd"),
                                             QStringLiteral("/c, d.qzd")}));
        QVERIFY(messy.isDirty());
    }

    void addRules() {
        RecentFiles list;
        list.load(paths(5));
        list.add(QStringLiteral("/help/file3.qzd")); // entry 3 moves to the top
        QCOMPARE(list.paths(),
                 (QStringList{QStringLiteral("/help/file3.qzd"), QStringLiteral("/help/file1.qzd"),
                              QStringLiteral("/help/file2.qzd"), QStringLiteral("/help/file4.qzd"),
                              QStringLiteral("/help/file5.qzd")}));
        QVERIFY(list.isDirty());

        RecentFiles full;
        full.load(paths(8));
        full.add(QStringLiteral("/new.qzd")); // a ninth file drops the oldest
        QCOMPARE(full.count(), 8);
        QCOMPARE(full.paths().first(), QStringLiteral("/new.qzd"));
        QVERIFY(!full.paths().contains(QStringLiteral("/help/file8.qzd")));

        full.setDirty(false);
        full.moveToTop(2);
        QCOMPARE(full.paths().first(), QStringLiteral("/help/file2.qzd"));
        QVERIFY(!full.isDirty());
        full.remove(0);
        QCOMPARE(full.count(), 7);
        QVERIFY(full.isDirty());
    }

    void files() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qzd32mkf.ini"));
        RecentFiles list;
        const RecentReadResult created = readRecentFile(path, list);
        QVERIFY(created.ok());
        QVERIFY(created.created);
        QVERIFY(QFile::exists(path));
        QCOMPARE(recentReadWarningText(created), QString());

        list.add(QStringLiteral("/b.qzd"));
        list.add(QStringLiteral("/a.qzd"));
        QCOMPARE(writeRecentFile(path, list).errorNumber, 0);
        QCOMPARE(readAll(path), QByteArray("/a.qzd\r\n/b.qzd\r\n"));
        RecentFiles back;
        QVERIFY(readRecentFile(path, back).ok());
        QCOMPARE(back.paths(), list.paths());

        // A write-protected list keeps its content.
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
        list.add(QStringLiteral("/c.qzd"));
        QCOMPARE(writeRecentFile(path, list).errorNumber, FileError::PermissionDenied);
        QCOMPARE(readAll(path), QByteArray("/a.qzd\r\n/b.qzd\r\n"));
    }

    void texts() {
        QCOMPARE(
            recentRemoveQuestionText(QStringLiteral("/x.qzd"), 53),
            QStringLiteral("ファイルが見つかりません。\n/x.qzdをファイルリストから削除しますか。"));
        QCOMPARE(
            recentRemoveQuestionText(QStringLiteral("/x.qzd"), 70),
            QStringLiteral("ファイルが開けません。\n/x.qzdをファイルリストから削除しますか。"));
        QCOMPARE(recentWriteWarningText(QStringLiteral("/p/f.ini"), 57),
                 QStringLiteral(
                     "/p/f.ini  デバイスI/O エラーです。\nファイルリストを更新できませんでした。"));
        QCOMPARE(recentWriteProtectedText(QStringLiteral("/p/f.ini")),
                 QStringLiteral("/p/f.iniファイルが書込み禁止に設定されています。\n"
                                "書込み禁止を解除しないと更新ができません。"));
    }
};

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
