#pragma once

class QToolBar;

namespace quillo {
class RichTextControl;
}

namespace quillo::maker {

struct FormattingActions;
struct MakerActions;

// Fills the main toolbar (Toolbar3) and the page toolbar (Toolbar4) from one table: command
// buttons run the menu item of their command and are enabled while it is; formatting
// buttons are the formatting actions themselves. Each button carries its key as object
// name. After a button the editor has the focus, except after those that open a window.
void fillToolbars(QToolBar* mainBar, QToolBar* pageBar, const MakerActions& commands,
                  const FormattingActions& formatting, RichTextControl* editor);

} // namespace quillo::maker
