#include "winsvc/desktoprecent.h"

#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace quillo {

namespace {

const QString FreedesktopOwner = QStringLiteral("http://freedesktop.org");

// The first child element of `parent` named `name`, made when there is none.
QDomElement childElement(QDomDocument& doc, QDomElement parent, const QString& name) {
    QDomElement child = parent.firstChildElement(name);
    if (child.isNull())
        child = parent.appendChild(doc.createElement(name)).toElement();
    return child;
}

// The freedesktop.org metadata of a bookmark, made when missing.
QDomElement freedesktopMetadata(QDomDocument& doc, QDomElement bookmark) {
    QDomElement info = childElement(doc, bookmark, QStringLiteral("info"));
    for (QDomElement m = info.firstChildElement(QStringLiteral("metadata")); !m.isNull();
         m = m.nextSiblingElement(QStringLiteral("metadata")))
        if (m.attribute(QStringLiteral("owner")) == FreedesktopOwner)
            return m;
    QDomElement metadata = doc.createElement(QStringLiteral("metadata"));
    metadata.setAttribute(QStringLiteral("owner"), FreedesktopOwner);
    info.appendChild(metadata);
    return metadata;
}

void recordUse(QDomDocument& doc, QDomElement bookmark, const QString& program,
               const QString& mimeType, const QString& now) {
    bookmark.setAttribute(QStringLiteral("modified"), now);
    bookmark.setAttribute(QStringLiteral("visited"), now);
    QDomElement metadata = freedesktopMetadata(doc, bookmark);
    QDomElement type = childElement(doc, metadata, QStringLiteral("mime:mime-type"));
    if (!type.hasAttribute(QStringLiteral("type")))
        type.setAttribute(QStringLiteral("type"), mimeType);
    QDomElement applications = childElement(doc, metadata, QStringLiteral("bookmark:applications"));
    QDomElement application;
    for (QDomElement a = applications.firstChildElement(QStringLiteral("bookmark:application"));
         !a.isNull(); a = a.nextSiblingElement(QStringLiteral("bookmark:application")))
        if (a.attribute(QStringLiteral("name")) == program)
            application = a;
    if (application.isNull()) {
        application = doc.createElement(QStringLiteral("bookmark:application"));
        application.setAttribute(QStringLiteral("name"), program);
        application.setAttribute(QStringLiteral("count"), 0);
        applications.appendChild(application);
    }
    application.setAttribute(QStringLiteral("exec"), QStringLiteral("'%1 %u'").arg(program));
    application.setAttribute(QStringLiteral("modified"), now);
    application.setAttribute(QStringLiteral("count"),
                             application.attribute(QStringLiteral("count")).toInt() + 1);
}

} // namespace

QString desktopRecentFilesPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/recently-used.xbel");
}

bool addToDesktopRecentFiles(const QString& path, const QString& program, const QString& mimeType) {
    const QString listPath = desktopRecentFilesPath();
    QDomDocument doc;
    if (QFile file(listPath); file.exists()) {
        // Read without namespace processing: the elements keep the prefixes ("bookmark:",
        // "mime:") that every writer of this list uses, and are written back as they were.
        if (!file.open(QIODevice::ReadOnly) || !doc.setContent(&file) ||
            doc.documentElement().tagName() != QLatin1String("xbel"))
            return false;
    } else {
        doc.appendChild(doc.createProcessingInstruction(
            QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
        QDomElement root = doc.createElement(QStringLiteral("xbel"));
        root.setAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        root.setAttribute(QStringLiteral("xmlns:bookmark"),
                          QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks"));
        root.setAttribute(QStringLiteral("xmlns:mime"),
                          QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
        doc.appendChild(root);
    }
    QDomElement root = doc.documentElement();
    const QString href =
        QString::fromLatin1(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded());
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    QDomElement bookmark;
    for (QDomElement b = root.firstChildElement(QStringLiteral("bookmark")); !b.isNull();
         b = b.nextSiblingElement(QStringLiteral("bookmark")))
        if (b.attribute(QStringLiteral("href")) == href)
            bookmark = b;
    if (bookmark.isNull()) {
        bookmark = doc.createElement(QStringLiteral("bookmark"));
        bookmark.setAttribute(QStringLiteral("href"), href);
        bookmark.setAttribute(QStringLiteral("added"), now);
        root.appendChild(bookmark);
    }
    recordUse(doc, bookmark, program, mimeType, now);

    QDir().mkpath(QFileInfo(listPath).path());
    QSaveFile out(listPath);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(doc.toByteArray(2));
    return out.commit();
}

} // namespace quillo
