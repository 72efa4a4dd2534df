#include "support/makerfixture.h"

#include <QIcon>
#include <QSet>
#include <QToolBar>
#include <QToolButton>

using namespace quillo::maker;

namespace {

// Whether some opaque pixel of the image is dark: a picture drawn only in pale greys (as
// some themes' symbolic icons are) reads as a disabled button.
bool hasDarkPixel(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 200 && c.lightness() < 100)
                return true;
        }
    }
    return false;
}

} // namespace

class TestToolbars : public QObject {
    Q_OBJECT

    MakerFixture f;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        // As on a desktop without an icon theme: the buttons must still show pictures.
        QIcon::setThemeName(QString());
        QIcon::setFallbackThemeName(QString());
    }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // Every button of both toolbars shows a picture of its own at the toolbars' 16 pixels,
    // drawn dark enough to read as enabled, and keeps its tool tip.
    void everyButtonHasItsOwnIcon() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        const QList<QToolBar*> bars = w->findChildren<QToolBar*>();
        QCOMPARE(bars.size(), 2);
        QSet<QByteArray> pictures;
        int buttons = 0;
        for (QToolBar* bar : bars) {
            for (QToolButton* button : bar->findChildren<QToolButton*>()) {
                if (!button->objectName().startsWith(QLatin1String("qzd32mk_")))
                    continue; // the bar's own extension button
                ++buttons;
                const QString key = button->objectName();
                const QIcon icon = button->icon();
                QVERIFY2(!icon.isNull(), qPrintable(key));
                const QImage image = icon.pixmap(QSize(16, 16)).toImage();
                QVERIFY2(!image.isNull(), qPrintable(key));
                QVERIFY2(hasDarkPixel(image), qPrintable(key));
                QVERIFY2(!button->toolTip().isEmpty(), qPrintable(key));
                QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
                const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
                pictures.insert(QByteArray(reinterpret_cast<const char*>(argb.constBits()),
                                           argb.sizeInBytes()));
            }
        }
        QCOMPARE(buttons, 21);
        // No two buttons look the same.
        QCOMPARE(pictures.size(), buttons);
        QVERIFY(w->close());
    }
};

QTEST_MAIN(TestToolbars)
#include "tst_toolbars.moc"
