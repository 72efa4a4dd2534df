#include "maker/shell/splashwindow.h"

#include "winsvc/twips.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace quillo::maker {

namespace {
constexpr char DisplayName[] = "Quillo32Maker";
constexpr int WidthTwips = 6000;
constexpr int HeightTwips = 2400;
constexpr int ShadowPixels = 4;
} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("qzd32mk_asrn"));
    setWindowTitle(QString::fromLatin1(DisplayName));
    setFixedSize(twipsToPixels(WidthTwips, Qt::Horizontal),
                 twipsToPixels(HeightTwips, Qt::Vertical));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    m_timer.setSingleShot(true);
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::mainWindowWanted);
}

void SplashWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Started when the window appears rather than when it is activated: a desktop without
    // a window manager never activates it.
    if (!m_timer.isActive())
        m_timer.start();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xf4, 0xf1, 0xe8));
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(height() / 4);
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    const QString name = QString::fromLatin1(DisplayName);
    const QRect box = rect();
    painter.setPen(QColor(0xa0, 0xa0, 0xa0));
    painter.drawText(box.translated(ShadowPixels, ShadowPixels), Qt::AlignCenter, name);
    painter.setPen(QColor(0x10, 0x20, 0x60));
    painter.drawText(box, Qt::AlignCenter, name);
}

} // namespace quillo::maker
