#include "helpfile.h"

#include "atomicfile.h"
#include "cp932.h"
#include "fileerror.h"
#include "filelock.h"
#include "systemfile.h"
#include "text.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>

namespace quillo {
namespace {

// The bytes the reader walks: all of them at hand, or a file read only as far as the fields
// ask and never past the length it had when it was opened. A length field that points far
// past the end, or a huge file behind a good header, then costs no more than its real fields.
class Source {
public:
    explicit Source(QByteArrayView data) : view_(data), size_(data.size()) {}
    Source(int fd, qint64 size) : fd_(fd), size_(size) {}

    qint64 size() const { return size_; }
    // errno of a failed read, 0 when every read succeeded.
    int readError() const { return error_; }

    // The bytes from the start to `end`, fewer when the file ends or fails before it.
    QByteArrayView upTo(qint64 end) {
        if (fd_ < 0)
            return view_;
        end = std::min(end, size_);
        if (buffer_.size() < end)
            fill(end);
        return buffer_;
    }

private:
    void fill(qint64 end) {
        // The buffer at least doubles, so a file read in many small steps is copied about once.
        const qint64 target =
            std::min(size_, std::max({end, 2 * qint64(buffer_.size()), qint64(65536)}));
        qsizetype filled = buffer_.size();
        buffer_.resize(qsizetype(target));
        while (filled < target) {
            const ssize_t n =
                ::pread(fd_, buffer_.data() + filled, size_t(target - filled), filled);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                // The file was shortened meanwhile, or cannot be read on: it ends here.
                if (n < 0)
                    error_ = errno;
                size_ = filled;
                break;
            }
            filled += n;
        }
        buffer_.resize(filled);
    }

    QByteArrayView view_;
    QByteArray buffer_;
    int fd_ = -1;
    qint64 size_ = 0;
    int error_ = 0;
};

// Walks the file field by field; every read checks what is left before it takes anything.
class Cursor {
public:
    explicit Cursor(Source& source) : source_(source) {}

    qsizetype pos() const { return pos_; }
    qint64 size() const { return source_.size(); }

    // Hexadecimal field of `width` digits, as an unsigned value.
    std::optional<quint32> hex(int width, const char* what) {
        what_ = what;
        const QByteArrayView data = source_.upTo(pos_ + width);
        if (data.size() - pos_ < width)
            return std::nullopt;
        if (width == 1 && data[pos_] == ' ') {
            ++pos_;
            return 0u;
        }
        quint32 v = 0;
        for (int i = 0; i < width; ++i) {
            const int d = hexDigitValue(data[pos_ + i]);
            if (d < 0)
                return std::nullopt;
            v = (v << 4) | quint32(d);
        }
        pos_ += width;
        return v;
    }

    // A text field of `chars` characters (each one or two bytes).
    std::optional<QByteArrayView> chars(qsizetype count, const char* what) {
        what_ = what;
        const QByteArrayView data = source_.upTo(pos_ + 2 * qint64(count));
        const auto len = cp932::byteLengthOfChars(data, pos_, count);
        if (!len)
            return std::nullopt;
        QByteArrayView v = data.sliced(pos_, *len);
        pos_ += *len;
        return v;
    }

    // A page body of `count` bytes.
    std::optional<QByteArrayView> bytes(qsizetype count, const char* what) {
        what_ = what;
        if (count < 0 || size() - pos_ < count)
            return std::nullopt;
        const QByteArrayView data = source_.upTo(pos_ + count);
        if (data.size() - pos_ < count)
            return std::nullopt;
        QByteArrayView v = data.sliced(pos_, count);
        pos_ += count;
        return v;
    }

    bool skip(QByteArrayView expected, const char* what) {
        what_ = what;
        if (source_.upTo(pos_ + expected.size()).size() - pos_ < expected.size())
            return false;
        pos_ += expected.size(); // filler: written as shown, never checked
        return true;
    }

    ReadResult fail(const QString& detail = {}) const {
        ReadResult r;
        r.status = ReadStatus::BadField;
        r.offset = pos_;
        r.reason = QStringLiteral("bad %1 at byte %2").arg(QLatin1String(what_)).arg(pos_);
        if (!detail.isEmpty())
            r.reason += QStringLiteral(" (%1)").arg(detail);
        return r;
    }

private:
    Source& source_;
    qsizetype pos_ = 0;
    const char* what_ = "";
};

// A counted string: 4-digit length in characters, then the characters.
std::optional<QString> countedText(Cursor& c, const char* what) {
    const auto len = c.hex(4, what);
    if (!len || qint16(*len) < 0)
        return std::nullopt;
    const auto text = c.chars(qint16(*len), what);
    if (!text)
        return std::nullopt;
    return cp932::decode(*text);
}

void appendHex(QByteArray& out, quint32 value, int width) {
    static const char digits[] = "0123456789ABCDEF";
    char buf[8];
    for (int i = width - 1; i >= 0; --i) {
        buf[i] = digits[value & 0xF];
        value >>= 4;
    }
    out.append(buf, width);
}

WriteResult fileFailure(WriteStatus status, FileResult file) {
    WriteResult r;
    r.status = status;
    r.file = std::move(file);
    return r;
}

WriteResult documentFault(const QString& detail, int page = 0) {
    WriteResult r;
    r.status = WriteStatus::BadDocument;
    r.page = page;
    r.detail = detail;
    return r;
}

// Appends a 4-digit length and the text; reports a character code page 932 cannot hold.
bool appendCountedText(QByteArray& out, const QString& text, int page, int slot,
                       WriteResult& result) {
    const cp932::Encoded enc = cp932::encode(text);
    result.page = page;
    result.keywordSlot = slot;
    if (!enc.ok()) {
        result.status = WriteStatus::Unencodable;
        result.character = text.at(enc.badIndex);
        result.detail = QStringLiteral("page %1: character U+%2 cannot be stored in code page 932")
                            .arg(page)
                            .arg(text.at(enc.badIndex).unicode(), 4, 16, QLatin1Char('0'));
        return false;
    }
    const qsizetype chars = cp932::charCount(enc.bytes);
    if (chars > 0x7FFF) {
        result.status = WriteStatus::BadDocument;
        result.detail =
            QStringLiteral("page %1: text of %2 characters is too long").arg(page).arg(chars);
        return false;
    }
    appendHex(out, quint32(chars), 4);
    out.append(enc.bytes);
    return true;
}

} // namespace

namespace {

// The tag and the display settings, up to the filler before the page count.
std::optional<ReadResult> parseHeader(Cursor& c, DisplaySettings& s, Reader reader,
                                      qsizetype& settingsOffset, QString* formatTag = nullptr) {
    const auto tag = c.chars(FormatTagLength, "format tag");
    if (!tag)
        return c.fail();
    if (formatTag)
        *formatTag = cp932::decode(*tag);
    const auto backColor = c.hex(8, "backColor");
    if (!backColor)
        return c.fail();
    s.backColor = qint32(*backColor);
    settingsOffset = c.pos();
    struct Field {
        qint16* target;
        const char* name;
    };
    for (const Field f : {Field{&s.windowTop, "windowTop"}, Field{&s.windowLeft, "windowLeft"},
                          Field{&s.windowHeight, "windowHeight"},
                          Field{&s.windowWidth, "windowWidth"}, Field{&s.listWidth, "listWidth"}}) {
        const auto v = c.hex(4, f.name);
        if (!v)
            return c.fail();
        *f.target = qint16(*v);
    }
    const auto topmost = c.hex(1, "topmost");
    if (!topmost)
        return c.fail();
    s.topmost = *topmost == 1 ? 1 : 0;
    const auto state = c.hex(1, "windowState");
    if (!state)
        return c.fail();
    s.windowState = (*state == 2) ? 2 : 0;
    if (reader == Reader::Viewer && s.windowState == 2)
        s.topmost = 0;
    return std::nullopt;
}

ReadResult wrongFormat() {
    ReadResult r;
    r.status = ReadStatus::WrongFormat;
    r.reason = QStringLiteral("not a help file (the tag does not start with qzd32mk)");
    return r;
}

// Only the tag's first bytes are read to tell a help file from anything else.
bool hasTag(Source& source) {
    const QByteArrayView data = source.upTo(7);
    return data.size() >= 7 && data.first(7) == QByteArrayView("qzd32mk");
}

// The most bytes a file of `pages` pages can take: a tag of double-byte characters, and on
// every page the longest title, all keywords at their longest and the longest page text.
qint64 largestFileOf(int pages) {
    constexpr qint64 counted = 4 + 2 * qint64(0x7FFF);
    constexpr qint64 record = 16 + 2 + counted + 2 + MaxKeywordsPerPage * counted;
    constexpr qint64 body = 8 + qint64(0x7FFFFFFF);
    return HeaderFixedLength + FormatTagLength + pages * (record + body);
}

ReadResult readFailure(const FileResult& file) {
    ReadResult r;
    r.status = ReadStatus::OpenFailed;
    r.errorNumber = file.errorNumber;
    r.reason = file.message;
    return r;
}

ReadResult headerOf(Source& source, HelpFileHeader& header, Reader reader) {
    if (!hasTag(source))
        return wrongFormat();
    Cursor c(source);
    if (auto failed =
            parseHeader(c, header.settings, reader, header.settingsOffset, &header.formatTag))
        return *failed;
    return {};
}

} // namespace

ReadResult parseHelpFileHeader(QByteArrayView data, HelpFileHeader& header, Reader reader) {
    Source source(data);
    return headerOf(source, header, reader);
}

QByteArray displaySettingsBytes(const DisplaySettings& s) {
    QByteArray out;
    out.reserve(DisplaySettingsLength);
    for (qint16 v : {s.windowTop, s.windowLeft, s.windowHeight, s.windowWidth, s.listWidth})
        appendHex(out, quint16(v), 4);
    appendHex(out, quint16(s.topmost), 1);
    appendHex(out, quint16(s.windowState), 1);
    return out;
}

namespace {

ReadResult parse(Source& source, HelpDocument& doc, Reader reader) {
    if (!hasTag(source))
        return wrongFormat();
    Cursor c(source);
    qsizetype settingsOffset = 0;
    if (auto failed = parseHeader(c, doc.displaySettings, reader, settingsOffset))
        return *failed;

    if (!c.skip("34", "filler") || !c.skip("1234123412341234123412341234", "filler"))
        return c.fail();
    const auto pageCount = c.hex(4, "pageCount");
    if (!pageCount)
        return c.fail();
    const qint16 count = qint16(*pageCount);
    if (count < 0 || count > MaxPages)
        return c.fail(QStringLiteral("%1 pages").arg(count));
    if (c.size() > largestFileOf(count))
        return c.fail(
            QStringLiteral("%1 bytes are more than %2 pages can take").arg(c.size()).arg(count));
    // Pages read so far stay in the document when a later field fails.
    doc.pages.resize(count);

    for (int p = 1; p <= count; ++p) {
        HelpPage& page = doc.page(p);
        if (!c.skip("1234567812345678", "page record filler"))
            return c.fail();
        const auto titles = c.hex(2, "titleCount");
        if (!titles)
            return c.fail();
        if (*titles > 1)
            return c.fail(QStringLiteral("%1 titles on page %2").arg(*titles).arg(p));
        page.title.reset();
        if (*titles == 1) {
            const auto title = countedText(c, "title");
            if (!title)
                return c.fail(QStringLiteral("page %1").arg(p));
            page.title = *title;
        }
        const auto keywords = c.hex(2, "keywordCount");
        if (!keywords)
            return c.fail();
        if (*keywords > quint32(MaxKeywordsPerPage))
            return c.fail(QStringLiteral("%1 keywords on page %2").arg(*keywords).arg(p));
        page.keywords.clear();
        page.keywords.reserve(*keywords);
        for (quint32 k = 1; k <= *keywords; ++k) {
            const auto kw = countedText(c, "keyword");
            if (!kw)
                return c.fail(QStringLiteral("page %1 keyword %2").arg(p).arg(k));
            page.keywords.append(*kw);
        }
    }
    for (int p = 1; p <= count; ++p) {
        const auto length = c.hex(8, "page length");
        if (!length || qint32(*length) < 0)
            return c.fail(QStringLiteral("page %1").arg(p));
        const auto body = c.bytes(qint32(*length), "page text");
        if (!body)
            return c.fail(QStringLiteral("page %1").arg(p));
        doc.page(p).rtf = body->toByteArray();
    }
    return {};
}

} // namespace

ReadResult parseHelpFile(QByteArrayView data, HelpDocument& doc, Reader reader) {
    Source source(data);
    return parse(source, doc, reader);
}

ReadResult readHelpFile(const QString& path, HelpDocument& doc, Reader reader) {
    // An overwrite in place that a kill interrupted is put right before the file is read.
    if (const FileResult recovered = finishInterruptedOverwrite(path); !recovered.ok())
        return readFailure(recovered);
    // The file is read into memory as the fields ask, not mapped: a mapping would fault if
    // another program shortened the file meanwhile.
    const FileForReading file(path);
    if (file.notRegular()) {
        ReadResult r = wrongFormat();
        r.reason = QStringLiteral("not a help file (not a regular file)");
        return r;
    }
    if (!file.isOpen())
        return readFailure(file.error());
    if (helpFileOpenedHook)
        helpFileOpenedHook();
    Source source(file.fd(), file.size());
    const ReadResult r = parse(source, doc, reader);
    if (!r.ok() && source.readError() != 0)
        return readFailure(fileFailure(source.readError(), path));
    return r;
}

ReadResult readHelpFileHeader(const QString& path, HelpFileHeader& header, Reader reader) {
    const FileForReading file(path);
    if (file.notRegular())
        return wrongFormat();
    if (!file.isOpen())
        return readFailure(file.error());
    Source source(file.fd(), file.size());
    return headerOf(source, header, reader);
}

WriteResult serializeHelpDocument(HelpDocument& doc, QByteArray& out) {
    DisplaySettings& s = doc.displaySettings;
    s.applyWriteDefaults();
    if (doc.pageCount() > MaxPages)
        return documentFault(QStringLiteral("%1 pages").arg(doc.pageCount()));
    qsizetype total = HeaderFixedLength;
    for (const HelpPage& page : doc.pages)
        total += 8 + page.rtf.size() + 20 + 36 * (page.keywords.size() + 1);
    out.clear();
    out.reserve(total);
    out.append(FormatTag, FormatTagLength);
    appendHex(out, quint32(s.backColor), 8);
    out.append(displaySettingsBytes(s));
    out.append("34");
    out.append("1234123412341234123412341234");
    appendHex(out, quint16(doc.pageCount()), 4);

    WriteResult result;
    for (int p = 1; p <= doc.pageCount(); ++p) {
        const HelpPage& page = doc.page(p);
        out.append("1234567812345678");
        const qsizetype keywords = page.keywords.size();
        if (keywords > MaxKeywordsPerPage) {
            return documentFault(QStringLiteral("page %1: %2 keywords").arg(p).arg(keywords), p);
        }
        appendHex(out, page.title ? 1 : 0, 2);
        if (page.title && !appendCountedText(out, *page.title, p, 0, result))
            return result;
        appendHex(out, quint32(keywords), 2);
        for (int k = 1; k <= keywords; ++k)
            if (!appendCountedText(out, page.keywords[k - 1], p, k, result))
                return result;
    }
    for (const HelpPage& page : doc.pages) {
        if (page.rtf.size() > 0x7FFFFFFF)
            return documentFault(QStringLiteral("page too long"));
        appendHex(out, quint32(page.rtf.size()), 8);
        out.append(page.rtf);
    }
    return {};
}

WriteResult writeHelpDocument(QIODevice& device, HelpDocument& doc) {
    QByteArray bytes;
    WriteResult r = serializeHelpDocument(doc, bytes);
    if (!r.ok())
        return r;
    errno = 0;
    if (device.write(bytes) != bytes.size())
        return fileFailure(WriteStatus::WriteFailed,
                           {fileErrorNumberFromErrno(errno ? errno : EIO), device.errorString()});
    return {};
}

WriteResult saveHelpFile(const QString& path, HelpDocument& doc) {
    if (isReadOnlyFile(path)) {
        doc.displaySettings.applyWriteDefaults();
        return fileFailure(WriteStatus::ReadOnly,
                           {FileError::PermissionDenied, QStringLiteral("the file is read-only")});
    }
    QByteArray bytes;
    WriteResult r = serializeHelpDocument(doc, bytes);
    if (!r.ok())
        return r;
    // The viewer's write-back of its window fields waits until the file is replaced; a
    // program that holds the file longer than a moment keeps it as it is.
    const LockedFile lock(path, O_RDONLY);
    if (lock.error() == EWOULDBLOCK)
        return fileFailure(WriteStatus::WriteFailed, fileInUse());
    const FileResult error = writeFileAtomically(path, bytes);
    if (!error.ok())
        return fileFailure(WriteStatus::WriteFailed, error);
    return {};
}

} // namespace quillo
