#include "corpus.h"

#include "core/cp932.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <random>

namespace quillo::bench {
namespace {

const char* const kJapanese[] = {
    "このヘルプでは、アプリケーションの基本的な使い方を説明します。",
    "メニューの「ファイル」から「開く」を選ぶと、保存したデータを読み込めます。",
    "設定画面で表示する項目と順番を変更できます。",
    "印刷する前に、用紙の向きと余白を確認してください。",
    "検索ボックスにキーワードを入力して、該当するページを表示します。",
    "注意：保存しないで終了すると、変更した内容は失われます。",
    "ツールバーのボタンで文字の太さや色を変えられます。",
    "詳しくは、目次の「操作手順」をご覧ください。",
};
const char* const kAscii[] = {
    "Press F1 at any time to open this help. ",
    "Version 2.2 supports files created with earlier releases. ",
    "See also: Options > General > Display. ",
    "The default folder is C:\\\\Program Files\\\\Sample\\\\Data. ",
    "Keyboard shortcut: Ctrl+Shift+S saves a copy. ",
};

void appendJapanese(QByteArray& out, const char* utf8) {
    static const char hex[] = "0123456789abcdef";
    const QByteArray bytes = cp932::encode(QString::fromUtf8(utf8)).bytes;
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 0x80 && u != '\\' && u != '{' && u != '}') {
            out.append(b);
        } else {
            out.append("\\'").append(hex[u >> 4]).append(hex[u & 15]);
        }
    }
}

QByteArray pngHex(int seed) {
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(seed * 37 % 360, 80, 240));
    QPainter p(&image);
    p.setPen(QColor(40, 40, 40));
    for (int i = 0; i < 12; ++i)
        p.drawLine(i * 10, 0, 119 - i * 7, 79);
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray out;
    const QByteArray hexData = png.toHex();
    for (qsizetype i = 0; i < hexData.size(); i += 128)
        out.append(hexData.mid(i, 128)).append("\r\n");
    return out;
}

QByteArray page(int number, qsizetype targetSize) {
    std::mt19937 rng(number);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    QByteArray out;
    out.reserve(targetSize + 4096);
    out += "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl"
           "{\\f0\\fswiss\\fprq2\\fcharset128 MS UI Gothic;}"
           "{\\f1\\fnil\\fprq2\\fcharset128 \\'82\\'6c\\'82\\'72 "
           "\\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}"
           "{\\f2\\froman\\fprq1\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}"
           "{\\f3\\fswiss\\fprq2\\fcharset0 Arial;}{\\f4\\fnil\\fprq2\\fcharset2 Symbol;}}\r\n"
           "{\\colortbl "
           ";\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green128\\blue0;"
           "\\red128\\green0\\blue128;}\r\n"
           "\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 ";
    int paragraph = 0;
    while (out.size() < targetSize) {
        ++paragraph;
        const int kind = pick(10);
        if (kind == 0) { // a heading
            out += "\\pard\\qc\\b\\fs24\\cf2 ";
            appendJapanese(out, kJapanese[pick(8)]);
            out += "\\cf0\\b0\\fs18\\par\r\n\\pard ";
        } else if (kind <= 2) { // a bulleted list of a few items
            out += "\\pard{\\pntext\\f4\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf4\\pnindent0{\\pntxtb\\'"
                   "b7}}\\fi-200\\li200 ";
            const int items = 2 + pick(4);
            for (int i = 0; i < items; ++i) {
                if (i > 0)
                    out += "{\\pntext\\f4\\'b7\\tab}";
                appendJapanese(out, kJapanese[pick(8)]);
                out += "\\par\r\n";
            }
            out += "\\pard ";
        } else if (kind == 3) { // an indented note in another font and colour
            out += "\\pard\\li720\\ri360\\f1\\cf3 ";
            appendJapanese(out, kJapanese[5]);
            out += kAscii[pick(5)];
            out += "\\cf0\\f0\\par\r\n\\pard ";
        } else { // a paragraph of mixed text with emphasis
            const int sentences = 2 + pick(4);
            for (int i = 0; i < sentences; ++i) {
                if (pick(3) == 0) {
                    out += "\\f3 ";
                    out += kAscii[pick(5)];
                    out += "\\f0 ";
                } else if (pick(4) == 0) {
                    out += "\\b\\cf1 ";
                    appendJapanese(out, kJapanese[pick(8)]);
                    out += "\\cf0\\b0 ";
                } else {
                    appendJapanese(out, kJapanese[pick(8)]);
                }
            }
            out += "\\par\r\n";
        }
        if (number % 5 == 0 && paragraph == 3) {
            out += "{\\pict\\pngblip\\picw120\\pich80\\picwgoal1800\\pichgoal1200\r\n";
            out += pngHex(number);
            out += "}\\par\r\n";
        }
    }
    out += "}\r\n";
    return out;
}

} // namespace

QList<QByteArray> corpusPages() {
    QList<QByteArray> pages;
    for (int i = 1; i <= 100; ++i)
        pages << page(i, (5 + (i * 37) % 56) * 1024);
    return pages;
}

QByteArray largePage() {
    return page(1000, 500 * 1024);
}

} // namespace quillo::bench
