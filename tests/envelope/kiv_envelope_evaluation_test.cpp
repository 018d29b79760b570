// Evaluation paths of the computer: the remembered search, block rendering, the packed
// items and the promise that nothing is allocated once compiled.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "base/kiv_memory.h"
#include "envelope/kiv_envelope.h"
#include "envelope/kiv_envelope_computer.h"

namespace {

// Every segment type and both corner kinds on 0..1, with corners rounded at most points.
KivEnvelope EveryKindOfShape() {
    KivEnvelope envelope;
    const int32_t types[] = {0, 1, 2, 3, 4, 5, 6, 1, 7, 8, 3, 1};
    const int32_t count = static_cast<int32_t>(sizeof types / sizeof types[0]);
    for (int32_t i = 0; i < count; ++i) {
        KivEnvelopePoint& point = envelope.AddPoint(i / double(count - 1), (i % 3) * 0.4 + 0.05 * i);
        point.segmentType = types[i];
        point.curvature = (i % 2 ? -0.6 : 0.45);
        point.horizontalCurvature = 0.3;
        point.leftSmoothness = point.rightSmoothness = (i % 4) * 0.25;
        point.smoothingKind = i % 5 == 0 ? KivEnvelopePoint::kCubicCorner : KivEnvelopePoint::kBezierCorner;
        if (i % 3 == 0) point.flags = 0;
    }
    return envelope;
}

// The item for x found by walking the list from its start.
double ReferenceValue(const KivEnvelopeComputer& computer, double x) {
    int32_t index = 0;
    while (index + 1 < computer.GetItemCount() && computer.GetItem(index).GetEndX() <= x) ++index;
    return computer.GetItem(index).Value(x);
}

uint64_t Bits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

class CompiledShape : public ::testing::Test {
protected:
    void SetUp() override {
        plain_.SetVectorItems(false);
        vector_.SetVectorItems(true);
        plain_.Compile(shape_);
        vector_.Compile(shape_);
    }

    KivEnvelope shape_ = EveryKindOfShape();
    KivEnvelopeComputer plain_;
    KivEnvelopeComputer vector_;
};

}  // namespace

TEST_F(CompiledShape, SearchFindsTheSameItemForIncreasingDecreasingAndRandomX) {
    ASSERT_GT(plain_.GetItemCount(), 15);
    std::vector<double> xs;
    for (int i = -20; i <= 1100; ++i) xs.push_back(i / 1000.0);
    for (int i = 1100; i >= -20; --i) xs.push_back(i / 1000.0 + 0.0003);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> anywhere(-0.2, 1.2);
    for (int i = 0; i < 3000; ++i) xs.push_back(anywhere(random));
    // Item boundaries exactly, where the search must pick the item that starts there.
    for (int32_t i = 0; i < plain_.GetItemCount(); ++i) xs.push_back(plain_.GetItem(i).GetEndX());
    for (double x : xs) ASSERT_EQ(Bits(plain_.Value(x)), Bits(ReferenceValue(plain_, x))) << x;
}

TEST_F(CompiledShape, PackedItemsGiveTheSameBitsAsPlainOnes) {
    ASSERT_EQ(plain_.GetItemCount(), vector_.GetItemCount());
    // An inexact step, odd counts and x outside each item's own range.
    const double dx = 0.0007;
    for (int32_t i = 0; i < plain_.GetItemCount(); ++i) {
        std::vector<double> a(1431), b(1431);
        std::vector<float> af(1431), bf(1431);
        plain_.GetItem(i).RenderDouble(a.data(), -0.1, dx, 1431);
        vector_.GetItem(i).RenderDouble(b.data(), -0.1, dx, 1431);
        plain_.GetItem(i).RenderFloat(af.data(), -0.1, dx, 1431);
        vector_.GetItem(i).RenderFloat(bf.data(), -0.1, dx, 1431);
        for (int j = 0; j < 1431; ++j) {
            ASSERT_EQ(Bits(a[j]), Bits(b[j])) << "item " << i << " sample " << j;
            ASSERT_EQ(Bits(a[j]), Bits(vector_.GetItem(i).Value(-0.1 + j * dx))) << "item " << i << " sample " << j;
            ASSERT_EQ(af[j], bf[j]) << "item " << i << " sample " << j;
            ASSERT_EQ(af[j], static_cast<float>(a[j]));
        }
    }
}

TEST_F(CompiledShape, BlockRenderingEqualsPerSampleEvaluation) {
    // A step that is exact in binary, so every run start x0 + first * dx is exact too.
    const double dx = 1.0 / 1024;
    const int32_t n = 1333;
    for (KivEnvelopeComputer* computer : {&plain_, &vector_}) {
        std::vector<double> block(n);
        std::vector<float> blockFloat(n);
        computer->Render(block.data(), -0.125, dx, n);
        computer->Render(blockFloat.data(), -0.125, dx, n);
        for (int32_t i = 0; i < n; ++i) {
            const double expected = ReferenceValue(*computer, -0.125 + i * dx);
            ASSERT_EQ(Bits(block[i]), Bits(expected)) << i;
            ASSERT_EQ(blockFloat[i], static_cast<float>(expected)) << i;
        }
        // Backwards too.
        computer->Render(block.data(), 1.2, -dx, n);
        for (int32_t i = 0; i < n; ++i) ASSERT_EQ(Bits(block[i]), Bits(ReferenceValue(*computer, 1.2 - i * dx)));
    }
}

TEST_F(CompiledShape, ArrayEvaluationEqualsPerSampleEvaluation) {
    // Slow drifts (long runs on one item), jumps across many items, odd run lengths, item
    // boundaries exactly and x outside the envelope.
    std::vector<double> xs;
    for (int i = -20; i <= 1100; ++i) xs.push_back(i / 1000.0);
    for (int i = 1100; i >= -20; i -= 3) xs.push_back(i / 1000.0 + 0.0003);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> anywhere(-0.2, 1.2);
    for (int i = 0; i < 701; ++i) xs.push_back(anywhere(random));
    for (int32_t i = 0; i < plain_.GetItemCount(); ++i) xs.push_back(plain_.GetItem(i).GetEndX());
    const int32_t n = static_cast<int32_t>(xs.size());
    for (KivEnvelopeComputer* computer : {&plain_, &vector_}) {
        std::vector<double> values(xs.size());
        computer->Values(xs.data(), values.data(), n);
        for (int32_t i = 0; i < n; ++i) ASSERT_EQ(Bits(values[i]), Bits(ReferenceValue(*computer, xs[i]))) << i;
        // In place, continuing from the search position the last call left.
        std::vector<double> inPlace(xs.rbegin(), xs.rend());
        computer->Values(inPlace.data(), inPlace.data(), n);
        for (int32_t i = 0; i < n; ++i) ASSERT_EQ(Bits(inPlace[i]), Bits(values[n - 1 - i])) << i;
    }
}

namespace {

// Counts the calls to the module's memory table while alive.
class AllocationCounter {
public:
    AllocationCounter() : saved_(KivMemory::Table()) {
        count_ = 0;
        Saved() = saved_;
        KivMemory::Table().Allocate = [](size_t size) { ++count_; return Saved().Allocate(size); };
        KivMemory::Table().Reallocate = [](void* block, size_t size) { ++count_; return Saved().Reallocate(block, size); };
    }
    ~AllocationCounter() { KivMemory::Table() = saved_; }
    int Count() const { return count_; }

private:
    static KivMemoryFunctions& Saved() {
        static KivMemoryFunctions table;
        return table;
    }
    static inline int count_ = 0;
    KivMemoryFunctions saved_;
};

}  // namespace

TEST_F(CompiledShape, EvaluationAndRenderingAllocateNothing) {
    std::vector<double> block(512);
    std::vector<float> blockFloat(512);
    AllocationCounter counter;
    double sum = 0.0;
    for (int i = 0; i < 5000; ++i) sum += vector_.Value((i * 7919 % 1300) / 1000.0 - 0.1);
    plain_.Render(block.data(), 0.0, 1.0 / 512, 512);
    vector_.Render(blockFloat.data(), 0.0, 1.0 / 512, 512);
    vector_.Values(block.data(), block.data(), 512);
    EXPECT_EQ(counter.Count(), 0);
    // Compilation does allocate through the table, so the counter does see it.
    plain_.Compile(shape_);
    EXPECT_GT(counter.Count(), 0);
    EXPECT_TRUE(sum == sum);
}

// The Linux and Windows builds must produce the same samples: a fingerprint of the bits of
// a rendered block (every item kind, exponential ones included) taken from one build is
// checked on the other.
TEST_F(CompiledShape, SamplesAreTheSameOnEveryBuild) {
    std::vector<double> block(4096);
    plain_.Render(block.data(), -0.0625, 1.0 / 3000, 4096);
    uint64_t hash = 14695981039346656037ull;
    for (double value : block) hash = (hash ^ Bits(value)) * 1099511628211ull;
    EXPECT_EQ(hash, 9745590799315122858ull);
}
