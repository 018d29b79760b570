#include "entry/kiv_window_style_functions.h"

namespace KivWindowStyleFunctions {

void ExchangeConfiguration(void* /*configuration*/) {}
void CreateStyle() {}
void RegisterStyle() {}

}  // namespace KivWindowStyleFunctions
