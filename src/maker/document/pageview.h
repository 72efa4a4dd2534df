#pragma once

#include <QByteArray>

namespace quillo::maker {

// The page editor as the authoring document sees it: the control that shows the current
// page. Loading and resetting are the program's own changes and never count as edits.
class PageView {
public:
    virtual ~PageView() = default;
    // The RTF of the page as the editor holds it now.
    virtual QByteArray shownRtf() const = 0;
    // Shows a page's RTF.
    virtual void showRtf(const QByteArray& rtf) = 0;
    // Shows an empty page with the default font, size, colour, alignment and indents.
    virtual void showEmptyPage() = 0;
    // A page is still coming in: the window serves its events meanwhile, and nothing may
    // change or store pages until the load has ended.
    virtual bool isLoadingPage() const { return false; }
    // False while a page comes in or after its load was cancelled (the window closing): the
    // editor then shows part of the page only, and the page table keeps the page's own RTF.
    virtual bool holdsWholePage() const { return true; }
};

} // namespace quillo::maker
