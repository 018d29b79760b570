#include "platform/kiv_float_control.h"

#include <xmmintrin.h>

namespace KivPlatform {

uint32_t GetFloatControl() { return _mm_getcsr(); }

void SetFloatControl(uint32_t control) { _mm_setcsr(control); }

}  // namespace KivPlatform
