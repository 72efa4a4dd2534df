#include "rtf/picturereader.h"

#include "rtf/tokenizer.h"

#include "core/text.h"

#include <algorithm>

namespace quillo::rtf {
namespace {

constexpr int kMaxGoalTwips = 4 * 31680; // 88 inches

// Whether the bytes are exactly one balanced group.
bool isOneGroup(QByteArrayView rtf) {
    Tokenizer tokens(rtf);
    Token t;
    int depth = 0;
    for (tokens.next(t); t.type != TokenType::End; tokens.next(t)) {
        if (t.type == TokenType::GroupOpen)
            ++depth;
        else if (t.type == TokenType::GroupClose && --depth == 0)
            return tokens.position() == rtf.size();
        else if (depth == 0)
            return false;
    }
    return false;
}

} // namespace

void PictureReader::begin() {
    picture_ = Picture{};
    hex_.clear();
}

void PictureReader::setKind(PictureKind kind, int mapMode) {
    picture_.kind = kind;
    picture_.mapMode = std::clamp(mapMode, 0, 64);
}

void PictureReader::setSourceWidth(int value) {
    picture_.picW = std::clamp(value, 0, 1000000);
}

void PictureReader::setSourceHeight(int value) {
    picture_.picH = std::clamp(value, 0, 1000000);
}

void PictureReader::setGoalWidth(int twips) {
    picture_.goalW = std::clamp(twips, 0, kMaxGoalTwips);
}

void PictureReader::setGoalHeight(int twips) {
    picture_.goalH = std::clamp(twips, 0, kMaxGoalTwips);
}

void PictureReader::setScaleX(int percent) {
    picture_.scaleX = std::clamp(percent, 1, 1000);
}

void PictureReader::setScaleY(int percent) {
    picture_.scaleY = std::clamp(percent, 1, 1000);
}

void PictureReader::appendHex(QByteArrayView text) {
    if (wantData_)
        hex_.append(text);
}

void PictureReader::appendBinary(QByteArrayView bytes) {
    if (wantData_)
        picture_.data.append(bytes);
}

// Hex digits pair up across line breaks and blanks; other characters are passed over.
void PictureReader::finish() {
    if (wantData_ && picture_.data.isEmpty()) {
        picture_.data.reserve(hex_.size() / 2);
        int high = -1;
        for (char c : std::as_const(hex_)) {
            const int v = hexDigitValue(c);
            if (v < 0)
                continue;
            if (high < 0) {
                high = v;
            } else {
                picture_.data.append(char(high * 16 + v));
                high = -1;
            }
        }
    }
    hex_.clear();
}

void ObjectReader::begin(qsizetype groupStart) {
    hadText_ = false;
    start_ = groupStart;
    picture_.reset();
    width_ = height_ = 0;
}

void ObjectReader::setWidth(int twips) {
    width_ = std::clamp(twips, 0, kMaxGoalTwips);
}

void ObjectReader::setHeight(int twips) {
    height_ = std::clamp(twips, 0, kMaxGoalTwips);
}

void ObjectReader::addPicture(const Picture& picture) {
    if (!picture_)
        picture_ = picture;
}

Picture ObjectReader::finish(QByteArrayView input, qsizetype closeOffset) {
    Picture picture = picture_ ? *picture_ : Picture{};
    picture_.reset();
    if (picture.kind == PictureKind::None && picture.goalW == 0) {
        picture.goalW = width_;
        picture.goalH = height_;
    }
    if (start_ >= 0 && closeOffset >= start_ && !hadText_) {
        const QByteArrayView group = input.sliced(start_, closeOffset + 1 - start_);
        const bool sevenBit = std::all_of(group.begin(), group.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x80 && c != 0;
        });
        // Kept only when it reads the same anywhere: 7-bit, no escaped bytes (which could pair
        // with what surrounds them), no binary data, and braces that balance.
        if (sevenBit && !group.contains(QByteArrayView("\\bin")) &&
            !group.contains(QByteArrayView("\\'")) && isOneGroup(group))
            picture.objectRtf = group.toByteArray();
    }
    start_ = -1;
    return picture;
}

} // namespace quillo::rtf
