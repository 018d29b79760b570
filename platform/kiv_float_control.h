#pragma once
#include <cstdint>

namespace KivPlatform {

// The SSE control/status register (MXCSR) of the calling thread. Denormal numbers cost
// the processor dozens of cycles each; audio code sets flush-to-zero and
// denormals-are-zero around processing and restores the host's setting afterwards.
inline constexpr uint32_t kFlushToZero = 0x8000u;
inline constexpr uint32_t kDenormalsAreZero = 0x0040u;

uint32_t GetFloatControl();
void SetFloatControl(uint32_t control);

// Sets flush-to-zero and denormals-are-zero for its lifetime, then restores the old value.
class FlushDenormalsScope {
public:
    FlushDenormalsScope() : saved_(GetFloatControl()) {
        SetFloatControl(saved_ | kFlushToZero | kDenormalsAreZero);
    }
    ~FlushDenormalsScope() { SetFloatControl(saved_); }
    FlushDenormalsScope(const FlushDenormalsScope&) = delete;
    FlushDenormalsScope& operator=(const FlushDenormalsScope&) = delete;

private:
    uint32_t saved_;
};

}  // namespace KivPlatform
