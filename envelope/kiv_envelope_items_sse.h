#pragma once
#include <cstdint>

#include "envelope/kiv_envelope_items.h"

// The packed variants: the same formulas and fields as the plain items, rendering two
// samples per SSE2 instruction. Every operation is done in the plain item's order with
// IEEE operations only (no reciprocal estimates), so the values are identical to the bit.
class KivEnvelopeComputer::ItemQuadraticSSE final : public ItemQuadratic {
public:
    using ItemQuadratic::ItemQuadratic;
    void RenderFloat(float* out, double x0, double dx, int32_t n) const noexcept override;
    void RenderDouble(double* out, double x0, double dx, int32_t n) const noexcept override;
    void Values(const double* x, double* out, int32_t n) const noexcept override;
};

class KivEnvelopeComputer::ItemFourthOrderSSE final : public ItemFourthOrder {
public:
    using ItemFourthOrder::ItemFourthOrder;
    void RenderFloat(float* out, double x0, double dx, int32_t n) const noexcept override;
    void RenderDouble(double* out, double x0, double dx, int32_t n) const noexcept override;
    void Values(const double* x, double* out, int32_t n) const noexcept override;
};

class KivEnvelopeComputer::ItemCubicSSE final : public ItemCubic {
public:
    using ItemCubic::ItemCubic;
    void RenderFloat(float* out, double x0, double dx, int32_t n) const noexcept override;
    void RenderDouble(double* out, double x0, double dx, int32_t n) const noexcept override;
    void Values(const double* x, double* out, int32_t n) const noexcept override;
};

class KivEnvelopeComputer::ItemBezierSSE final : public ItemBezier {
public:
    using ItemBezier::ItemBezier;
    void RenderFloat(float* out, double x0, double dx, int32_t n) const noexcept override;
    void RenderDouble(double* out, double x0, double dx, int32_t n) const noexcept override;
    void Values(const double* x, double* out, int32_t n) const noexcept override;

private:
    // The fields as packed pairs (SSE2 builds only).
    struct Pair;
    Pair Packed() const noexcept;
};
