#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTextFormat>

class QTextCursor;
class QTextDocument;
class QTextImageFormat;

namespace quillo::rtf {

// The kinds of picture data RTF carries.
enum class PictureKind { None, Png, Jpeg, Emf, Wmf, Dib, Wbitmap };

// Custom properties a picture's QTextImageFormat carries so that nothing of it is lost when the
// page is written back: the original bytes and their kind, the picture's own size in RTF units
// (\picw \pich) and, for OLE objects, the whole {\object ...} group as it was read.
enum PictureProperty {
    PictureData = QTextFormat::UserProperty + 0x5100, // QByteArray
    PictureKindProperty,                              // int (PictureKind)
    PictureSourceWidth,                               // int, \picw
    PictureSourceHeight,                              // int, \pich
    PictureObjectRtf,                                 // QByteArray, a 7-bit {\object ...} group
    PictureMetaMapMode,                               // int, \wmetafileN / \wbitmapN
};

// One picture as found in (or destined for) RTF.
struct Picture {
    PictureKind kind = PictureKind::None;
    QByteArray data;      // the picture's bytes (no BMP file header for Dib)
    int picW = 0;         // \picw: pixels for bitmaps, 0.01 mm for metafiles
    int picH = 0;         // \pich
    int goalW = 0;        // \picwgoal in twips (0: unknown)
    int goalH = 0;        // \pichgoal
    int scaleX = 100;     // \picscalex in percent
    int scaleY = 100;     // \picscaley
    int mapMode = 0;      // N of \wmetafileN or \wbitmapN
    QByteArray objectRtf; // the enclosing {\object ...} group, when 7-bit
};

// The size the picture is shown at, in document pixels (goal size and scale, else its own size).
QSize displaySize(const Picture& picture, const QImage& decoded);

// What the images of one page's pictures may take together, so that a small page of many huge
// pictures cannot exhaust the memory (pictures past it show as placeholder boxes), nor make the
// page taller than its layout can reach (pictures past it are shown smaller, down to a pixel).
struct PictureBudget {
    qint64 bytesLeft = 64 * 1024 * 1024;
    qreal heightLeft = 2'000'000; // document pixels, the shown heights added up
};

// The picture as an image Qt can draw: PNG/JPEG/DIB directly, a metafile through the bitmap it
// carries (StretchDIBits and friends); a null image when there is none or when the image would
// take more than maxBytes.
QImage decodePicture(const Picture& picture, qint64 maxBytes = PictureBudget{}.bytesLeft);

// The image shown in the page: the decoded picture, or for data Qt cannot draw a framed box
// (drawn small; the image format scales it to the display size). What the image takes is
// spent from the budget when one is given.
QImage pictureImage(const Picture& picture, QSize* shownSize = nullptr,
                    PictureBudget* budget = nullptr);

// The picture as the bytes of an image file: PNG and JPEG keep their own bytes, other kinds are
// stored as PNG of the image shown (pictureImage).
QByteArray imageFileBytes(const Picture& picture);

// Adds the picture to the document as a resource and returns the image format that shows it,
// with the original data kept in the properties above.
QTextImageFormat addPicture(QTextDocument& doc, const Picture& picture,
                            PictureBudget* budget = nullptr);

// The picture behind an image format of the document (original data when the format carries
// it, otherwise the resource image encoded as PNG); kind None when there is no image.
Picture pictureOf(const QTextDocument& doc, const QTextImageFormat& format);

// The size a picture is shown at by its own resolution, in twips: its pixels at the dots per
// inch the file declares, or at 96 when it declares none.
QSize naturalTwipsSize(const QImage& image);

// Inserts a picture file's bytes at the cursor (PNG and JPEG keep their bytes, every other
// format Qt reads is stored as PNG), sized by its own resolution. Returns false, inserting nothing,
// when Qt cannot read it.
bool insertPicture(QTextCursor& cursor, const QByteArray& fileData);

} // namespace quillo::rtf
