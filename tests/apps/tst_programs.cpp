// The three programs as a shell user starts them: --help and --version answered on standard
// output with or without a display, one clear line and exit code 1 when a window program
// finds no display, and a file named like an option still opened as ./--help.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    bool normalExit = false;
    int code = -1;
    QString out;
    QString err;
};

enum class Screen { None, Offscreen, Unreachable };

QProcessEnvironment environmentWith(Screen display, const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
    env.insert(QStringLiteral("QUILLO_HOME"), home + QStringLiteral("/quillo"));
    if (display == Screen::Offscreen)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    else if (display == Screen::Unreachable)
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":873")); // no server there
    return env;
}

Run run(const QString& program, const QStringList& args, const QProcessEnvironment& env,
        const QString& folder = {}) {
    QProcess p;
    p.setProcessEnvironment(env);
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(QStringLiteral(QUILLO_BIN_DIR "/") + program, args);
    Run r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.normalExit = p.exitStatus() == QProcess::NormalExit;
    r.code = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

class TestPrograms : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void answers_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("display");
        QTest::addColumn<QString>("expected");
        for (const char* program : {"qzd32", "qzd32mk", "qzdtool"}) {
            for (const auto& [display, tag] :
                 {std::pair{Screen::None, "no display"}, std::pair{Screen::Offscreen, "display"},
                  std::pair{Screen::Unreachable, "unreachable display"}}) {
                const QString row =
                    QStringLiteral("%1 %2, ").arg(QLatin1String(program), QLatin1String(tag));
                QTest::newRow(qPrintable(row + "--help"))
                    << program << "--help" << int(display)
                    << QStringLiteral("^Usage: %1 ").arg(QLatin1String(program));
                QTest::newRow(qPrintable(row + "--version"))
                    << program << "--version" << int(display)
                    << QStringLiteral("^%1 \\d+\\.\\d+\\.\\d+\\n$").arg(QLatin1String(program));
            }
        }
    }

    // Answered before any window is made, so no display is needed or touched.
    void answers() {
        QFETCH(QString, program);
        QFETCH(QString, argument);
        QFETCH(int, display);
        QFETCH(QString, expected);
        const Run r = run(program, {argument}, environmentWith(Screen(display), m_dir.path()));
        QVERIFY2(r.normalExit && r.code == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(QRegularExpression(expected)), qPrintable(r.out));
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        if (argument == QLatin1String("--help"))
            QVERIFY2(r.out.contains(QLatin1String("--version")), qPrintable(r.out));
    }

    void noDisplay_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("display");
        for (const char* program : {"qzd32", "qzd32mk"}) {
            QTest::newRow(qPrintable(QLatin1String(program) + " without DISPLAY"))
                << program << int(Screen::None);
            QTest::newRow(qPrintable(QLatin1String(program) + " with no server"))
                << program << int(Screen::Unreachable);
        }
    }

    // One line that says what is missing and how to run the program; no abort, no core.
    void noDisplay() {
        QFETCH(QString, program);
        QFETCH(int, display);
        const Run r = run(program, {QStringLiteral(QUILLO_TEST_DATA "/core/japanese.qzd")},
                          environmentWith(Screen(display), m_dir.path()));
        QVERIFY2(r.normalExit, qPrintable(r.err));
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out, QString());
        const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().startsWith(program + QStringLiteral(": no display found")),
                 qPrintable(r.err));
        QVERIFY2(lines.first().contains(QLatin1String("QT_QPA_PLATFORM")), qPrintable(r.err));
    }

    // A help file named "--help" opens when named as a path: the viewer stays up with it and
    // prints no usage text.
    void optionNamedFileOpens() {
        const QString folder = m_dir.filePath(QStringLiteral("odd"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(QStringLiteral(QUILLO_TEST_DATA "/core/japanese.qzd"),
                            folder + QStringLiteral("/--help")));
        QProcess p;
        p.setProcessEnvironment(environmentWith(Screen::Offscreen, m_dir.path()));
        p.setWorkingDirectory(folder);
        p.start(QStringLiteral(QUILLO_BIN_DIR "/qzd32"), {QStringLiteral("./--help")});
        QVERIFY(p.waitForStarted());
        const bool ended = p.waitForFinished(3000);
        const QByteArray out = p.readAllStandardOutput();
        p.kill();
        p.waitForFinished();
        QVERIFY2(!ended, out.constData());
        QVERIFY2(!out.contains("Usage"), out.constData());
    }
};

QTEST_MAIN(TestPrograms)
#include "tst_programs.moc"
