// A writer in front of the authoring program on a real X server turns to a page holding a long
// table and, while it comes in, presses Ctrl+S and then the window manager's close key. The
// window answers: the save key is dropped, the close ends the load, the exit question comes
// for the edit made before, and answering No leaves the file exactly as it was.
#include "core/helpfile.h"
#include "support/hostilepages.h"
#include "support/makerfixture.h"
#include "support/viewerfiles.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>

using namespace quillo;
using namespace quillo::maker;

class TestTableLoadClose : public QObject {
    Q_OBJECT
    MakerFixture f;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void closeKeyWhileTableLoadsKeepsTheFile() {
        const QByteArray table = test::tablePage(30000, 3);
        const QString path = f.file(QStringLiteral("table.qzd"));
        QVERIFY(saveHelpFile(path, *test::firstPageThen(table)).ok());
        const QByteArray before = test::bytesOf(path);

        MakerMainWindow* w = f.start(path);
        QVERIFY(w);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        RichTextControl* editor = w->editor();
        editor->setFocus();
        MakerFixture::type(w, QStringLiteral("edited "));
        QVERIFY(w->document().isModified());
        f.dialogs().answerNext(Dialogs::Answer::No);

        bool loadingWhenPressed = false;
        QElapsedTimer sincePressed;
        QTimer::singleShot(0, w, [&] {
            loadingWhenPressed = editor->isLoading();
            sincePressed.start();
            QProcess::startDetached(QStringLiteral("xdotool"),
                                    {QStringLiteral("key"), QStringLiteral("ctrl+s"),
                                     QStringLiteral("sleep"), QStringLiteral("0.3"),
                                     QStringLiteral("key"), QStringLiteral("alt+F4")});
        });
        MakerFixture::trigger(w, "qzd32mk_Next_Page");
        QVERIFY(loadingWhenPressed);
        // The close came while the table was still coming in.
        QVERIFY(!editor->holdsWholePage());
        QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 5000);
        QVERIFY2(sincePressed.elapsed() < 5000,
                 qPrintable(QString::number(sincePressed.elapsed())));
        QVERIFY(f.dialogs().scriptDone());
        QCOMPARE(w->document().page(2).rtf, table);
        QCOMPARE(test::bytesOf(path), before);
    }
};

QTEST_MAIN(TestTableLoadClose)
#include "tst_tableloadclose.moc"
