#include "maker/media/imagewindow.h"

#include "core/fileerror.h"
#include "core/text.h"
#include "maker/document/makerdocument.h"
#include "rtf/picture.h"
#include "winsvc/hourglass.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <cerrno>

namespace quillo::maker {

namespace {

const QString DriveTitle = QStringLiteral("qzd32mk BMPﾌｧｲﾙ挿入");
const QString PreviewTitle = QStringLiteral("qzd32mk 画像挿入");

// The preview frame and the box a large picture is clipped to, in twips.
constexpr int BoxLimit = 1785;
constexpr int BoxLeft = 120;
constexpr int BoxTop = 270;
constexpr int FrameWidth = BoxLeft + BoxLimit + BoxLeft;
constexpr int FrameHeight = BoxTop + BoxLimit + BoxLeft;

// The error Qt's picture loading stands for when a readable file holds no picture it knows.
constexpr int InvalidPicture = 481;

bool isRemovableMount(const QString& root) {
    return root.startsWith(QLatin1String("/media/")) ||
           root.startsWith(QLatin1String("/run/media/")) || root.startsWith(QLatin1String("/mnt/"));
}

QString driveText(const PictureDrive& drive) {
    return drive.name == drive.path ? drive.path
                                    : drive.name + QStringLiteral(" (") + drive.path + u')';
}

QString withSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

QList<PictureDrive> pictureDrives() {
    QList<PictureDrive> drives;
    drives.append({QStringLiteral("/"), QStringLiteral("/")});
    drives.append({QDir::home().dirName(), QDir::homePath()});
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (isRemovableMount(volume.rootPath()))
            drives.append({volume.displayName(), volume.rootPath()});
    }
    return drives;
}

bool isDriveReady(const PictureDrive& drive) {
    const QFileInfo info(drive.path);
    if (!info.isDir() || !info.isReadable())
        return false;
    // A removable drive is ready only while something is mounted at its place.
    if (isRemovableMount(drive.path)) {
        const QStorageInfo volume(drive.path);
        return volume.isValid() && volume.isReady() &&
               QDir::cleanPath(volume.rootPath()) == QDir::cleanPath(drive.path);
    }
    return true;
}

QString imageHelpText() {
    const QStringList lines = {
        QStringLiteral("【bmpファイルアプリケーションとの関連付けについて】"),
        QStringLiteral("埋め込めるのは bmp・jpg（jpeg）・gif・png 形式の画像ファイルです。"),
        QStringLiteral("jpg と png はそのまま、bmp と gif は png に変換してページに格納します。"),
        QString(),
        QStringLiteral("画像はページの一部として保存され、ビューアでの表示や印刷にも使われます。"),
        QString(),
        QStringLiteral("【ディスプレイ表示イメージからビットマップファイル作成方法】"),
        QStringLiteral(
            "デスクトップのスクリーンショットキー（PrintScreen）またはスクリーンショット"),
        QStringLiteral("ツールでウィンドウのイメージを取得し､画像処理アプリケーションを起動して"),
        QStringLiteral("貼付け等により編集し、png などの画像ファイルとして保存します｡ "),
    };
    return lines.join(u'\n') + u'\n';
}

ImageWindow::ImageWindow(const ImageWindowParts& parts, QWidget* mainWindow)
    : ToolWindow(mainWindow, *parts.offset), m_p(parts), m_drives(pictureDrives()) {
    setObjectName(QStringLiteral("qzd32mk_bmp"));
    setWindowTitle(QStringLiteral("ｲﾒｰｼﾞ埋め込み"));
    auto* layout = new QHBoxLayout(this);

    auto* files = new QGroupBox(QStringLiteral("ﾌｧｲﾙ設定（bmp/jpg/gifﾌｧｲﾙ）"), this);
    auto* filesLayout = new QVBoxLayout(files);
    m_driveList = new QComboBox(files);
    m_driveList->setObjectName(QStringLiteral("Drive1"));
    m_driveList->setAccessibleName(QStringLiteral("ドライブ"));
    m_folders = new QListWidget(files);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setAccessibleName(QStringLiteral("フォルダ"));
    m_files = new QListWidget(files);
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setAccessibleName(QStringLiteral("画像ファイル"));
    for (QWidget* list : {static_cast<QWidget*>(m_folders), static_cast<QWidget*>(m_files)})
        list->setMinimumSize(twipsToPixels(2800, Qt::Horizontal),
                             twipsToPixels(1300, Qt::Vertical));
    filesLayout->addWidget(m_driveList);
    filesLayout->addWidget(m_folders);
    filesLayout->addWidget(m_files);
    layout->addWidget(files);

    auto* right = new QVBoxLayout;
    m_previewFrame = new QGroupBox(QStringLiteral("bmp/jpg/gif ﾌﾟﾚﾋﾞｭｰ"), this);
    m_previewFrame->setFixedSize(twipsToPixels(FrameWidth, Qt::Horizontal),
                                 twipsToPixels(FrameHeight, Qt::Vertical));
    m_picture = new QLabel(m_previewFrame);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->hide();
    right->addWidget(m_previewFrame);
    const auto addButton = [this, right](const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        right->addWidget(button);
        return button;
    };
    QPushButton* embedButton = addButton(QStringLiteral("埋め込み"), "Command1");
    QPushButton* closeButton = addButton(QStringLiteral("終了"), "Command2");
    QPushButton* helpButton = addButton(QStringLiteral("ﾍﾙﾌﾟ(&H)"), "bmp_help");
    right->addStretch();
    layout->addLayout(right);

    connect(m_driveList, &QComboBox::activated, this, &ImageWindow::chooseDrive);
    connect(m_folders, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openFolder(item->data(Qt::UserRole).toString()); });
    connect(m_files, &QListWidget::currentRowChanged, this, &ImageWindow::previewFile);
    connect(embedButton, &QPushButton::clicked, this, &ImageWindow::embed);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(helpButton, &QPushButton::clicked, this, &ImageWindow::showHelp);
    fillDrives();
}

void ImageWindow::setDrives(const QList<PictureDrive>& drives) {
    m_drives = drives;
    fillDrives();
}

void ImageWindow::fillDrives() {
    m_driveList->clear();
    for (const PictureDrive& drive : m_drives)
        m_driveList->addItem(driveText(drive));
    m_driveIndex = m_folder.isEmpty() ? -1 : driveIndexOf(m_folder);
    m_driveList->setCurrentIndex(m_driveIndex);
}

// The drive whose mount point holds the folder (the innermost one).
int ImageWindow::driveIndexOf(const QString& folder) const {
    int best = -1;
    qsizetype bestLength = -1;
    const QString path = withSlash(QDir::cleanPath(folder));
    for (int i = 0; i < m_drives.size(); ++i) {
        const QString root = withSlash(QDir::cleanPath(m_drives[i].path));
        if (path.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

void ImageWindow::warnDriveNotReady(const QString& folder, const QString& title,
                                    Dialogs::Icon icon) {
    const int index = driveIndexOf(folder);
    const QString name = index >= 0 ? m_drives[index].name : folder;
    m_p.dialogs->ask(this, title, name + QStringLiteral(" ドライブの準備ができていません。"), icon,
                     Dialogs::Buttons::Ok);
}

// Opening ----------------------------------------------------------------------------------

void ImageWindow::open() {
    placeAtOffset();
    const QString start = m_lastFolder.isEmpty() ? QDir::currentPath() : m_lastFolder;
    const int drive = driveIndexOf(start);
    if (drive >= 0 && !isDriveReady(m_drives[drive])) {
        warnDriveNotReady(start, DriveTitle, Dialogs::Icon::Warning);
    } else if (!QFileInfo(start).isDir()) {
        m_p.dialogs->ask(this, DriveTitle,
                         QStringLiteral("ERR NO. = ") +
                             numberText(fileErrorNumberFromErrno(ENOENT, withSlash(start))),
                         Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
    } else {
        openFolder(start);
    }
    show();
    raise();
    activateWindow();
}

void ImageWindow::chooseDrive(int index) {
    if (index < 0 || index >= m_drives.size())
        return;
    Hourglass hourglass;
    if (!isDriveReady(m_drives[index])) {
        hourglass.release();
        m_p.dialogs->ask(this, DriveTitle,
                         m_drives[index].name + QStringLiteral(" ドライブの準備ができていません。"),
                         Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        // The lists keep showing the folder they showed.
        m_driveList->setCurrentIndex(m_driveIndex);
        return;
    }
    openFolder(m_drives[index].path);
}

bool ImageWindow::openFolder(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists())
        return false;
    m_folder = QDir::cleanPath(dir.absolutePath());
    m_driveIndex = driveIndexOf(m_folder);
    m_driveList->setCurrentIndex(m_driveIndex);
    fillFolders();
    hidePreview();
    // What is not shown cannot be embedded: a new folder starts with no file selected.
    m_selected.clear();
    const QSignalBlocker blocker(m_files);
    m_files->clear();
    m_files->addItems(
        dir.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.gif"),
                       QStringLiteral("*.png"), QStringLiteral("*.jpeg")},
                      QDir::Files, QDir::Name | QDir::IgnoreCase));
    if (m_files->count() > 0) {
        m_files->setCurrentRow(0);
        previewFile(0);
    }
    return true;
}

// The folder list: the path from the drive's root down to the folder, then its subfolders,
// each indented by its depth. Activating a line opens that folder.
void ImageWindow::fillFolders() {
    m_folders->clear();
    const QString root =
        m_driveIndex >= 0 ? QDir::cleanPath(m_drives[m_driveIndex].path) : QStringLiteral("/");
    QStringList chain;
    for (QString at = m_folder;; at = QFileInfo(at).path()) {
        chain.prepend(at);
        if (at == root || QDir(at).isRoot())
            break;
    }
    int depth = 0;
    const auto add = [this](const QString& path, int depth, const QString& label) {
        auto* item = new QListWidgetItem(QString(depth * 2, u' ') + label, m_folders);
        item->setData(Qt::UserRole, path);
    };
    for (const QString& path : chain) {
        const QString label = path == chain.first() ? path : QFileInfo(path).fileName();
        add(path, depth++, label);
    }
    m_folders->setCurrentRow(int(chain.size()) - 1);
    const QDir dir(m_folder);
    for (const QString& sub :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        add(dir.filePath(sub), depth, sub);
}

// Preview ----------------------------------------------------------------------------------

void ImageWindow::hidePreview() {
    m_picture->hide();
    m_picture->clear();
}

void ImageWindow::previewFile(int row) {
    if (row < 0 || row >= m_files->count())
        return;
    Hourglass hourglass;
    const QString path = withSlash(m_folder) + m_files->item(row)->text();
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        int error = openForReadingError(path);
        if (error == FileError::None)
            error = InvalidPicture;
        hourglass.release();
        hidePreview();
        if (error == FileError::BadFileName || error == FileError::DeviceUnavailable)
            warnDriveNotReady(m_folder, PreviewTitle, Dialogs::Icon::Warning);
        else
            m_p.dialogs->ask(this, PreviewTitle, errorNumberText(error), Dialogs::Icon::Warning,
                             Dialogs::Buttons::Ok);
        m_selected.clear();
    } else {
        const QSize twips = rtf::naturalTwipsSize(image);
        const QSize shown(twipsToPixels(twips.width(), Qt::Horizontal),
                          twipsToPixels(twips.height(), Qt::Vertical));
        m_picture->setPixmap(QPixmap::fromImage(
            image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        const int frameW = twipsToPixels(FrameWidth, Qt::Horizontal);
        const int frameH = twipsToPixels(FrameHeight, Qt::Vertical);
        if (twips.width() < BoxLimit && twips.height() < BoxLimit) {
            m_picture->setGeometry((frameW - shown.width()) / 2, (frameH - shown.height()) / 2,
                                   shown.width(), shown.height());
        } else {
            m_picture->setGeometry(
                twipsToPixels(BoxLeft, Qt::Horizontal), twipsToPixels(BoxTop, Qt::Vertical),
                twipsToPixels(BoxLimit, Qt::Horizontal), twipsToPixels(BoxLimit, Qt::Vertical));
        }
        m_picture->show();
        m_selected = path;
    }
    m_lastFolder = withSlash(m_folder);
}

// Embedding --------------------------------------------------------------------------------

void ImageWindow::embed() {
    if (!m_selected.isEmpty())
        embedPictureFile(m_p, this, m_selected);
}

bool embedPictureFile(const ImageWindowParts& parts, QWidget* boxParent, const QString& path) {
    const QFileInfo info(path);
    if (info.size() > ImageWindow::LargeFileBytes) {
        const Dialogs::Answer answer = parts.dialogs->ask(
            boxParent, QStringLiteral("qzd32Maker BMPﾌｧｲﾙ挿入"),
            QStringLiteral("選択画像が大きすぎます。非常に動作が遅くなる可能性があります。\n"
                           "この画像を組込みますか。"),
            Dialogs::Icon::Information, Dialogs::Buttons::YesNo);
        if (answer != Dialogs::Answer::Yes)
            return false;
    }
    Hourglass hourglass;
    RichTextControl& editor = *parts.editor;
    const int readError = openForReadingError(path);
    if (readError != FileError::None || !editor.insertPicture(path)) {
        hourglass.release();
        const QString reason = readError != FileError::None
                                   ? errorNumberText(readError)
                                   : QStringLiteral("画像として読み込めません。");
        parts.dialogs->ask(boxParent, PreviewTitle,
                           QStringLiteral("画像を埋め込めませんでした。\n") + path + u'\n' + reason,
                           Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
        return false;
    }
    parts.document->noteEditorEdit();
    // The page table takes the page with its picture at once, and the editor shows the page
    // as stored.
    const int caret = editor.selStart();
    parts.document->storeAndReloadShownPage();
    editor.setSelStart(caret);
    editor.setFocus();
    return true;
}

void ImageWindow::showHelp() {
    m_p.dialogs->ask(this, QStringLiteral("qzd32maker ｲﾒｰｼﾞ埋め込み"), imageHelpText(),
                     Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

// Closing ----------------------------------------------------------------------------------

// However the window closes (終了, Esc), nothing stays selected.
void ImageWindow::closeEvent(QCloseEvent* event) {
    m_selected.clear();
    ToolWindow::closeEvent(event);
}

} // namespace quillo::maker
