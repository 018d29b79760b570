#pragma once

class KivWindow;

// Centres `window` over `parent` (over the screen's work area without one), never with its
// top above the area's, so that a dialog's title bar stays reachable.
void KivCentreWindowOver(KivWindow& window, const KivWindow* parent);
