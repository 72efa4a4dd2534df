#include "helpsource/manifest.h"

#include "core/cp932.h"

#include <toml++/toml.h>

#include <algorithm>
#include <limits>
#include <string_view>

namespace quillo::helpsource {
namespace {

// A TOML basic string: quotes, backslashes and control characters escaped, everything else
// as UTF-8 so that Japanese reads as written.
void appendText(QByteArray& out, const QString& text) {
    out.append('"');
    qsizetype plainFrom = 0;
    const auto flush = [&](qsizetype to) {
        out.append(QStringView(text).sliced(plainFrom, to - plainFrom).toUtf8());
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const char* escape = u == u'"'    ? "\\\""
                             : u == u'\\' ? "\\\\"
                             : u == u'\t' ? "\\t"
                             : u == u'\n' ? "\\n"
                             : u == u'\r' ? "\\r"
                                          : nullptr;
        if (!escape && u >= 0x20 && u != 0x7F)
            continue;
        flush(i);
        plainFrom = i + 1;
        if (escape)
            out.append(escape);
        else
            out.append(QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toLatin1());
    }
    flush(text.size());
    out.append('"');
}

void appendLine(QByteArray& out, const char* key, qint64 value) {
    out.append(key).append(" = ").append(QByteArray::number(value)).append('\n');
}

struct DisplayField {
    const char* name;
    qint16 DisplaySettings::*field;
};
constexpr DisplayField DisplayFields[] = {
    {"windowTop", &DisplaySettings::windowTop},
    {"windowLeft", &DisplaySettings::windowLeft},
    {"windowHeight", &DisplaySettings::windowHeight},
    {"windowWidth", &DisplaySettings::windowWidth},
    {"listWidth", &DisplaySettings::listWidth},
    {"topmost", &DisplaySettings::topmost},
    {"windowState", &DisplaySettings::windowState},
};

class Reader {
public:
    Reader(Manifest& manifest, QStringList& problems)
        : m_manifest(manifest), m_problems(problems) {}

    void read(const toml::table& root);

private:
    // Tables hand out their keys in sorted order; the problems go out in line order.
    void problem(const toml::source_region& where, const QString& what) {
        const auto at = std::upper_bound(
            m_found.begin(), m_found.end(), where.begin.line,
            [](toml::source_index line, const auto& problem) { return line < problem.first; });
        m_found.insert(at, {where.begin.line, QStringLiteral("%1:%2: %3")
                                                  .arg(QLatin1String(ManifestName))
                                                  .arg(where.begin.line)
                                                  .arg(what)});
    }
    void unknownKey(const toml::key& key) {
        problem(key.source(), QStringLiteral("unknown key \"%1\"")
                                  .arg(QString::fromStdString(std::string(key.str()))));
    }
    std::optional<QString> string(const toml::node& node, const toml::key& key) {
        if (const auto* s = node.as_string())
            return QString::fromStdString(s->get());
        problem(node.source(), QStringLiteral("\"%1\" must be a string")
                                   .arg(QString::fromStdString(std::string(key.str()))));
        return std::nullopt;
    }
    void display(const toml::node& node);
    void page(const toml::node& node, int number);
    void checkEntry(const QString& text, const toml::source_region& where, const char* what);

    Manifest& m_manifest;
    QStringList& m_problems;
    std::vector<std::pair<toml::source_index, QString>> m_found;
};

void Reader::read(const toml::table& root) {
    for (const auto& [key, node] : root) {
        if (key == "formatTag") {
            if (const auto tag = string(node, key)) {
                m_manifest.formatTag = *tag;
                const cp932::Encoded enc = cp932::encode(*tag);
                if (!enc.ok() || cp932::charCount(enc.bytes) != 16 ||
                    !enc.bytes.startsWith("qzd32mk"))
                    problem(node.source(), QStringLiteral("\"formatTag\" must be 16 characters "
                                                          "starting with \"qzd32mk\""));
            }
        } else if (key == "display") {
            display(node);
        } else if (key == "page") {
            const auto* pages = node.as_array();
            if (!pages) {
                problem(node.source(), QStringLiteral("\"page\" must be [[page]] blocks"));
                continue;
            }
            for (const toml::node& p : *pages)
                page(p, int(m_manifest.pages.size()) + 1);
        } else {
            unknownKey(key);
        }
    }
    for (const auto& [line, problem] : m_found)
        m_problems << problem;
    if (m_manifest.pages.isEmpty() && m_problems.isEmpty())
        m_problems << QStringLiteral("%1: no [[page]] blocks").arg(QLatin1String(ManifestName));
}

void Reader::display(const toml::node& node) {
    const auto* table = node.as_table();
    if (!table) {
        problem(node.source(), QStringLiteral("\"display\" must be a table"));
        return;
    }
    for (const auto& [key, value] : *table) {
        const auto* number = value.as_integer();
        if (key == "backColor") {
            if (!number || number->get() < std::numeric_limits<qint32>::min() ||
                number->get() > std::numeric_limits<quint32>::max())
                problem(value.source(),
                        QStringLiteral("\"backColor\" must be a colour value from 0x0 to "
                                       "0xFFFFFFFF"));
            else
                m_manifest.display.backColor = qint32(quint32(number->get()));
            continue;
        }
        const DisplayField* field = nullptr;
        for (const DisplayField& f : DisplayFields)
            if (key == f.name)
                field = &f;
        if (!field) {
            unknownKey(key);
            continue;
        }
        const QString name = QString::fromLatin1(field->name);
        qint64 low = std::numeric_limits<qint16>::min();
        qint64 high = std::numeric_limits<qint16>::max();
        if (name == QLatin1String("topmost"))
            low = 0, high = 1;
        const bool state = name == QLatin1String("windowState");
        const bool fits = number && (state ? number->get() == 0 || number->get() == 2
                                           : number->get() >= low && number->get() <= high);
        if (!fits) {
            problem(value.source(),
                    state ? QStringLiteral("\"windowState\" must be 0 (normal) or 2 (maximised)")
                          : QStringLiteral("\"%1\" must be a whole number from %2 to %3")
                                .arg(name)
                                .arg(low)
                                .arg(high));
            continue;
        }
        m_manifest.display.*(field->field) = qint16(number->get());
    }
}

void Reader::checkEntry(const QString& text, const toml::source_region& where, const char* what) {
    const cp932::Encoded enc = cp932::encode(text);
    if (!enc.ok()) {
        const char32_t c = QStringView(text).mid(enc.badIndex).toUcs4().value(0);
        problem(where, QStringLiteral("%1 \"%2\": the character %3 (U+%4) cannot be stored in "
                                      "code page 932")
                           .arg(QLatin1String(what), text, QString::fromUcs4(&c, 1),
                                QString::number(uint(c), 16).toUpper().rightJustified(4, u'0')));
        return;
    }
    const qsizetype length = cp932::charCount(enc.bytes);
    if (length > MaxEntryLength)
        problem(where, QStringLiteral("%1 \"%2\" has %3 characters (at most %4)")
                           .arg(QLatin1String(what), text)
                           .arg(length)
                           .arg(MaxEntryLength));
}

void Reader::page(const toml::node& node, int number) {
    const auto* table = node.as_table();
    if (!table) {
        problem(node.source(), QStringLiteral("\"page\" must be [[page]] blocks"));
        return;
    }
    ManifestPage page;
    page.line = int(node.source().begin.line);
    bool hasFile = false;
    for (const auto& [key, value] : *table) {
        if (key == "file") {
            if (const auto file = string(value, key)) {
                page.file = *file;
                hasFile = true;
            }
        } else if (key == "view") {
            if (const auto view = string(value, key))
                page.view = *view;
        } else if (key == "title") {
            if (const auto title = string(value, key)) {
                page.title = *title;
                checkEntry(*title, value.source(), "title");
            }
        } else if (key == "keywords") {
            const auto* keywords = value.as_array();
            if (!keywords) {
                problem(value.source(), QStringLiteral("\"keywords\" must be a list of strings"));
                continue;
            }
            for (const toml::node& k : *keywords) {
                const auto keyword = string(k, key);
                if (!keyword)
                    continue;
                page.keywords << *keyword;
                checkEntry(*keyword, k.source(), "keyword");
            }
            if (page.keywords.size() > MaxKeywordsPerPage)
                problem(value.source(), QStringLiteral("page %1 has %2 keywords (at most %3)")
                                            .arg(number)
                                            .arg(page.keywords.size())
                                            .arg(MaxKeywordsPerPage));
        } else {
            unknownKey(key);
        }
    }
    if (!hasFile)
        problem(node.source(), QStringLiteral("page %1 has no \"file\"").arg(number));
    if (number == MaxPages + 1)
        problem(node.source(), QStringLiteral("page %1: a help file holds at most %2 pages")
                                   .arg(number)
                                   .arg(MaxPages));
    m_manifest.pages << page;
}

} // namespace

QByteArray writeManifest(const Manifest& manifest) {
    QByteArray out;
    out.append("# Help source: \"qzdtool pack FOLDER OUT.qzd\" builds the help file from this\n"
               "# folder. Pages are in page order; a page without \"title\" has no contents\n"
               "# title. A \"view\" file is a rendering for review that pack does not read.\n");
    out.append("formatTag = ");
    appendText(out, manifest.formatTag);
    out.append("\n\n[display]\n");
    out.append("backColor = 0x")
        .append(QByteArray::number(quint32(manifest.display.backColor), 16)
                    .toUpper()
                    .rightJustified(8, '0'))
        .append('\n');
    for (const DisplayField& f : DisplayFields)
        appendLine(out, f.name, manifest.display.*(f.field));
    for (const ManifestPage& page : manifest.pages) {
        out.append("\n[[page]]\nfile = ");
        appendText(out, page.file);
        out.append('\n');
        if (!page.view.isEmpty()) {
            out.append("view = ");
            appendText(out, page.view);
            out.append('\n');
        }
        if (page.title) {
            out.append("title = ");
            appendText(out, *page.title);
            out.append('\n');
        }
        if (page.keywords.isEmpty()) {
            out.append("keywords = []\n");
            continue;
        }
        out.append("keywords = [\n");
        for (const QString& keyword : page.keywords) {
            out.append("  ");
            appendText(out, keyword);
            out.append(",\n");
        }
        out.append("]\n");
    }
    return out;
}

bool readManifest(const QByteArray& text, Manifest& manifest, QStringList& problems) {
    toml::table root;
    try {
        root = toml::parse(std::string_view(text.constData(), size_t(text.size())),
                           std::string_view(ManifestName));
    } catch (const toml::parse_error& e) {
        problems << QStringLiteral("%1:%2: %3")
                        .arg(QLatin1String(ManifestName))
                        .arg(e.source().begin.line)
                        .arg(QString::fromStdString(std::string(e.description())));
        return false;
    }
    Reader(manifest, problems).read(root);
    return true;
}

} // namespace quillo::helpsource
