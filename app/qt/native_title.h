// The empty title of a box as the window system sees it: given an empty title, Qt sends the
// program's name instead, on X11 and on Wayland alike.
#pragma once

class QWidget;

namespace pelmora {

// From its next showing on, the top-level window's title is empty in the window system too:
// on X11 its name properties are emptied once it is shown; on Wayland its toplevel is sent an
// empty title before the first picture of it reaches the compositor. Elsewhere nothing changes.
void KeepNativeTitleEmpty(QWidget* window);

}  // namespace pelmora
