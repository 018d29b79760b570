#pragma once
#include <array>
#include <atomic>
#include <cstdint>

#include "base/kiv_list.h"
#include "envelope/kiv_envelope.h"
#include "parameters/compound/kiv_envelope_model.h"
#include "threads/kiv_synchronizer.h"

// An envelope as a compound object: its editor changes the points and calls NotifyChanged,
// which reaches the host face (and anything else subscribed); the host face reads and
// writes the first five points in 0..1 through the envelope model.
//
// The audio thread (host automation inside a block) never takes the lock: its writes wait in
// atomics until the owner applies them under the lock (ApplyHostWrites, before it rebuilds
// from the points), and its reads see those writes or the values the owner published last.
class KivEnvelopeGraph : public KivEnvelopeModel {
public:
    KivEnvelopeGraph() = default;
    KivEnvelopeGraph(const KivEnvelopeGraph&) = delete;
    KivEnvelopeGraph& operator=(const KivEnvelopeGraph&) = delete;

    // The lock of whoever else edits or rebuilds the envelope (its owner's settings lock): the
    // host face's reads and writes hold it, since a rebuild may move the points meanwhile.
    void SetLock(KivSynchronizer* lock) noexcept { lock_ = lock; }

    KivEnvelope& GetEnvelope() noexcept { return envelope_; }
    const KivEnvelope& GetEnvelope() const noexcept { return envelope_; }

    void AddChangeHandler(KivCompoundChangeHandler& handler) override;
    void RemoveChangeHandler(KivCompoundChangeHandler& handler) override;
    // Tells every subscriber that the points were edited.
    void NotifyChanged();

    // X and Y map the axis ranges onto 0..1, curvature -1..1 onto 0..1, smoothness is
    // already 0..1. A point that does not exist reads as 0.
    double GetPoint01(int32_t point, PointField field) const override;
    // Writes from the host leave locked and missing points alone, keep x between the
    // neighbours so the order never changes, and do not notify: the host already knows.
    void SetPoint01(int32_t point, PointField field, double value) override;

    // With the owner's lock held: writes the audio thread left, in point and field order, then
    // publishes the points for the audio thread's reads. Discarding drops them instead (a
    // loaded state replaces what was automated before it).
    void ApplyHostWrites();
    void DiscardHostWrites() noexcept { pending_.store(0, std::memory_order_relaxed); }
    // With the owner's lock held, after the points changed other than through SetPoint01.
    void PublishPoints() noexcept;

private:
    static constexpr int32_t kHostValues = kHostPointCount * kPointFieldCount;

    double ReadPoint01(int32_t point, PointField field) const;
    void WritePoint01(int32_t point, PointField field, double value);
    void MovePointX(int32_t index, double value01);

    KivEnvelope envelope_;
    KivList<KivCompoundChangeHandler*, 2> handlers_;
    KivSynchronizer* lock_ = nullptr;
    // One bit per host value written by the audio thread and not yet applied.
    std::atomic<uint32_t> pending_{0};
    std::array<std::atomic<double>, kHostValues> written_{};
    std::array<std::atomic<double>, kHostValues> published_{};
};
