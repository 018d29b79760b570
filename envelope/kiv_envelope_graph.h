#pragma once
#include <cstdint>

#include "base/kiv_list.h"
#include "envelope/kiv_envelope.h"
#include "parameters/compound/kiv_envelope_model.h"
#include "threads/kiv_synchronizer.h"

// An envelope as a compound object: its editor changes the points and calls NotifyChanged,
// which reaches the host face (and anything else subscribed); the host face reads and
// writes the first five points in 0..1 through the envelope model.
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

private:
    void MovePointX(int32_t index, double value01);

    KivEnvelope envelope_;
    KivList<KivCompoundChangeHandler*, 2> handlers_;
    KivSynchronizer* lock_ = nullptr;
};
