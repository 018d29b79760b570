#pragma once
#include "base/stream/kiv_stream.h"

// Forwards to a target stream it does not own; transforming streams derive from it and
// supply Write and Read. Without a target the services behave as not implemented.
class KivDispatchStream : public KivStream {
public:
    explicit KivDispatchStream(KivStream* target = nullptr) : target_(target) {}

    void SetTarget(KivStream* target) { target_ = target; }
    KivStream* GetTarget() const { return target_; }

    KivStream* GetSubStream() override;
    void Seek(int64_t offset, int32_t origin) override;
    void Flush() override;
    bool IsEnd() override;
    bool IsOpen() override { return target_ != nullptr; }

private:
    KivStream* target_;
};
