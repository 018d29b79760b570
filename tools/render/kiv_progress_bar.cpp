#include "tools/render/kiv_progress_bar.h"

#include "platform/kiv_terminal.h"

namespace {

constexpr int32_t kWidth = 40;

}  // namespace

KivProgressBar::KivProgressBar(std::FILE* stream, int64_t total)
    : stream_(stream), total_(total), enabled_(KivPlatform::IsTerminal(stream)) {}

void KivProgressBar::Update(int64_t done) {
    if (!enabled_ || total_ <= 0) return;
    const int32_t percent = static_cast<int32_t>(done * 100 / total_);
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    const int32_t filled = percent * kWidth / 100;
    std::fputs("\r[", stream_);
    for (int32_t i = 0; i < kWidth; ++i) std::fputc(i < filled ? '#' : '.', stream_);
    std::fprintf(stream_, "] %3d%%", percent);
    std::fflush(stream_);
}

void KivProgressBar::Finish() {
    if (!enabled_ || lastPercent_ < 0) return;
    std::fputc('\n', stream_);
    std::fflush(stream_);
}
