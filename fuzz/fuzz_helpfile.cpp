// Feeds arbitrary bytes to the help-file reader as both programs read files, and checks what the
// programs rely on: no crash, no hang, and a document that reads writes back to bytes that read
// to the same document (writing it once more gives the same bytes).
#include "core/helpdocument.h"
#include "core/helpfile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

bool hasFlag(int argc, char** argv, const char* prefix) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0)
            return true;
    return false;
}

} // namespace

// Inputs as large as a page with pictures (256 KB), and a second at most for each: anything
// slower is a hang to report (inputs that take time growing with the square of their size).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<char*> args(*argv, *argv + *argc);
    static char maxLen[] = "-max_len=262144";
    static char timeout[] = "-timeout=1";
    if (!hasFlag(*argc, *argv, "-max_len="))
        args.insert(args.begin() + 1, maxLen);
    if (!hasFlag(*argc, *argv, "-timeout="))
        args.insert(args.begin() + 1, timeout);
    args.push_back(nullptr);
    *argc = int(args.size()) - 1;
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const quillo::Reader reader : {quillo::Reader::Viewer, quillo::Reader::Maker}) {
        auto doc = std::make_unique<quillo::HelpDocument>();
        if (!quillo::parseHelpFile(bytes, *doc, reader).ok())
            continue;
        QByteArray written;
        if (!quillo::serializeHelpDocument(*doc, written).ok())
            continue; // a document the format cannot carry is refused, not written
        auto again = std::make_unique<quillo::HelpDocument>();
        check(quillo::parseHelpFile(written, *again, reader).ok(), "what was written reads back");
        QByteArray rewritten;
        check(quillo::serializeHelpDocument(*again, rewritten).ok(), "what was read back writes");
        check(rewritten == written, "writing what was read back gives the same bytes");
    }
    return 0;
}
