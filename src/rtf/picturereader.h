#pragma once

#include "rtf/picture.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// The pictures ({\pict}) and OLE objects ({\object}) of an RTF page.
namespace quillo::rtf {

// One {\pict} group: its properties and its data, as hex text or \bin bytes.
class PictureReader {
public:
    // wantData: whether the picture's bytes are kept (they are not decoded otherwise).
    explicit PictureReader(bool wantData) : wantData_(wantData) {}

    void begin();
    // \pngblip \jpegblip ... ; mapMode is the N of \wmetafileN and \wbitmapN.
    void setKind(PictureKind kind) { picture_.kind = kind; }
    void setKind(PictureKind kind, int mapMode);
    void setSourceWidth(int value);
    void setSourceHeight(int value);
    void setGoalWidth(int twips);
    void setGoalHeight(int twips);
    void setScaleX(int percent);
    void setScaleY(int percent);
    void appendHex(QByteArrayView text);
    void appendBinary(QByteArrayView bytes);
    // The group closed: its hex text becomes the picture's bytes.
    void finish();

    const Picture& picture() const { return picture_; }

private:
    const bool wantData_;
    Picture picture_;
    QByteArray hex_;
};

// One {\object} group: it shows as its result picture (or a box of its size), and keeps the whole
// group when it reads the same anywhere, so that writing the page gives the object back.
class ObjectReader {
public:
    // groupStart: where the object's group starts in the input.
    void begin(qsizetype groupStart);
    void setWidth(int twips);
    void setHeight(int twips);
    // A picture inside the object: the first one is its result.
    void addPicture(const Picture& picture);
    // The object's result holds text: it cannot stand as one picture.
    void sawText() { hadText_ = true; }
    // The object's group closed at closeOffset of input: the picture that stands for it.
    Picture finish(QByteArrayView input, qsizetype closeOffset);

private:
    std::optional<Picture> picture_;
    qsizetype start_ = -1;
    bool hadText_ = false;
    int width_ = 0;
    int height_ = 0;
};

} // namespace quillo::rtf
