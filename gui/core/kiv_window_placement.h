#pragma once

class KivWindow;

// Centres `window` over `parent` (over the screen's work area without one), never with its
// top above the area's, so that a dialog's title bar stays reachable. Over a parent the
// window takes the parent's scale: a dialog of an editor shown at 200% is drawn at 200%
// (crisp, at the size its text is read at), not at its laid-out size beside a large editor.
void KivCentreWindowOver(KivWindow& window, const KivWindow* parent);
