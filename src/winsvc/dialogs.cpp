#include "winsvc/dialogs.h"

#include "winsvc/placement.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLayout>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
#include <new>

namespace quillo {

namespace {

QMessageBox::Icon messageIcon(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons messageButtons(Dialogs::Buttons buttons) {
    switch (buttons) {
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Dialogs::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

Dialogs::Answer answerOf(int button, Dialogs::Buttons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return Dialogs::Answer::Ok;
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    default:
        break;
    }
    // Closed without a button (Esc, the close box): a lone OK box still answers OK.
    return buttons == Dialogs::Buttons::Ok ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel;
}

bool isWebAddress(const QString& target) {
    const QUrl url(target);
    return url.isValid() && url.scheme().size() > 1 && !url.isLocalFile();
}

// Whether a program that opens web addresses can be found: the user's $BROWSER, the
// desktop's opener or a common browser.
bool browserFound() {
    const QStringList browsers =
        qEnvironmentVariable("BROWSER").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& browser : browsers)
        if (!QStandardPaths::findExecutable(browser.section(QLatin1Char(' '), 0, 0)).isEmpty())
            return true;
    for (const char* opener :
         {"xdg-open", "x-www-browser", "sensible-browser", "firefox", "chromium", "google-chrome"})
        if (!QStandardPaths::findExecutable(QLatin1String(opener)).isEmpty())
            return true;
    return false;
}

// The detail view of a file dialog shows the size, type and date of each file in full: those
// columns take the width their contents need, the name takes the rest, and the dialog is
// made wide enough for all of them (at most the screen's width).
void fitColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view || view->header()->count() < 2)
        return;
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    // Typical contents of the columns, in the view's font, with room for the cell margins.
    const QFontMetrics metrics(view->font());
    const QLocale locale;
    const int columns = metrics.horizontalAdvance(QStringLiteral("W").repeated(24)) +
                        metrics.horizontalAdvance(locale.formattedDataSize(1023 * 1024 + 1023)) +
                        metrics.horizontalAdvance(QStringLiteral("OpenDocument Text document")) +
                        metrics.horizontalAdvance(
                            locale.toString(QDateTime::currentDateTime(), QLocale::ShortFormat)) +
                        8 * metrics.averageCharWidth();
    if (dialog.layout())
        dialog.layout()->activate();
    const int wanted = dialog.width() - view->width() + columns;
    int widest = wanted;
    if (const QScreen* screen = dialog.screen())
        widest = screen->availableGeometry().width();
    dialog.resize(std::max(dialog.width(), std::min(wanted, widest)), dialog.height());
}

} // namespace

QString alignedMessageMarkup(const QString& text) {
    if (!text.contains(QLatin1Char('\t')))
        return {};
    const auto cell = [](const QString& content, int span = 1) {
        return QStringLiteral("<td style=\"white-space:pre\"%1>%2</td>")
            .arg(span > 1 ? QStringLiteral(" colspan=\"%1\"").arg(span) : QString(),
                 content.isEmpty() ? QStringLiteral("&nbsp;") : content.toHtmlEscaped());
    };
    QString markup = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\">");
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        markup += QStringLiteral("<tr>");
        if (tab < 0)
            markup += cell(line, 2);
        else
            markup += cell(line.left(tab)) + cell(QStringLiteral("  ") + line.mid(tab + 1));
        markup += QStringLiteral("</tr>");
    }
    return markup + QStringLiteral("</table>");
}

QtDialogs::QtDialogs() : m_hook(std::make_unique<FileDialogPlacementHook>()) {}

QtDialogs::~QtDialogs() = default;

Dialogs::Answer QtDialogs::ask(QWidget* parent, const QString& title, const QString& text,
                               Icon icon, Buttons buttons) {
    QMessageBox box(messageIcon(icon), title, text, messageButtons(buttons), parent);
    if (const QString aligned = alignedMessageMarkup(text); !aligned.isEmpty()) {
        box.setTextFormat(Qt::RichText);
        box.setText(aligned);
    }
    return answerOf(box.exec(), buttons);
}

QString QtDialogs::runFileDialog(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter, bool save) {
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A name typed without an extension gets the filter's, as the Windows dialog does.
    const QRegularExpressionMatch ext =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    if (save && ext.hasMatch())
        dialog.setDefaultSuffix(ext.captured(1));
    fitColumns(dialog);
    // Without a parent the dialog is placed against the main window the program named.
    FileDialogPlacement placement(*m_hook, parent ? parent->window() : m_hook->target());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

QString QtDialogs::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter) {
    return runFileDialog(parent, caption, dir, filter, false);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter) {
    return runFileDialog(parent, caption, dir, filter, true);
}

int QtDialogs::shellOpen(const QString& target, const QStringList& arguments) {
    try {
        if (isWebAddress(target)) {
            if (QDesktopServices::openUrl(QUrl(target)))
                return ShellOpenOk;
            // No browser at all is "not found"; one that would not start is "cannot start".
            return browserFound() ? ShellCannotStart : ShellFileNotFound;
        }
        // A document named by its file:// address goes to the desktop's handler of its kind
        // and is never run, whatever its execute bit says.
        if (const QUrl url(target); url.isLocalFile()) {
            if (!QFileInfo::exists(url.toLocalFile()))
                return ShellFileNotFound;
            if (QDesktopServices::openUrl(url))
                return ShellOpenOk;
            return browserFound() ? ShellCannotStart : ShellFileNotFound;
        }
        const QFileInfo info(target);
        if (!info.exists())
            return ShellFileNotFound;
        if (info.isFile() && info.isExecutable())
            return QProcess::startDetached(info.absoluteFilePath(), arguments) ? ShellOpenOk
                                                                               : ShellCannotStart;
        return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()))
                   ? ShellOpenOk
                   : ShellCannotStart;
    } catch (const std::bad_alloc&) {
        return ShellOutOfMemory;
    }
}

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace quillo
