#include "linkcommands.h"

#include "core/helpdocument.h"
#include "rtf/pagelinks.h"

#include <memory>

using namespace quillo;

namespace {

// A link's text on one line of the listing.
QString oneLine(QString text) {
    return text.replace(u'\n', u' ').replace(u'\t', u' ');
}

} // namespace

int runLinkCommand(const QStringList& args, QTextStream& out, QTextStream& err,
                   const HelpFileLoader& load) {
    if (args.value(0) != QLatin1String("links") || args.size() != 2)
        return -1;
    auto doc = std::make_unique<HelpDocument>();
    if (!load(args[1], *doc))
        return 1;
    int broken = 0;
    for (int page = 1; page <= doc->pageCount(); ++page)
        for (const rtf::PageLink& link : rtf::linksOf(doc->page(page).rtf)) {
            out << page << '\t' << oneLine(link.text) << '\t' << link.target << '\n';
            const int target = rtf::linkedPage(link.target);
            if (link.target.startsWith(u'#') && !doc->hasPage(target)) {
                err << args[1] << ": page " << page << ": link \"" << oneLine(link.text) << "\" to "
                    << link.target << ": the file has " << doc->pageCount() << " pages\n";
                ++broken;
            }
        }
    return broken == 0 ? 0 : 1;
}
