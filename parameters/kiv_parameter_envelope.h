#pragma once
#include "parameters/compound/kiv_envelope_model.h"
#include "parameters/kiv_parameter_special_base.h"

// The host face of an envelope or envelope graph: X, Y, curvature and smoothness of its
// first five points, 20 host parameters named "Point 1 X" .. "Point 5 smoothness".
template <typename Base>
class ParameterEnvelopeT : public Base {
public:
    static constexpr uint32_t kHostCount = KivEnvelopeModel::kHostPointCount * KivEnvelopeModel::kPointFieldCount;

    ParameterEnvelopeT(KivParameterCoreLink* core, KivParameterEffectLink* effect, typename Base::ModelType& object,
                       KivParameterEditorLink editorLink, const KivString& prefix, const KivString& name,
                       const KivString& qualifier, double spare = 0.0)
        : Base(kHostCount, core, effect, object, editorLink, prefix, name, qualifier), spare_(spare) {
        // The model holds its starting points when its face is made: they are the defaults a
        // host restores.
        for (uint32_t local = 0; local < kHostCount; ++local)
            defaults_[local] = GetParameter(static_cast<int32_t>(local));
    }

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;
    // Point fields show their host value with four decimals, which is also what they read.
    KivString GetParameterValueName(int32_t local) const override;
    KivString GetParameterValueNameFrom01(int32_t local, double value) const override;
    double ParseParameterValueName(int32_t local, const KivString& text) const override;
    double GetParameterDefaultValue(int32_t local) const override;
    KivString GetParameterShortLabel(int32_t local) const override;

    // The envelope's spare value, set from its declaration's starting value.
    double GetSpare() const noexcept { return spare_; }

protected:
    KivString LocalName(int32_t local) const override;

private:
    double spare_;
    double defaults_[kHostCount] = {};
};

extern template class ParameterEnvelopeT<ParameterSpecialBase<KivEnvelopeModel>>;
// Envelopes and envelope graphs show the same face; only the envelope uses the spare value.
using KivParameterEnvelope = ParameterEnvelopeT<ParameterSpecialBase<KivEnvelopeModel>>;
