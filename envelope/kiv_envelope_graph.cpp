#include "envelope/kiv_envelope_graph.h"

#include <algorithm>

#include "parameters/compound/kiv_compound_change_handler.h"
#include "threads/kiv_thread_role.h"

namespace {

double To01(double value, double minimum, double maximum) {
    const double range = maximum - minimum;
    return range != 0.0 ? std::clamp((value - minimum) / range, 0.0, 1.0) : 0.0;
}

double From01(double value01, double minimum, double maximum) {
    return minimum + (maximum - minimum) * std::clamp(value01, 0.0, 1.0);
}

// Holds an optional lock for a scope.
class OptionalLock {
public:
    explicit OptionalLock(KivSynchronizer* lock) : lock_(lock) {
        if (lock_ && lock_->Acquire() != 0) lock_ = nullptr;
    }
    ~OptionalLock() {
        if (lock_) lock_->Release();
    }
    OptionalLock(const OptionalLock&) = delete;
    OptionalLock& operator=(const OptionalLock&) = delete;

private:
    KivSynchronizer* lock_;
};

}  // namespace

void KivEnvelopeGraph::AddChangeHandler(KivCompoundChangeHandler& handler) {
    for (KivCompoundChangeHandler* known : handlers_)
        if (known == &handler) return;
    handlers_.Add(&handler);
}

void KivEnvelopeGraph::RemoveChangeHandler(KivCompoundChangeHandler& handler) {
    for (int32_t i = 0; i < handlers_.Count(); ++i) {
        if (handlers_[i] == &handler) {
            handlers_.RemoveAt(i);
            return;
        }
    }
}

void KivEnvelopeGraph::NotifyChanged() {
    for (KivCompoundChangeHandler* handler : handlers_) handler->OnCompoundChanged();
}

double KivEnvelopeGraph::GetPoint01(int32_t point, PointField field) const {
    if (point < 0 || point >= kHostPointCount || field < 0 || field >= kPointFieldCount) return 0.0;
    const int32_t slot = point * kPointFieldCount + field;
    if (pending_.load(std::memory_order_acquire) & (1u << slot)) return written_[slot].load(std::memory_order_relaxed);
    if (KivThreadRole::IsAudioThread()) return published_[slot].load(std::memory_order_relaxed);
    OptionalLock lock(lock_);
    return ReadPoint01(point, field);
}

double KivEnvelopeGraph::ReadPoint01(int32_t point, PointField field) const {
    if (point < 0 || point >= envelope_.GetPointCount()) return 0.0;
    const KivEnvelopePoint& p = envelope_.GetPoint(point);
    switch (field) {
        case kX: return To01(p.x, envelope_.GetXMinimum(), envelope_.GetXMaximum());
        case kY: return To01(p.y, envelope_.GetYMinimum(), envelope_.GetYMaximum());
        case kCurvature: return std::clamp((p.curvature + 1.0) * 0.5, 0.0, 1.0);
        case kSmoothness: return std::clamp(p.leftSmoothness, 0.0, 1.0);
        default: return 0.0;
    }
}

void KivEnvelopeGraph::SetPoint01(int32_t point, PointField field, double value) {
    if (point < 0 || point >= kHostPointCount || field < 0 || field >= kPointFieldCount) return;
    const int32_t slot = point * kPointFieldCount + field;
    if (KivThreadRole::IsAudioThread()) {
        written_[slot].store(value, std::memory_order_relaxed);
        pending_.fetch_or(1u << slot, std::memory_order_release);
        return;
    }
    OptionalLock lock(lock_);
    // The audio thread's earlier writes come first, so that this one is not overwritten.
    ApplyHostWrites();
    WritePoint01(point, field, value);
    PublishPoints();
}

void KivEnvelopeGraph::ApplyHostWrites() {
    uint32_t pending = pending_.exchange(0, std::memory_order_acquire);
    if (pending == 0) return;
    for (int32_t slot = 0; pending != 0; ++slot, pending >>= 1) {
        if (pending & 1u)
            WritePoint01(slot / kPointFieldCount, static_cast<PointField>(slot % kPointFieldCount),
                         written_[slot].load(std::memory_order_relaxed));
    }
    PublishPoints();
}

void KivEnvelopeGraph::PublishPoints() noexcept {
    for (int32_t slot = 0; slot < kHostValues; ++slot)
        published_[slot].store(ReadPoint01(slot / kPointFieldCount, static_cast<PointField>(slot % kPointFieldCount)),
                               std::memory_order_relaxed);
}

void KivEnvelopeGraph::WritePoint01(int32_t point, PointField field, double value) {
    if (point < 0 || point >= envelope_.GetPointCount()) return;
    KivEnvelopePoint& p = envelope_.GetPoint(point);
    if (p.IsLocked()) return;
    switch (field) {
        case kX: MovePointX(point, value); break;
        case kY: p.y = From01(value, envelope_.GetYMinimum(), envelope_.GetYMaximum()); break;
        case kCurvature: p.curvature = std::clamp(value, 0.0, 1.0) * 2.0 - 1.0; break;
        case kSmoothness:
            p.leftSmoothness = std::clamp(value, 0.0, 1.0);
            if (p.Has(KivEnvelopePoint::kSameSmoothness)) p.rightSmoothness = p.leftSmoothness;
            break;
        default: break;
    }
}

void KivEnvelopeGraph::MovePointX(int32_t index, double value01) {
    double x = From01(value01, envelope_.GetXMinimum(), envelope_.GetXMaximum());
    if (index > 0) x = std::max(x, envelope_.GetPoint(index - 1).x);
    if (index + 1 < envelope_.GetPointCount()) x = std::min(x, envelope_.GetPoint(index + 1).x);
    envelope_.GetPoint(index).x = x;
}
