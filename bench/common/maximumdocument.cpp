#include "maximumdocument.h"

namespace quillo::bench {

std::unique_ptr<HelpDocument> maximumDocument() {
    auto doc = std::make_unique<HelpDocument>();
    doc->displaySettings.windowTop = 1500;
    doc->displaySettings.windowLeft = 1500;
    doc->displaySettings.windowHeight = 7200;
    doc->displaySettings.windowWidth = 9600;
    doc->displaySettings.listWidth = 2400;
    for (int p = 1; p <= MaxPages; ++p) {
        QByteArray rtf =
            "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 "
            "\\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}"
            "{\\f1\\fswiss\\fcharset0 Arial;}}\r\n"
            "{\\colortbl ;\\red0\\green0\\blue128;}\r\n"
            "\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs28 \\'83\\'77\\'83\\'8b\\'83\\'76 " +
            QByteArray::number(p) + "\\cf0\\b0\\fs20\\par\r\n";
        int line = 0;
        while (rtf.size() < 60 * 1024 - 64) {
            rtf += "\\pard\\f0\\fs20 \\'83\\'77\\'83\\'8b\\'83\\'76\\'82\\'cc\\'96\\'7b\\'95\\'b6 "
                   "help text line " +
                   QByteArray::number(++line) + " {\\b bold} and {\\i italic}\\par\r\n";
        }
        rtf += "}\r\n";
        HelpPage& page = doc->pages.emplace_back();
        page.rtf = rtf;
        page.title =
            QStringLiteral("ページ%1の目次").arg(p).leftJustified(MaxEntryLength, QChar(0x76EE));
        for (int k = 1; k <= MaxKeywordsPerPage; ++k)
            page.keywords << QStringLiteral("キーワード%1の%2")
                                 .arg(k)
                                 .arg(p)
                                 .leftJustified(MaxEntryLength, QChar(0x8A9E));
    }
    return doc;
}

} // namespace quillo::bench
