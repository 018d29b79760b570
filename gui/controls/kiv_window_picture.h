#pragma once
#include <string>

#include "gui/drawing/kiv_bitmap.h"
#include "gui/drawing/kiv_point.h"

class KivControl;
class KivXMLItem;

// Pictures of windows built from GUI descriptions, painted offscreen in the house style:
// for the picture tool, for reference images and for looking at a design without a host.
namespace KivWindowPicture {
// Builds the window from `root`, sizes it to `size` (or, where a side is 0 or less, to the
// description's "sizex"/"sizey", else to what its layouts need), lays it out and paints
// it. Raises the loader's KivException for a broken description. A root element named
// "messagewindow" pictures a message window instead: its "caption", its "text" and its
// "buttons" ("ok", "okcancel", "yesno" or "yesnocancel"; "ok" when missing), at its own size.
KivBitmap Render(const KivXMLItem& root, KivPoint size = {});
// Places the children of every panel of the tree, parents first.
void ArrangeTree(KivControl& control);
}  // namespace KivWindowPicture
