#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the real tool as a writer's script would.
Run qzdtool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(QUILLO_BIN_DIR "/qzdtool"), args);
    Run r;
    if (!p.waitForFinished(20000))
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString data(const char* name) {
    return QStringLiteral(QUILLO_TEST_DATA "/core/") + QLatin1String(name);
}

} // namespace

class TestQzdtool : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void info() {
        const Run r = qzdtool({QStringLiteral("info"), data("japanese.qzd")});
        QCOMPARE(r.code, 0);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(r.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(o[QStringLiteral("formatTag")].toString(), QStringLiteral("qzd32mk Ver2.01 "));
        QCOMPARE(o[QStringLiteral("backColor")].toDouble(), double(qint32(0x80000005)));
        QCOMPARE(o[QStringLiteral("windowTop")].toInt(), 300);
        QCOMPARE(o[QStringLiteral("listWidth")].toInt(), 2500);
        QCOMPARE(o[QStringLiteral("pageCount")].toInt(), 3);
        const QJsonArray pages = o[QStringLiteral("pages")].toArray();
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[0][QStringLiteral("title")].toString(), QStringLiteral("操作方法"));
        QVERIFY(pages[1][QStringLiteral("title")].isNull());
        QCOMPARE(pages[0][QStringLiteral("keywords")].toArray().at(1).toString(),
                 QStringLiteral("印刷"));
        QCOMPARE(pages[2][QStringLiteral("rtfLength")].toInt(), 13);
    }

    void checkAndFailures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("errContains");
        QTest::newRow("readable") << QStringList{QStringLiteral("check"), data("minimal.qzd")} << 0
                                  << QString();
        QTest::newRow("wrong tag") << QStringList{QStringLiteral("check"), data("wrongtag.qzd")}
                                   << 1 << QStringLiteral("wrongtag.qzd: not a Quillo32 help file");
        QTest::newRow("bad field")
            << QStringList{QStringLiteral("info"), data("too_many_pages.qzd")} << 1
            << QStringLiteral("too_many_pages.qzd: bad pageCount");
        QTest::newRow("missing") << QStringList{QStringLiteral("check"),
                                                QStringLiteral("/no/such.qzd")}
                                 << 1 << QStringLiteral("/no/such.qzd: cannot open");
        QTest::newRow("no command") << QStringList{} << 2 << QStringLiteral("Usage");
        QTest::newRow("unknown") << QStringList{QStringLiteral("frob")} << 2
                                 << QStringLiteral("unknown command");
        QTest::newRow("missing argument")
            << QStringList{QStringLiteral("resave"), data("minimal.qzd")} << 2
            << QStringLiteral("Usage");
    }
    void checkAndFailures() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, errContains);
        const Run r = qzdtool(args);
        QCOMPARE(r.code, code);
        QVERIFY2(QString::fromUtf8(r.err).contains(errContains), r.err.constData());
        if (code == 1)
            QCOMPARE(r.err.count('\n'), 1); // one line naming the file and the reason
    }

    void help() {
        const Run r = qzdtool({QStringLiteral("--help")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains("resave IN.qzd OUT.qzd"));
    }

    void resaveAppliesDefaults() {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.qzd"));
        QCOMPARE(qzdtool({QStringLiteral("resave"), data("settings_edge.qzd"), out}).code, 0);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        // top 0 -> 200, left -1 -> 200, height 500 -> 6500, width 999 -> 9000, list 250 -> 2000.
        QCOMPARE(f.read(46).mid(16), QByteArray("8000000F00C800C81964232807D000"));
    }
};

QTEST_MAIN(TestQzdtool)
#include "tst_qzdtool.moc"
