#include "core/helpfile.h"
#include "maker/media/imagewindow.h"
#include "support/makerfixture.h"
#include "winsvc/twips.h"

#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>

using namespace quillo;
using namespace quillo::maker;
using Answer = Dialogs::Answer;

namespace {

// A picture file of w x h pixels at `dpi` dots per inch.
void writePicture(const QString& path, int w, int h, const char* format, int dpi = 96) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    QVERIFY(image.save(path, format));
}

// A photo of w x h pixels as a camera writes it: a colour JPEG, red on its left half and blue
// on its right half, so that a preview shows whether the whole picture is in it.
void writePhoto(const QString& path, int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(QColor(220, 30, 30));
    QPainter painter(&image);
    painter.fillRect(w / 2, 0, w - w / 2, h, QColor(30, 30, 220));
    painter.end();
    QVERIFY(image.save(path, "JPEG", 80));
}

// A 1 x 1 GIF (Qt reads GIF but does not write it).
void writeGif(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        QByteArray::fromBase64("R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw=="));
}

// A PNG padded with zeros after its end to exactly `bytes` bytes.
void writePaddedPng(const QString& path, qint64 bytes) {
    writePicture(path, 8, 8, "PNG");
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(QByteArray(bytes - file.size(), '\0'));
    file.close();
    QCOMPARE(QFileInfo(path).size(), bytes);
}

template <typename T> T* part(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

QRect twipsRect(const QWidget* widget) {
    const QRect g = widget->geometry();
    return {pixelsToTwips(g.x()), pixelsToTwips(g.y(), Qt::Vertical), pixelsToTwips(g.width()),
            pixelsToTwips(g.height(), Qt::Vertical)};
}

// The goal size of the first picture of an RTF text.
QSize goalOf(const QByteArray& rtf) {
    static const QRegularExpression goal(QStringLiteral("\\\\picwgoal(\\d+)\\\\pichgoal(\\d+)"));
    const auto m = goal.match(QString::fromLatin1(rtf));
    return m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
}

} // namespace

class TestImageWindow : public QObject {
    Q_OBJECT
    MakerFixture f;
    QString m_pictures;

    // A started window with the image window open in the pictures folder.
    ImageWindow* openImages(MakerMainWindow* w) {
        QDir::setCurrent(m_pictures);
        MakerFixture::trigger(w, "qzd32mk_image_set");
        auto* window = w->findChild<ImageWindow*>(QStringLiteral("qzd32mk_bmp"));
        if (!window || !window->isVisible())
            qFatal("image window not shown");
        return window;
    }
    static void pick(ImageWindow* window, const QString& name) {
        auto* files = part<QListWidget>(window, "File1");
        const auto found = files->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        files->setCurrentItem(found.first());
    }
    static void embed(ImageWindow* window) { part<QPushButton>(window, "Command1")->click(); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        f.setUp();
        m_pictures = f.file(QStringLiteral("pictures"));
        QVERIFY(QDir().mkpath(m_pictures));
    }
    void cleanup() {
        QDir::setCurrent(QDir::tempPath());
        f.tearDown();
    }

    void listsPicturesOnly() {
        writePicture(m_pictures + QStringLiteral("/a.PNG"), 4, 4, "PNG");
        writePicture(m_pictures + QStringLiteral("/b.jpg"), 4, 4, "JPEG");
        writePicture(m_pictures + QStringLiteral("/c.jpeg"), 4, 4, "JPEG");
        writePicture(m_pictures + QStringLiteral("/d.bmp"), 4, 4, "BMP");
        writeGif(m_pictures + QStringLiteral("/e.GIF"));
        QFile notes(m_pictures + QStringLiteral("/notes.txt"));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.close();
        QVERIFY(QDir().mkpath(m_pictures + QStringLiteral("/sub")));
        MakerMainWindow* w = f.start();
        ImageWindow* window = openImages(w);
        auto* files = part<QListWidget>(window, "File1");
        QStringList names;
        for (int i = 0; i < files->count(); ++i)
            names << files->item(i)->text();
        QCOMPARE(names, (QStringList{"a.PNG", "b.jpg", "c.jpeg", "d.bmp", "e.GIF"}));
        // The first file is previewed and selected at once.
        QCOMPARE(window->selectedFile(), m_pictures + QStringLiteral("/a.PNG"));
        auto* folders = part<QListWidget>(window, "Dir1");
        QCOMPARE(folders->item(folders->count() - 1)->text().trimmed(), QStringLiteral("sub"));
        // The folder is kept for the next opening.
        part<QPushButton>(window, "Command2")->click();
        QVERIFY(!window->isVisible());
        QVERIFY(window->selectedFile().isEmpty());
        QDir::setCurrent(QDir::tempPath());
        MakerFixture::trigger(w, "qzd32mk_image_set");
        QCOMPARE(window->folder(), m_pictures);
    }

    void previewClippedOrCentred_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("clipped");
        QTest::newRow("2000 x 1000 twips") << 200 << 100 << 144 << true;
        QTest::newRow("tall") << 20 << 130 << 96 << true;
        QTest::newRow("small") << 40 << 30 << 96 << false;
    }
    void previewClippedOrCentred() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, dpi);
        QFETCH(bool, clipped);
        writePicture(m_pictures + QStringLiteral("/p.png"), width, height, "PNG", dpi);
        ImageWindow* window = openImages(f.start());
        auto* picture = part<QLabel>(window, "Picture1");
        QVERIFY(picture->isVisible());
        const QRect box = twipsRect(picture);
        if (clipped) {
            QCOMPARE(box, QRect(120, 270, 1785, 1785));
        } else {
            const QSize frame = picture->parentWidget()->size();
            QCOMPARE(picture->size(), QSize(width, height));
            QCOMPARE(picture->x(), (frame.width() - width) / 2);
            QCOMPARE(picture->y(), (frame.height() - height) / 2);
        }
    }

    // A photo of any size previews whole in the box; one of more than 16 million pixels is
    // not embedded, and the message says how large a picture may be.
    void photosPreviewAndLargestEmbeds_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("embeds");
        QTest::newRow("4000 x 4000, the largest embedded") << 4000 << 4000 << true;
        QTest::newRow("4001 x 4000") << 4001 << 4000 << false;
        QTest::newRow("6000 x 6000 (36 megapixels)") << 6000 << 6000 << false;
    }
    void photosPreviewAndLargestEmbeds() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, embeds);
        writePhoto(m_pictures + QStringLiteral("/photo.jpg"), width, height);
        MakerMainWindow* w = f.start();
        ImageWindow* window = openImages(w);
        QCOMPARE(f.dialogs().messages().size(), 0);
        QCOMPARE(window->selectedFile(), m_pictures + QStringLiteral("/photo.jpg"));
        auto* picture = part<QLabel>(window, "Picture1");
        QVERIFY(picture->isVisible());
        QCOMPARE(twipsRect(picture), QRect(120, 270, 1785, 1785));
        // The whole photo, made small: red at its left edge, blue at its right.
        const QImage shown = picture->pixmap().toImage();
        QVERIFY(shown.width() <= picture->width() && shown.height() <= picture->height());
        const QColor left = shown.pixelColor(2, shown.height() / 2);
        const QColor right = shown.pixelColor(shown.width() - 3, shown.height() / 2);
        QVERIFY2(left.red() > 150 && left.blue() < 100, qPrintable(left.name()));
        QVERIFY2(right.blue() > 150 && right.red() < 100, qPrintable(right.name()));

        // Every photo here is larger than 100000 bytes: the size question comes first only
        // for a picture that can be embedded.
        f.dialogs().answerNext(embeds ? Answer::Yes : Answer::Ok);
        embed(window);
        const auto messages = f.dialogs().messages();
        QCOMPARE(messages.size(), 1);
        if (embeds) {
            QCOMPARE(messages[0].buttons, Dialogs::Buttons::YesNo);
        } else {
            QCOMPARE(messages[0].title, QStringLiteral("qzd32mk 画像挿入"));
            QCOMPARE(
                messages[0].text,
                QStringLiteral("選択画像は大きすぎるため埋め込めません（ %1 × %2 ピクセル）。\n"
                               "埋め込める画像は 1600 万画素（4000 × 4000 ピクセル）までです。\n"
                               "画像処理アプリケーションで縮小してから埋め込んでください。")
                    .arg(width)
                    .arg(height));
            QCOMPARE(messages[0].icon, Dialogs::Icon::Warning);
        }
        QCOMPARE(w->document().page(1).rtf.contains("\\jpegblip"), embeds);
        QCOMPARE(w->document().isModified(), embeds);
    }

    // "keep this text" with "this" selected: the picture takes its place, and 元に戻す(U)
    // right after brings the word back and takes the picture away, in one step.
    void undoTakesBackAnEmbeddingOverASelection() {
        writePicture(m_pictures + QStringLiteral("/p.png"), 30, 20, "PNG");
        MakerMainWindow* w = f.start();
        MakerFixture::type(w, QStringLiteral("keep this text"));
        w->editor()->select(5, 4);
        ImageWindow* window = openImages(w);
        embed(window);
        const QString picture(QChar::ObjectReplacementCharacter);
        QCOMPARE(w->editor()->plainText(), QStringLiteral("keep ") + picture + " text");
        QVERIFY(w->document().page(1).rtf.contains("\\pngblip"));
        MakerFixture::trigger(w, "qzd32mk_undo");
        QCOMPARE(w->editor()->plainText(), QStringLiteral("keep this text"));
        QVERIFY(!w->editor()->rtf().contains("\\pngblip"));
        // The page goes to the table as the editor now holds it.
        w->document().storeShownPage();
        QVERIFY(!w->document().page(1).rtf.contains("\\pngblip"));
        QVERIFY(w->document().page(1).rtf.contains("keep this text"));
    }

    void notAPicture() {
        QFile bad(m_pictures + QStringLiteral("/broken.jpg"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("this is no picture");
        bad.close();
        f.dialogs().answerNext(Answer::Ok);
        ImageWindow* window = openImages(f.start());
        QVERIFY(window->selectedFile().isEmpty());
        const auto messages = f.dialogs().messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].title, QStringLiteral("qzd32mk 画像挿入"));
        QCOMPARE(messages[0].text, QStringLiteral("ERR =  481"));
        QCOMPARE(messages[0].icon, Dialogs::Icon::Warning);
        embed(window); // nothing selected: nothing happens
        QVERIFY(!f.lastWindow()->document().isModified());
    }

    // A drive whose place is gone, and a removable drive's mount point with nothing mounted
    // on it (the stick was pulled out): both say the drive is not ready.
    void driveNotReady_data() {
        QTest::addColumn<bool>("mountPoint");
        QTest::newRow("folder gone") << false;
        QTest::newRow("nothing mounted") << true;
    }
    void driveNotReady() {
        QFETCH(bool, mountPoint);
        QString place = f.file(QStringLiteral("nothing"));
        if (mountPoint) {
            place = QStringLiteral("/mnt/quillo-test-%1").arg(QCoreApplication::applicationPid());
            if (!QDir().mkpath(place))
                QSKIP("cannot make a folder under /mnt here (not run as root)");
        }
        const auto removePlace = qScopeGuard([&] {
            if (mountPoint)
                QDir().rmdir(place);
        });
        ImageWindow* window = openImages(f.start());
        window->setDrives(
            {{QStringLiteral("/"), QStringLiteral("/")}, {QStringLiteral("USBSTICK"), place}});
        part<QComboBox>(window, "Drive1")->setCurrentIndex(1);
        f.dialogs().answerNext(Answer::Ok);
        emit part<QComboBox>(window, "Drive1")->activated(1);
        const auto messages = f.dialogs().messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].title, QStringLiteral("qzd32mk BMPﾌｧｲﾙ挿入"));
        QCOMPARE(messages[0].text, QStringLiteral("USBSTICK ドライブの準備ができていません。"));
        QCOMPARE(messages[0].icon, Dialogs::Icon::NoIcon);
        QCOMPARE(window->folder(), m_pictures);
        QCOMPARE(part<QComboBox>(window, "Drive1")->currentIndex(), 0);
    }

    void largeFileAsks_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("100000 bytes") << qint64(100000) << false << false;
        QTest::newRow("100001 bytes, no") << qint64(100001) << true << false;
        QTest::newRow("100001 bytes, yes") << qint64(100001) << true << true;
    }
    void largeFileAsks() {
        QFETCH(qint64, bytes);
        QFETCH(bool, asks);
        QFETCH(bool, answerYes);
        writePaddedPng(m_pictures + QStringLiteral("/big.png"), bytes);
        MakerMainWindow* w = f.start();
        ImageWindow* window = openImages(w);
        if (asks)
            f.dialogs().answerNext(answerYes ? Answer::Yes : Answer::No);
        embed(window);
        QCOMPARE(f.dialogs().messages().size(), asks ? 1 : 0);
        if (asks) {
            const auto m = f.dialogs().messages().first();
            QCOMPARE(m.title, QStringLiteral("qzd32Maker BMPﾌｧｲﾙ挿入"));
            QCOMPARE(m.text, QStringLiteral("選択画像が大きすぎます。非常に動作が遅くなる可能性が"
                                            "あります。\nこの画像を組込みますか。"));
            QCOMPARE(m.buttons, Dialogs::Buttons::YesNo);
        }
        const bool embedded = !asks || answerYes;
        QCOMPARE(w->document().page(1).rtf.contains("\\pngblip"), embedded);
        QCOMPARE(w->document().isModified(), embedded);
        QVERIFY(window->isVisible()); // the window stays open
    }

    void embedStoresThePage() {
        writePicture(m_pictures + QStringLiteral("/p.png"), 30, 20, "PNG");
        MakerMainWindow* w = f.start();
        MakerFixture::type(w, QStringLiteral("ab"));
        w->editor()->setSelStart(1);
        ImageWindow* window = openImages(w);
        embed(window);
        const QByteArray stored = w->document().page(1).rtf;
        QVERIFY(stored.contains("\\pngblip"));
        QCOMPARE(goalOf(stored), QSize(450, 300));
        QCOMPARE(goalOf(w->editor()->rtf()), QSize(450, 300));
        QCOMPARE(w->editor()->selStart(), 2); // after the picture
        QCOMPARE(w->editor()->textLength(), 3);
        QVERIFY(w->document().isModified());
        QVERIFY(w->document().isShownPageEdited());
    }

    void picturesSurviveSaveAndReopen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("blip");
        QTest::addColumn<QSize>("goal");
        QTest::newRow("png") << QStringLiteral("p.png") << QByteArray("\\pngblip")
                             << QSize(300, 150);
        QTest::newRow("jpeg") << QStringLiteral("p.jpg") << QByteArray("\\jpegblip")
                              << QSize(300, 150);
        QTest::newRow("bmp") << QStringLiteral("p.bmp") << QByteArray("\\pngblip")
                             << QSize(300, 150);
        QTest::newRow("gif") << QStringLiteral("p.gif") << QByteArray("\\pngblip") << QSize(15, 15);
    }
    void picturesSurviveSaveAndReopen() {
        QFETCH(QString, name);
        QFETCH(QByteArray, blip);
        QFETCH(QSize, goal);
        const QString path = m_pictures + '/' + name;
        if (name.endsWith(QLatin1String("gif")))
            writeGif(path);
        else
            writePicture(path, 20, 10, name.endsWith(QLatin1String("bmp")) ? "BMP" : nullptr);
        MakerMainWindow* w = f.start();
        ImageWindow* window = openImages(w);
        embed(window);
        const QString saved = f.file(QStringLiteral("saved.qzd"));
        f.dialogs().chooseFileNext(saved);
        MakerFixture::trigger(w, "qzd32mk_file_save_rename");
        QVERIFY(!w->document().isModified());

        MakerMainWindow* reopened = f.start(saved);
        QVERIFY(reopened);
        const QByteArray rtf = reopened->document().page(1).rtf;
        QVERIFY(rtf.contains(blip));
        QCOMPARE(goalOf(rtf), goal);
        QCOMPARE(goalOf(reopened->editor()->rtf()), goal);
        if (blip == "\\jpegblip") { // the file's own bytes, not a re-encoding
            QFile jpeg(path);
            QVERIFY(jpeg.open(QIODevice::ReadOnly));
            QVERIFY(rtf.toLower().contains(jpeg.readAll().toHex().left(64)));
        }
    }

    void helpMessage() {
        ImageWindow* window = openImages(f.start());
        f.dialogs().answerNext(Answer::Ok);
        part<QPushButton>(window, "bmp_help")->click();
        const auto m = f.dialogs().messages().first();
        QCOMPARE(m.title, QStringLiteral("qzd32maker ｲﾒｰｼﾞ埋め込み"));
        QVERIFY(m.text.startsWith(
            QStringLiteral("【bmpファイルアプリケーションとの関連付けについて】\n")));
        QVERIFY(m.text.contains(
            QStringLiteral("\n【ディスプレイ表示イメージからビットマップファイル作成方法】\n")));
        QVERIFY(!m.text.contains(QStringLiteral("Regedit")));
        // Each line is a heading or ends its sentence, so the box wraps whole paragraphs.
        for (const QString& line : m.text.split(u'\n', Qt::SkipEmptyParts))
            QVERIFY2(line.endsWith(u'。') || line.endsWith(u'】'), qPrintable(line));
    }

    // Both frames name every kind of file the window offers.
    void framesNameEveryKindOffered() {
        ImageWindow* window = openImages(f.start());
        QStringList titles;
        for (const QGroupBox* frame : window->findChildren<QGroupBox*>())
            titles << frame->title();
        QCOMPARE(titles, (QStringList{QStringLiteral("ﾌｧｲﾙ設定（bmp/jpg/gif/pngﾌｧｲﾙ）"),
                                      QStringLiteral("bmp/jpg/gif/png ﾌﾟﾚﾋﾞｭｰ")}));
    }
};

QTEST_MAIN(TestImageWindow)
#include "tst_imagewindow.moc"
