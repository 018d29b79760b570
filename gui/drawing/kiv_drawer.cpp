#include "gui/drawing/kiv_drawer.h"

int32_t KivDrawer::GetStyleColorCount() const { return 0; }
KivColor KivDrawer::GetStyleColor(int32_t) const { return KivColor{}; }
int32_t KivDrawer::FindStyleColor(const KivString&) const { return -1; }
KivString KivDrawer::GetStyleColorName(int32_t) const { return KivString(); }
int32_t KivDrawer::GetStyleFontCount() const { return 0; }
const KivFont* KivDrawer::GetStyleFont(int32_t) const { return nullptr; }
int32_t KivDrawer::FindStyleFont(const KivString&) const { return -1; }
KivString KivDrawer::GetStyleFontName(int32_t) const { return KivString(); }
uint8_t KivDrawer::GetStateByte() const { return state_; }
void KivDrawer::SetStateByte(uint8_t state) { state_ = state; }
