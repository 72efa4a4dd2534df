// The authoring window's file commands and recent-file list.
#include "core/fileerror.h"
#include "core/helpfile.h"
#include "maker/common/shelltexts.h"
#include "maker/shell/mainwindow.h"
#include "maker/shell/shelllogic.h"
#include "winsvc/desktoprecent.h"
#include "winsvc/hourglass.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/wincolor.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>

namespace quillo::maker {

namespace {

const QString FileFilter = QStringLiteral("Quilloﾌｧｲﾙ (*.qzd)");

} // namespace

QString MakerMainWindow::lastFolderOrCurrent() const {
    return m_lastFolder.isEmpty() ? QDir::currentPath() : m_lastFolder;
}

bool MakerMainWindow::askAboutChanges(const QString& title) {
    if (!m_document.isModified())
        return true;
    const Dialogs::Answer answer =
        m_dialogs.ask(this, title, askSaveChangesText(m_document.displayPath()),
                      Dialogs::Icon::Information, Dialogs::Buttons::YesNoCancel);
    if (answer == Dialogs::Answer::Cancel)
        return false;
    // A save that did not happen (failed, refused or its dialog cancelled) ends the command:
    // going on would throw away the changes the writer just asked to keep.
    return answer == Dialogs::Answer::No || saveForQuestion();
}

bool MakerMainWindow::saveForQuestion() {
    return m_document.isUnnamed() ? saveFileAs() : saveFile();
}

void MakerMainWindow::newFile() {
    if (!askAboutChanges(QStringLiteral("qzd32Maker 新規ﾌｧｲﾙ作成")))
        return;
    newDocument();
    m_editor->setFocus();
    refreshFormatting();
}

void MakerMainWindow::openFile(const QString& given) {
    if (!askAboutChanges(QStringLiteral("qzd32Maker ﾌｧｲﾙｵｰﾌﾟﾝ")))
        return;
    const QString path = !given.isEmpty()
                             ? given
                             : m_dialogs.openFileName(this, QStringLiteral("開く"),
                                                      lastFolderOrCurrent(), FileFilter);
    if (path.isEmpty())
        return;
    if (!m_document.isUnnamed() && path == m_document.help().filePath && !m_document.isModified())
        return;
    if (loadHelpFile(path))
        m_lastFolder = fileDirectoryOf(path);
    m_editor->setFocus();
}

bool MakerMainWindow::loadHelpFile(const QString& path) {
    Hourglass hourglass;
    // Read into a copy: a file that fails part-way must not leave a half document bound to
    // its path, where the next save would overwrite the file with the fragment.
    auto read = std::make_unique<HelpDocument>();
    const ReadResult result = readHelpFile(path, *read, Reader::Maker);
    if (!result.ok()) {
        hourglass.release();
        const QString text =
            result.status == ReadStatus::OpenFailed ? cannotOpenText(path) : wrongFormatText();
        message(QStringLiteral("qzd32Maker 開く"), text, Dialogs::Icon::Warning);
        return false;
    }
    const quint32 back = quint32(read->displaySettings.backColor);
    m_editor->setBackColor(back);
    m_document.adoptFile(std::move(*read), path);
    m_previewLayoutChanged = false;
    refreshFormatting();
    addRecentFile(path);
    return true;
}

bool MakerMainWindow::saveFile() {
    m_saveError = 0;
    if (m_document.isUnnamed())
        return saveFileAs();
    const QString title = QStringLiteral("qzd32Maker 上書き保存");
    const QString path = m_document.help().filePath;
    if (isReadOnlyFile(path)) {
        message(title, writeProtectedText(path), Dialogs::Icon::Warning);
        // Counts as a failed save, so that the exit question does not end the program
        // with the changes unsaved.
        m_saveError = FileError::PermissionDenied;
        return false;
    }
    m_document.storeShownPageAlways();
    if (!writeDocument(path, title))
        return false;
    clearChangeFlags();
    return true;
}

bool MakerMainWindow::saveFileAs() {
    m_saveError = 0;
    const QString title = QStringLiteral("qzd32Maker 名前を付けて保存");
    const QString path = m_dialogs.saveFileName(this, QStringLiteral("名前を付けて保存"),
                                                lastFolderOrCurrent(), FileFilter);
    if (path.isEmpty())
        return false;
    m_lastFolder = fileDirectoryOf(path);
    m_document.storeShownPage();
    if (isReadOnlyFile(path)) {
        message(title, writeProtectedText(path), Dialogs::Icon::Warning);
        m_saveError = FileError::PermissionDenied;
        return false;
    }
    if (!writeDocument(path, title))
        return false;
    // The document takes its new name only once it is stored under it.
    m_document.savedAs(path);
    m_previewLayoutChanged = false;
    addRecentFile(path);
    return true;
}

bool MakerMainWindow::writeDocument(const QString& path, const QString& title) {
    Hourglass hourglass;
    HelpDocument& doc = m_document.helpForWriting();
    doc.displaySettings.backColor = qint32(m_editor->backColor());
    const WriteResult result = saveHelpFile(path, doc);
    if (result.ok())
        return true;
    hourglass.release();
    m_saveError = result.file.errorNumber != 0 ? result.file.errorNumber : FileError::OtherBase;
    message(title, saveFailureText(path, result), Dialogs::Icon::Warning);
    return false;
}

// Recent files --------------------------------------------------------------------------

void MakerMainWindow::readRecentList() {
    const RecentReadResult result = readRecentFile(recentPath(), m_recent);
    const QString warning = recentReadWarningText(result);
    if (!warning.isEmpty())
        message(QStringLiteral("qzd32Maker ﾌｧｲﾙﾘｽﾄﾛｰﾄﾞ"), warning, Dialogs::Icon::Warning);
    rebuildRecentMenu();
}

void MakerMainWindow::addRecentFile(const QString& path) {
    m_recent.add(path);
    addToDesktopRecentFiles(path, QStringLiteral("qzd32mk"));
    rebuildRecentMenu();
}

void MakerMainWindow::rebuildRecentMenu() {
    m_actions.recentHead->setVisible(true);
    const QStringList& paths = m_recent.paths();
    // Entries are made as the list first needs them and hidden, not deleted, when it
    // shrinks: the entry being chosen may be the one that leaves the list.
    while (m_recentEntries.size() < paths.size()) {
        const int index = int(m_recentEntries.size());
        auto* entry = new QAction(m_actions.fileMenuWidget());
        entry->setObjectName(QStringLiteral("qzd32mk_FileArray"));
        entry->setData(index + 1);
        connect(entry, &QAction::triggered, this, [this, index] { chooseRecentFile(index); });
        m_actions.fileMenuWidget()->insertAction(m_actions.recentEnd, entry);
        m_recentEntries.append(entry);
    }
    for (qsizetype i = 0; i < m_recentEntries.size(); ++i) {
        const bool used = i < paths.size();
        m_recentEntries[i]->setText(
            used ? QString(paths[i]).replace(QLatin1Char('&'), QStringLiteral("&&")) : QString());
        m_recentEntries[i]->setVisible(used);
    }
}

void MakerMainWindow::chooseRecentFile(int index) {
    const QString title = QStringLiteral("qzd32Maker ﾌｧｲﾙﾘｽﾄ選択");
    const QString remembered = m_document.isUnnamed() ? QString() : m_document.help().filePath;
    if (m_document.isModified()) {
        const Dialogs::Answer answer =
            m_dialogs.ask(this, QStringLiteral("qzd32Maker ﾌｧｲﾙ保存"),
                          askSaveChangesText(m_document.displayPath()), Dialogs::Icon::Information,
                          Dialogs::Buttons::YesNoCancel);
        if (answer == Dialogs::Answer::Cancel)
            return;
        if (answer == Dialogs::Answer::Yes && !saveForQuestion())
            return;
    }
    if (index < 0 || index >= m_recent.count())
        return;
    const QString path = m_recent.paths()[index];
    if (const int error = openForReadingError(path); error != FileError::None) {
        // The list entry stays unless the writer agrees to drop it; the open document and
        // its name are left as they are.
        if (m_dialogs.ask(this, title, recentRemoveQuestionText(path, error),
                          Dialogs::Icon::Information,
                          Dialogs::Buttons::YesNo) == Dialogs::Answer::Yes) {
            m_recent.remove(index);
            m_recent.setDirty(true);
            rebuildRecentMenu();
        }
        return;
    }
    if (index > 0) {
        m_recent.moveToTop(index);
        m_recent.setDirty(true);
        rebuildRecentMenu();
    }
    if (!fileTitleWithin(path)) {
        message(title, fileTitleUnreadableText(path), Dialogs::Icon::Warning);
        return;
    }
    if (path == remembered && !m_document.isModified())
        return;
    if (loadHelpFile(path))
        m_lastFolder = fileDirectoryOf(path);
    m_editor->setFocus();
}

} // namespace quillo::maker
