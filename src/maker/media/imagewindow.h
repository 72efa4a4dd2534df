#pragma once

#include "maker/common/settingsfile.h"
#include "maker/media/toolwindow.h"
#include "winsvc/dialogs.h"

#include <QList>
#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quillo {
class RichTextControl;
}

namespace quillo::maker {

class MakerDocument;

// A place pictures are picked from: a mounted volume or the home folder.
struct PictureDrive {
    QString name; // the volume's display name
    QString path; // where it is mounted
};

// The drives a writer picks pictures from: the root, the home folder and mounted removable
// media.
QList<PictureDrive> pictureDrives();
// Mounted where it says and readable.
bool isDriveReady(const PictureDrive& drive);

// What the image window works on.
struct ImageWindowParts {
    Dialogs* dialogs = nullptr;
    MakerDocument* document = nullptr;
    RichTextControl* editor = nullptr;
    DialogOffset* offset = nullptr; // must be given
};

// `qzd32mk_bmp`: browses drives and folders for pictures, previews the one clicked and
// embeds it at the page editor's caret. It stays open after embedding, so that several
// pictures can be placed one after the other.
class ImageWindow : public ToolWindow {
    Q_OBJECT
public:
    ImageWindow(const ImageWindowParts& parts, QWidget* mainWindow);

    // Shows the window in the folder last used during this run (the current folder at first).
    void open();
    // The drives offered instead of the system's (tests).
    void setDrives(const QList<PictureDrive>& drives);

    QString selectedFile() const { return m_selected; }
    QString lastFolder() const { return m_lastFolder; }
    QString folder() const { return m_folder; }

    // Files larger than this are embedded only after a question.
    static constexpr qint64 LargeFileBytes = 100000;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillDrives();
    int driveIndexOf(const QString& folder) const;
    void chooseDrive(int index);
    bool openFolder(const QString& folder);
    void fillFolders();
    void previewFile(int row);
    void hidePreview();
    void embed();
    void showHelp();
    void warnDriveNotReady(const QString& folder, const QString& title, Dialogs::Icon icon);

    ImageWindowParts m_p;
    QList<PictureDrive> m_drives;
    QComboBox* m_driveList = nullptr; // Drive1
    QListWidget* m_folders = nullptr; // Dir1
    QListWidget* m_files = nullptr;   // File1
    QGroupBox* m_previewFrame = nullptr;
    QLabel* m_picture = nullptr; // Picture1
    int m_driveIndex = -1;
    QString m_folder;
    QString m_selected;
    QString m_lastFolder;
};

// Embeds the picture file at the page editor's caret as 埋め込み does: asks before a large
// file, says why a file cannot be embedded (boxes over `boxParent`), and stores the page.
// True when the picture was embedded.
bool embedPictureFile(const ImageWindowParts& parts, QWidget* boxParent, const QString& path);

// The help message of the image window.
QString imageHelpText();

} // namespace quillo::maker
