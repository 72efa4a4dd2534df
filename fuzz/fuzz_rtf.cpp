// Feeds arbitrary bytes to the RTF reader through every sink and checks the properties the
// programs rely on: no crash or hang, the plain text equals the document's, and what the writer
// makes of the page reads back to the same text.
#include "rtf/htmlwriter.h"
#include "rtf/rtfreader.h"
#include "rtf/rtfwriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView rtf(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString plain = quillo::rtf::plainText(rtf);
    QTextDocument doc;
    quillo::rtf::readRtf(rtf, doc);
    check(doc.toPlainText() == plain, "plainText() equals the document's text");
    const QByteArray written = quillo::rtf::writeRtf(doc);
    for (char c : written)
        check(static_cast<unsigned char>(c) < 0x80, "the writer's output is 7-bit");
    check(quillo::rtf::plainText(written) == plain, "the written page reads back to the same text");
    quillo::rtf::rtfToHtml(rtf, quillo::rtf::HtmlOptions{});
    quillo::rtf::rtfProblem(rtf);
    return 0;
}
