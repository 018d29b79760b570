#pragma once
#include <cstddef>
#include <cstdint>

#include "base/kiv_list.h"
#include "base/kiv_object.h"

class KivEnvelope;

// An envelope compiled into a list of analytic pieces ("items"), each valid up to its end
// x, and evaluated sample by sample with a remembered search position: for slowly moving
// x a value costs one or two comparisons, one virtual call and a handful of
// multiplications. Compilation allocates; evaluation and rendering never do.
class KivEnvelopeComputer : public KivObject {
public:
    class Item;
    class ItemConstant;
    class ItemLinear;
    class ItemQuadratic;
    class ItemFourthOrder;
    class ItemExponencial;
    class ItemBezier;
    class ItemDouble;
    class ItemCubic;
    class ItemStairs;
    class ItemPulses;
    class ItemQuadraticSSE;
    class ItemFourthOrderSSE;
    class ItemBezierSSE;
    class ItemCubicSSE;

    // The end x of the last item: beyond every x the function is asked for.
    static constexpr double kEndless = 1.7e308;

    KivEnvelopeComputer();
    ~KivEnvelopeComputer() override;
    KivEnvelopeComputer(const KivEnvelopeComputer&) = delete;
    KivEnvelopeComputer& operator=(const KivEnvelopeComputer&) = delete;

    // Rebuilds the items from the envelope's points; the search restarts at item 0.
    // Raises "Invalid control point type." for a segment type outside 0..8 and then
    // leaves a single constant piece behind.
    void Compile(const KivEnvelope& envelope);

    // f(x), searching from the item used last.
    inline double Value(double x) noexcept;
    // out[i] = f(x[i]) for arbitrary x, the same values and search position as Value sample
    // by sample; each run of samples that falls on one item is evaluated by that item in one
    // call, so a slowly moving x costs a comparison per sample instead of a virtual call.
    // `out` may be `x` itself.
    void Values(const double* x, double* out, int32_t n) noexcept;
    // out[i] = f(x0 + i * dx); each run of samples that falls on one item is rendered by
    // that item from the run's first x, x0 + first * dx.
    void Render(float* out, double x0, double dx, int32_t n) noexcept;
    void Render(double* out, double x0, double dx, int32_t n) noexcept;

    int32_t GetItemCount() const noexcept { return items_.Count(); }
    const Item& GetItem(int32_t index) const noexcept { return *items_[index]; }
    double GetYMinimum() const noexcept { return yMinimum_; }
    double GetYMaximum() const noexcept { return yMaximum_; }
    // The x from which the function is 0 to the end (kEndless when the last point is not 0).
    double GetZeroStart() const noexcept { return zeroStart_; }

    // Packed items are used when the processor offers SSE2; tests switch them off to
    // compare. Takes effect at the next compilation.
    void SetVectorItems(bool on) noexcept { vectorItems_ = on; }
    bool UsesVectorItems() const noexcept { return vectorItems_; }

private:
    friend class KivEnvelopeCompilation;

    inline void Locate(double x) noexcept;
    // The number of x[1..] after x[0] (which the located item covers) that it covers too.
    int32_t RunOnItem(const double* x, int32_t n) const noexcept;
    template <typename Sample>
    void RenderRuns(Sample* out, double x0, double dx, int32_t n) noexcept;
    void DestroyItems() noexcept;

    KivList<Item*, 16> items_;
    double lastX_ = -kEndless;
    int32_t index_ = 0;
    double yMinimum_ = 0.0;
    double yMaximum_ = 1.0;
    double zeroStart_ = kEndless;
    bool vectorItems_;
};

// One analytic piece of the function, used for x below its end x.
class KivEnvelopeComputer::Item : public KivObject {
public:
    explicit Item(double endX) noexcept : endX_(endX) {}

    // out[i] = f(x0 + i * dx) for i in 0 .. n-1.
    virtual void RenderFloat(float* out, double x0, double dx, int32_t n) const noexcept = 0;
    virtual void RenderDouble(double* out, double x0, double dx, int32_t n) const noexcept = 0;
    virtual double Value(double x) const noexcept = 0;
    // out[i] = f(x[i]) for i in 0 .. n-1; out may be x itself.
    virtual void Values(const double* x, double* out, int32_t n) const noexcept = 0;
    // Difference quotients over a step of 1e-10 to either side of x.
    virtual double SlopeRight(double x) const noexcept;
    virtual double SlopeLeft(double x) const noexcept;

    double GetEndX() const noexcept { return endX_; }
    void SetEndX(double endX) noexcept { endX_ = endX; }

    static void* operator new(size_t size);
    static void operator delete(void* block) noexcept;

protected:
    double endX_;
};

inline void KivEnvelopeComputer::Locate(double x) noexcept {
    Item* const* items = items_.begin();
    int32_t index = index_;
    // Written so that a NaN once passed in cannot stop the search from moving back later.
    if (!(x >= lastX_))
        while (index > 0 && items[index - 1]->GetEndX() > x) --index;
    const int32_t last = items_.Count() - 1;
    while (index < last && items[index]->GetEndX() <= x) ++index;
    index_ = index;
    lastX_ = x;
}

inline double KivEnvelopeComputer::Value(double x) noexcept {
    Locate(x);
    return items_[index_]->Value(x);
}
