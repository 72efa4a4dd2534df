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
};

} // namespace quillo::maker
