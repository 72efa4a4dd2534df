// The authoring window's file commands and recent-file list.
#include "core/fileerror.h"
#include "maker/shell/companionwindows.h"
#include "maker/shell/mainwindow.h"
#include "maker/shell/shelllogic.h"
#include "maker/shell/shelltexts.h"
#include "winsvc/hourglass.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/wincolor.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quillo {

namespace {

const QString FileFilter = QStringLiteral("Quilloﾌｧｲﾙ (*.qzd)");

// 0 when the file can be opened for reading, else its file error number.
int openForReadingError(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fileErrorNumberFromErrno(errno, path);
    ::close(fd);
    return FileError::None;
}

} // namespace

QString MakerMainWindow::lastFolderOrCurrent() const {
    return m_lastFolder.isEmpty() ? QDir::currentPath() : m_lastFolder;
}

bool MakerMainWindow::askAboutChanges(const QString& title) {
    if (!m_documentChanged)
        return true;
    const Dialogs::Answer answer =
        m_dialogs.ask(this, title, askSaveChangesText(m_doc.filePath), Dialogs::Icon::Information,
                      Dialogs::Buttons::YesNoCancel);
    if (answer == Dialogs::Answer::Cancel)
        return false;
    // A save that did not happen (failed, refused or its dialog cancelled) ends the command:
    // going on would throw away the changes the writer just asked to keep.
    return answer == Dialogs::Answer::No || saveForQuestion();
}

bool MakerMainWindow::saveForQuestion() {
    return m_doc.filePath == unnamedFileName() ? saveFileAs() : saveFile();
}

void MakerMainWindow::newFile() {
    if (!askAboutChanges(QStringLiteral("qzd32Maker 新規ﾌｧｲﾙ作成")))
        return;
    resetEditorPage();
    newDocument();
    m_editor->setFocus();
    clearDocument();
    refreshTitle(TitleMode::TitleOnly);
    refreshFormatting();
}

void MakerMainWindow::openFile() {
    if (!askAboutChanges(QStringLiteral("qzd32Maker ﾌｧｲﾙｵｰﾌﾟﾝ")))
        return;
    const QString path =
        m_dialogs.openFileName(this, QStringLiteral("開く"), lastFolderOrCurrent(), FileFilter);
    if (path.isEmpty())
        return;
    if (path == m_doc.filePath && !m_documentChanged)
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
    m_doc = std::move(*read);
    m_doc.filePath = path;
    m_fileTitle = fileTitleOf(path);
    m_currentPage = 1;
    const quint32 back = quint32(m_doc.displaySettings.backColor);
    m_editor->setBackColor(back);
    QPalette palette = m_frame->palette();
    palette.setColor(QPalette::Window, windowsColorToQColor(back));
    m_frame->setPalette(palette);
    showPageInEditor();
    m_documentChanged = false;
    m_previewLayoutChanged = false;
    m_pageChanged.fill(false);
    // The page undo belonged to the document that was open before.
    forgetPageUndo();
    fillLists();
    refreshTitle(TitleMode::SelectKeyword);
    refreshTitle(TitleMode::SelectContents);
    refreshFormatting();
    addRecentFile(path);
    return true;
}

bool MakerMainWindow::saveFile() {
    m_saveError = 0;
    if (isUnnamed())
        return saveFileAs();
    const QString title = QStringLiteral("qzd32Maker 上書き保存");
    if (isReadOnlyFile(m_doc.filePath)) {
        message(title, writeProtectedText(m_doc.filePath), Dialogs::Icon::Warning);
        // Counts as a failed save, so that the exit question does not end the program
        // with the changes unsaved.
        m_saveError = FileError::PermissionDenied;
        return false;
    }
    m_doc.pageText[m_currentPage] = m_editor->rtf();
    m_pageChanged[m_currentPage] = false;
    if (!writeDocument(m_doc.filePath, title))
        return false;
    refreshTitle(TitleMode::TitleOnly);
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
    storeCurrentPage();
    if (QFileInfo::exists(path) && isReadOnlyFile(path)) {
        message(title, writeProtectedText(path), Dialogs::Icon::Warning);
        m_saveError = FileError::PermissionDenied;
        return false;
    }
    if (!writeDocument(path, title))
        return false;
    // The document takes its new name only once it is stored under it.
    m_doc.filePath = path;
    m_fileTitle = fileTitleOf(path);
    clearChangeFlags();
    refreshTitle(TitleMode::TitleOnly);
    addRecentFile(path);
    return true;
}

bool MakerMainWindow::writeDocument(const QString& path, const QString& title) {
    Hourglass hourglass;
    m_doc.displaySettings.backColor = qint32(m_editor->backColor());
    const WriteResult result = saveHelpFile(path, m_doc);
    if (result.ok())
        return true;
    hourglass.release();
    m_saveError = result.errorNumber != 0 ? result.errorNumber : FileError::OtherBase;
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
    rebuildRecentMenu();
}

void MakerMainWindow::rebuildRecentMenu() {
    m_recentHead->setVisible(true);
    const QStringList& paths = m_recent.paths();
    // Entries are made as the list first needs them and hidden, not deleted, when it
    // shrinks: the entry being chosen may be the one that leaves the list.
    while (m_recentEntries.size() < paths.size()) {
        const int index = int(m_recentEntries.size());
        auto* entry = new QAction(m_fileMenu);
        entry->setObjectName(QStringLiteral("qzd32mk_FileArray"));
        entry->setData(index + 1);
        connect(entry, &QAction::triggered, this, [this, index] { chooseRecentFile(index); });
        m_fileMenu->insertAction(m_recentEnd, entry);
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
    const QString remembered = m_doc.filePath;
    if (m_documentChanged) {
        const Dialogs::Answer answer = m_dialogs.ask(
            this, QStringLiteral("qzd32Maker ﾌｧｲﾙ保存"), askSaveChangesText(m_doc.filePath),
            Dialogs::Icon::Information, Dialogs::Buttons::YesNoCancel);
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
    if (path == remembered && !m_documentChanged)
        return;
    if (loadHelpFile(path))
        m_lastFolder = fileDirectoryOf(path);
    m_editor->setFocus();
}

} // namespace quillo
