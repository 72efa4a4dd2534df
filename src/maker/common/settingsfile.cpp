#include "maker/common/settingsfile.h"

#include "core/atomicfile.h"
#include "core/fileerror.h"
#include "core/text.h"
#include "maker/common/filereasons.h"

#include <QFile>

#include <cerrno>
#include <cmath>

namespace quillo::maker {
namespace {

// Reads the file line by line; a number line is one field with leading blanks skipped.
class LineReader {
public:
    explicit LineReader(const QByteArray& text) : lines_(text.split('\n')) {
        if (!lines_.isEmpty() && lines_.last().isEmpty())
            lines_.removeLast(); // the line end of the last line opens no further line
        for (QByteArray& l : lines_)
            if (l.endsWith('\r'))
                l.chop(1);
    }
    int line() const { return next_; }

    std::optional<QByteArray> text() {
        if (next_ >= lines_.size())
            return std::nullopt;
        return lines_[next_++];
    }

    // A whole number in [min, max]; the settings hold whole twips, so a fraction is rounded.
    std::optional<qint64> number(qint64 min, qint64 max) {
        const auto t = text();
        if (!t)
            return std::nullopt;
        bool ok = false;
        const double v = t->trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return std::nullopt;
        const double r = std::nearbyint(v);
        if (r < double(min) || r > double(max))
            return std::nullopt;
        return qint64(r);
    }
    std::optional<qint16> int16() {
        const auto v = number(-32768, 32767);
        return v ? std::optional<qint16>(qint16(*v)) : std::nullopt;
    }
    std::optional<qint32> int32() {
        const auto v = number(INT32_MIN, INT32_MAX);
        return v ? std::optional<qint32>(qint32(*v)) : std::nullopt;
    }

private:
    QList<QByteArray> lines_;
    int next_ = 0;
};

void appendLine(QByteArray& out, const QString& line) {
    out.append(line.toUtf8());
    out.append("\r\n");
}

} // namespace

SettingsReadResult parseSettings(const QByteArray& text, MakerSettings& settings) {
    LineReader in(text);
    MakerSettings read; // values as they come; applied only when the whole file was read
    ColourSettings& colours = settings.colours; // stored directly, as read
    auto fail = [&]() {
        const ColourSettings keep = settings.colours;
        settings = MakerSettings{};
        settings.colours = keep;
        SettingsReadResult r;
        r.status = SettingsReadStatus::Failed;
        r.line = in.line();
        return r;
    };
    auto rect = [&](TwipsRect& r) {
        const auto t = in.int16(), l = in.int16(), h = in.int16(), w = in.int16();
        if (!t || !l || !h || !w)
            return false;
        r = {*t, *l, *h, *w};
        return true;
    };
    auto offset = [&](DialogOffset& o) {
        const auto t = in.int16();
        const auto l = in.int16();
        if (!t || !l)
            return false;
        o = {*t, *l};
        return true;
    };

    if (!in.text()) // "<Main>"
        return fail();
    const auto back = in.int32();
    if (!back)
        return fail();
    read.editorBackColor = *back;
    const auto indent = in.text();
    if (!indent)
        return fail();
    read.htmlIndent = (*indent == "True");
    const auto top = in.int32(), left = in.int32(), height = in.int32(), width = in.int32();
    if (!top || !left || !height || !width)
        return fail();
    read.main = {*top, *left, *height, *width};
    if (!in.text() || !in.text() || !offset(read.search) || !in.text())
        return fail();
    if (!in.text() || !offset(read.colourDialog))
        return fail();
    const auto count = in.int16();
    if (!count || *count < 0 || *count > ColourSettings::MaxSaved)
        return fail();
    colours.count = *count;
    for (int i = 0; i < *count; ++i) {
        const auto c = in.int32();
        if (!c)
            return fail();
        colours.saved[i] = *c;
    }
    for (qint16* v : {&colours.lastTab, &colours.target, &colours.selected}) {
        const auto n = in.int16();
        if (!n)
            return fail();
        *v = *n;
    }
    if (!in.text() || !in.text() || !offset(read.image) || !in.text())
        return fail();
    if (!in.text() || !rect(read.contentsWindow) || !in.text())
        return fail();
    if (!in.text() || !rect(read.keywordWindow))
        return fail();
    read.colours = colours;
    settings = read;
    return {};
}

SettingsReadResult readSettingsFile(const QString& path, MakerSettings& settings) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int number = fileErrorNumberFromErrno(errno ? errno : ENOENT, path);
        const ColourSettings keep = settings.colours;
        settings = MakerSettings{};
        settings.colours = keep;
        SettingsReadResult r;
        r.status = number == FileError::FileNotFound ? SettingsReadStatus::NotFound
                                                     : SettingsReadStatus::Failed;
        r.errorNumber = number;
        return r;
    }
    // A settings file is a few hundred bytes; anything far larger is not one.
    const QByteArray text = file.read(64 * 1024);
    return parseSettings(text, settings);
}

QByteArray serializeSettings(const MakerSettings& s, bool htmlIndent) {
    QByteArray out;
    auto number = [&](qint64 v) { appendLine(out, numberText(v)); };
    appendLine(out, QStringLiteral("<Main>"));
    number(s.editorBackColor);
    appendLine(out, htmlIndent ? QStringLiteral("True") : QStringLiteral("False"));
    for (qint32 v : {s.main.top, s.main.left, s.main.height, s.main.width})
        number(v);
    appendLine(out, {});
    appendLine(out, QStringLiteral("<qzd32mkSearch>"));
    number(s.search.top);
    number(s.search.left);
    appendLine(out, {});
    appendLine(out, QStringLiteral("<qzd32mkColor>"));
    number(s.colourDialog.top);
    number(s.colourDialog.left);
    const int count = qBound(0, int(s.colours.count), ColourSettings::MaxSaved);
    number(count);
    for (int i = 0; i < count; ++i)
        number(s.colours.saved[i]);
    number(s.colours.lastTab);
    number(s.colours.target);
    number(s.colours.selected);
    appendLine(out, {});
    appendLine(out, QStringLiteral("<qzd32mkBMP>"));
    number(s.image.top);
    number(s.image.left);
    appendLine(out, {});
    appendLine(out, QStringLiteral("<qzd32mkIndex>"));
    for (qint32 v : {s.contentsWindow.top, s.contentsWindow.left, s.contentsWindow.height,
                     s.contentsWindow.width})
        number(v);
    appendLine(out, {});
    appendLine(out, QStringLiteral("<qzd32mkKey>"));
    for (qint32 v :
         {s.keywordWindow.top, s.keywordWindow.left, s.keywordWindow.height, s.keywordWindow.width})
        number(v);
    appendLine(out, {});
    return out;
}

FileResult writeSettingsFile(const QString& path, const MakerSettings& settings, bool htmlIndent) {
    return writeFileAtomically(path, serializeSettings(settings, htmlIndent));
}

void keepOnScreen(TwipsRect& r, qint32 screenWidth, qint32 screenHeight,
                  const FrameMargins& frame) {
    const TwipsRect outer = outerRect(r, frame);
    if (r.top + outer.height > screenHeight)
        r.top = screenHeight - outer.height;
    if (r.top < 0)
        r.top = 0;
    if (r.left + outer.width > screenWidth)
        r.left = screenWidth - outer.width;
    if (r.left < 0)
        r.left = 0;
}

QString settingsReadWarningText() {
    return QStringLiteral("ユーザ設定環境ファイル qzd32mk.ini 読込みに失敗しました。\n"
                          "デフォルト環境にて起動します。");
}

QString settingsWriteWarningText(const QString& path, int errorNumber) {
    if (const auto device = deviceErrorReason(errorNumber))
        return path + *device;
    return path + fileErrorReason(errorNumber);
}

} // namespace quillo::maker
