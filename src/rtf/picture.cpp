#include "rtf/picture.h"

#include "rtf/units.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <atomic>

namespace quillo::rtf {
namespace {

constexpr int kMaxShownPixels = 4000;
// Placeholder boxes are drawn at most this large and scaled to the size they stand for.
constexpr int kMaxPlaceholderSide = 128;

// How many pixels one byte of picture data can stand for at most: what deflate packs at best
// (about 1:1032) at one bit a pixel for PNG, a few bits per 8x8 block for JPEG, a two-byte run of
// 255 pixels for run-length coded bitmaps. Data that announces more pixels than its bytes can
// hold is cut short or forged: decoded, it would make a huge image out of a few bytes.
constexpr qint64 kPngPixelsPerByte = 8 * 1032;
constexpr qint64 kJpegPixelsPerByte = 1024;
constexpr qint64 kRunLengthPixelsPerByte = 128;

// The image of the data, or a null image when it is not one, would take more than maxBytes, or
// announces more than maxPixelsPerByte pixels for each byte of the data.
QImage readImage(const QByteArray& data, const char* format, qint64 maxBytes,
                 qint64 maxPixelsPerByte) {
    QByteArray bytes = data;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size(); // from the header, without decoding
    if (!size.isValid())
        return QImage();
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels * 4 > maxBytes || pixels > qint64(data.size()) * maxPixelsPerByte)
        return QImage();
    return reader.read();
}

// A little-endian number inside the data; 0 past its end.
template <typename T> T le(const QByteArray& d, qsizetype at) {
    if (at < 0 || at + qsizetype(sizeof(T)) > d.size())
        return 0;
    return qFromLittleEndian<T>(d.constData() + at);
}

quint32 u32(const QByteArray& d, qsizetype at) {
    return le<quint32>(d, at);
}

quint16 u16(const QByteArray& d, qsizetype at) {
    return le<quint16>(d, at);
}

// A device-independent bitmap (header, colour table, bits) as a BMP file Qt can read.
QImage imageOfDib(const QByteArray& dib, qint64 maxBytes) {
    const quint32 headerSize = u32(dib, 0);
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return QImage();
    quint32 paletteBytes = 0;
    quint16 bits = 0;
    quint32 compression = 0;
    if (headerSize == 12) {
        bits = u16(dib, 10);
        paletteBytes = bits <= 8 ? (1u << bits) * 3 : 0;
    } else {
        bits = u16(dib, 14);
        compression = u32(dib, 16);
        const quint32 used = u32(dib, 32);
        const quint32 colours =
            used != 0 ? std::min<quint32>(used, 256) : (bits <= 8 ? 1u << bits : 0);
        paletteBytes = colours * 4;
        if (headerSize == 40 && (compression == 3 || compression == 6))
            paletteBytes += compression == 3 ? 12 : 16; // the colour masks follow the header
    }
    // Uncompressed bits take bits/8 bytes a pixel; the other codings pack at most as tightly as
    // their own kind of data does.
    qint64 pixelsPerByte = kRunLengthPixelsPerByte;
    if (compression == 0 || compression == 3 || compression == 6)
        pixelsPerByte = std::max<qint64>(8 / std::max<quint16>(bits, 1), 1);
    else if (compression == 4)
        pixelsPerByte = kJpegPixelsPerByte;
    else if (compression == 5)
        pixelsPerByte = kPngPixelsPerByte;
    QByteArray file;
    file.reserve(14 + dib.size());
    const quint32 fileSize = quint32(14 + dib.size());
    const quint32 bitsOffset = 14 + headerSize + paletteBytes;
    file.append("BM", 2);
    for (quint32 v : {fileSize, quint32(0), bitsOffset}) {
        const quint32 le = qToLittleEndian(v);
        file.append(reinterpret_cast<const char*>(&le), 4);
    }
    file.append(dib);
    return readImage(file, "BMP", maxBytes, pixelsPerByte);
}

// The largest bitmap a Windows metafile draws (StretchDIBits, DIBStretchBlt, DIBBitBlt,
// SetDIBitsToDevice): what older rich-edit controls stored inserted pictures as.
QImage imageOfWmf(const QByteArray& wmf, qint64 maxBytes) {
    qsizetype pos = 0;
    if (u32(wmf, 0) == 0x9AC6CDD7u)
        pos = 22;                            // placeable header
    pos += qsizetype(u16(wmf, pos + 2)) * 2; // the metafile header's own size in words
    QByteArray best;
    while (pos + 6 <= wmf.size()) {
        const qint64 size = qint64(u32(wmf, pos)) * 2;
        const quint16 function = u16(wmf, pos + 4);
        if (size < 6 || pos + size > wmf.size() || function == 0)
            break;
        // Where the bitmap starts in each record that carries one.
        static const std::pair<quint16, qsizetype> bitmapRecords[] = {
            {0x0F43, 28}, // META_STRETCHDIB
            {0x0B41, 26}, // META_DIBSTRETCHBLT
            {0x0940, 22}, // META_DIBBITBLT
            {0x0D33, 24}, // META_SETDIBTODEV
        };
        qsizetype dibAt = -1;
        for (const auto& [record, offset] : bitmapRecords)
            if (record == function)
                dibAt = offset;
        if (dibAt > 0 && size > dibAt + 12 && size - dibAt > best.size())
            best = wmf.mid(pos + dibAt, size - dibAt);
        pos += size;
    }
    return best.isEmpty() ? QImage() : imageOfDib(best, maxBytes);
}

// The largest bitmap of an enhanced metafile (EMR_STRETCHDIBITS, EMR_SETDIBITSTODEVICE,
// EMR_BITBLT, EMR_STRETCHBLT).
QImage imageOfEmf(const QByteArray& emf, qint64 maxBytes) {
    qsizetype pos = 0;
    QByteArray best;
    while (pos + 8 <= emf.size()) {
        const quint32 type = u32(emf, pos);
        const quint32 size = u32(emf, pos + 4);
        if (size < 8 || pos + qint64(size) > emf.size())
            break;
        qsizetype fields = -1;
        if (type == 81 || type == 80)
            fields = 48;
        else if (type == 76 || type == 77)
            fields = 84;
        if (fields > 0 && size >= quint32(fields + 16)) {
            const quint32 offBmi = u32(emf, pos + fields), cbBmi = u32(emf, pos + fields + 4);
            const quint32 offBits = u32(emf, pos + fields + 8),
                          cbBits = u32(emf, pos + fields + 12);
            if (cbBmi >= 12 && qint64(offBmi) + cbBmi <= size && qint64(offBits) + cbBits <= size &&
                qsizetype(cbBmi + cbBits) > best.size())
                best = emf.mid(pos + offBmi, cbBmi) + emf.mid(pos + offBits, cbBits);
        }
        if (type == 14) // EMR_EOF
            break;
        pos += size;
    }
    return best.isEmpty() ? QImage() : imageOfDib(best, maxBytes);
}

QSize ownSize(const Picture& p, const QImage& decoded) {
    if (!decoded.isNull())
        return decoded.size();
    if (p.kind == PictureKind::Png || p.kind == PictureKind::Jpeg) {
        QByteArray data = p.data;
        QBuffer buffer(&data);
        QImageReader reader(&buffer);
        const QSize s = reader.size();
        if (s.isValid())
            return s;
    }
    if ((p.kind == PictureKind::Wmf || p.kind == PictureKind::Emf) && p.picW > 0 && p.picH > 0)
        return QSize(p.picW * 96 / 2540, p.picH * 96 / 2540); // 0.01 mm
    if (p.picW > 0 && p.picH > 0)
        return QSize(p.picW, p.picH);
    return QSize(32, 32);
}

std::atomic<quint64> pictureCounter{0};

// A picture that has no format of its own to keep is stored as PNG.
QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

QSize displaySize(const Picture& p, const QImage& decoded) {
    qreal w, h;
    if (p.goalW > 0 && p.goalH > 0) {
        w = twipsToPixels(p.goalW);
        h = twipsToPixels(p.goalH);
    } else {
        const QSize own = ownSize(p, decoded);
        w = own.width();
        h = own.height();
    }
    w = w * p.scaleX / 100;
    h = h * p.scaleY / 100;
    return QSize(std::clamp(qRound(w), 1, kMaxShownPixels),
                 std::clamp(qRound(h), 1, kMaxShownPixels));
}

QImage decodePicture(const Picture& p, qint64 maxBytes) {
    switch (p.kind) {
    case PictureKind::Png:
        return readImage(p.data, "PNG", maxBytes, kPngPixelsPerByte);
    case PictureKind::Jpeg:
        return readImage(p.data, "JPEG", maxBytes, kJpegPixelsPerByte);
    case PictureKind::Dib:
        return imageOfDib(p.data, maxBytes);
    case PictureKind::Wmf:
        return imageOfWmf(p.data, maxBytes);
    case PictureKind::Emf:
        return imageOfEmf(p.data, maxBytes);
    default:
        return QImage();
    }
}

QImage pictureImage(const Picture& p, QSize* shownSize, PictureBudget* budget) {
    const qint64 maxBytes = budget ? budget->bytesLeft : PictureBudget{}.bytesLeft;
    QImage image = decodePicture(p, maxBytes);
    const QSize shown = displaySize(p, image);
    if (shownSize)
        *shownSize = shown;
    if (image.isNull()) {
        // A framed box stands for data that cannot be drawn. It is drawn small and scaled to the
        // size it stands for, so an announced size never becomes an image that large.
        QSize size = shown;
        if (size.width() > kMaxPlaceholderSide || size.height() > kMaxPlaceholderSide)
            size = size.scaled(kMaxPlaceholderSide, kMaxPlaceholderSide, Qt::KeepAspectRatio)
                       .expandedTo(QSize(1, 1));
        if (budget && qint64(size.width()) * size.height() * 4 > budget->bytesLeft)
            size = QSize(1, 1); // the page has spent what its pictures may take
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
        painter.drawLine(0, 0, size.width() - 1, size.height() - 1);
        painter.drawLine(0, size.height() - 1, size.width() - 1, 0);
    }
    if (budget)
        budget->bytesLeft = std::max<qint64>(0, budget->bytesLeft - image.sizeInBytes());
    return image;
}

QByteArray imageFileBytes(const Picture& p) {
    if (p.kind == PictureKind::Png || p.kind == PictureKind::Jpeg)
        return p.data;
    return pngBytes(pictureImage(p));
}

QTextImageFormat addPicture(QTextDocument& doc, const Picture& p, PictureBudget* budget) {
    const qreal exactW = p.goalW > 0 && p.goalH > 0 ? twipsToPixels(p.goalW) * p.scaleX / 100 : -1;
    const qreal exactH = p.goalW > 0 && p.goalH > 0 ? twipsToPixels(p.goalH) * p.scaleY / 100 : -1;
    QSize shown;
    const QImage image = pictureImage(p, &shown, budget);
    qreal width = exactW > 0 ? exactW : shown.width();
    qreal height = exactH > 0 ? exactH : shown.height();
    if (budget) {
        if (height > budget->heightLeft) {
            const qreal scale = std::max(budget->heightLeft, qreal(1)) / height;
            width = std::max(width * scale, qreal(1));
            height = std::max(height * scale, qreal(1));
        }
        budget->heightLeft = std::max(budget->heightLeft - height, qreal(0));
    }
    const QString name = QStringLiteral("quillo-picture:%1").arg(++pictureCounter);
    doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    // The goal size in twips is kept exactly (fractional pixels), so writing gives it back.
    f.setWidth(width);
    f.setHeight(height);
    if (p.kind != PictureKind::None || !p.objectRtf.isEmpty()) {
        f.setProperty(PictureData, p.data);
        f.setProperty(PictureKindProperty, int(p.kind));
        f.setProperty(PictureSourceWidth, p.picW);
        f.setProperty(PictureSourceHeight, p.picH);
        f.setProperty(PictureMetaMapMode, p.mapMode);
    }
    if (!p.objectRtf.isEmpty())
        f.setProperty(PictureObjectRtf, p.objectRtf);
    return f;
}

Picture pictureOf(const QTextDocument& doc, const QTextImageFormat& f) {
    Picture p;
    if (f.hasProperty(PictureKindProperty)) {
        p.kind = PictureKind(f.intProperty(PictureKindProperty));
        p.data = f.property(PictureData).toByteArray();
        p.picW = f.intProperty(PictureSourceWidth);
        p.picH = f.intProperty(PictureSourceHeight);
        p.mapMode = f.intProperty(PictureMetaMapMode);
        p.objectRtf = f.property(PictureObjectRtf).toByteArray();
    } else {
        const QVariant resource = doc.resource(QTextDocument::ImageResource, QUrl(f.name()));
        QImage image = resource.value<QImage>();
        if (image.isNull())
            image = resource.value<QPixmap>().toImage();
        if (image.isNull() && resource.typeId() == QMetaType::QByteArray)
            image = QImage::fromData(resource.toByteArray()); // a file or data: link's bytes
        if (image.isNull())
            return p;
        p.data = pngBytes(image);
        p.kind = PictureKind::Png;
        p.picW = image.width();
        p.picH = image.height();
    }
    const qreal w = f.width() > 0 ? f.width() : p.picW;
    const qreal h = f.height() > 0 ? f.height() : p.picH;
    p.goalW = pixelsToTwips(w);
    p.goalH = pixelsToTwips(h);
    return p;
}

QSize naturalTwipsSize(const QImage& image) {
    // Qt gives an image whose file declares no resolution the default dots per metre of a new
    // image; such a picture is taken at 96 dots per inch.
    static const int defaultX = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    static const int defaultY = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterY();
    const int dpmX = image.dotsPerMeterX();
    const int dpmY = image.dotsPerMeterY();
    const bool declared = dpmX > 0 && dpmY > 0 && (dpmX != defaultX || dpmY != defaultY);
    const double dpiX = declared ? dpmX * 0.0254 : 96.0;
    const double dpiY = declared ? dpmY * 0.0254 : 96.0;
    return QSize(qRound(image.width() * 1440.0 / dpiX), qRound(image.height() * 1440.0 / dpiY));
}

bool insertPicture(QTextCursor& cursor, const QByteArray& fileData) {
    QByteArray data = fileData;
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    if (image.isNull() || !cursor.document())
        return false;
    Picture p;
    if (format == "png" || format == "jpeg" || format == "jpg") {
        p.kind = format == "png" ? PictureKind::Png : PictureKind::Jpeg;
        p.data = fileData;
    } else {
        p.data = pngBytes(image);
        p.kind = PictureKind::Png;
    }
    p.picW = image.width();
    p.picH = image.height();
    const QSize goal = naturalTwipsSize(image);
    p.goalW = goal.width();
    p.goalH = goal.height();
    cursor.insertImage(addPicture(*cursor.document(), p));
    return true;
}

} // namespace quillo::rtf
