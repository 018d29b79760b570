#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "base/kiv_byte_buffer.h"
#include "base/kiv_memory.h"
#include "base/kiv_string.h"
#include "tests/support/kiv_test_print.h"

namespace {

// Counts allocations made through the module's memory table while alive.
class AllocationCounter {
public:
    AllocationCounter() : saved_(KivMemory::Table()) {
        count_ = 0;
        KivMemory::Table().Allocate = [](size_t size) {
            ++count_;
            return KivMemory::RuntimeTable().Allocate(size);
        };
        KivMemory::Table().Reallocate = [](void* block, size_t size) {
            ++count_;
            return KivMemory::RuntimeTable().Reallocate(block, size);
        };
    }
    ~AllocationCounter() { KivMemory::Table() = saved_; }
    int Count() const { return count_; }

private:
    KivMemoryFunctions saved_;
    static inline std::atomic<int> count_{0};
};

}  // namespace

TEST(KivString, LiteralsAreBorrowedAndWidenedWithSign) {
    static const char kLiteral[] = "Gain \xE9";
    AllocationCounter counter;
    KivString text(kLiteral);
    KivString copy = text;
    EXPECT_EQ(counter.Count(), 0);
    EXPECT_TRUE(copy.IsLiteral());
    EXPECT_EQ(copy.LiteralBytes(), kLiteral);
    EXPECT_EQ(text.Length(), 6);
    EXPECT_EQ(text[0], u'G');
    EXPECT_EQ(text[5], char16_t(0xFFE9));  // byte 0xE9 read as a signed value
    EXPECT_EQ(KivString(static_cast<const char*>(nullptr)).Length(), 0);
    EXPECT_EQ(KivString::CopyBytes("\xE9", 1)[0], char16_t(0xFFE9));
}

TEST(KivString, CopiesShareUntilOneChanges) {
    KivString original = KivString(u"abc");
    KivString copy = original;
    EXPECT_EQ(copy.HeapUnits(), original.HeapUnits());
    copy.Append(u'd');
    EXPECT_NE(copy.HeapUnits(), original.HeapUnits());
    EXPECT_EQ(original, KivString("abc"));
    EXPECT_EQ(copy, KivString("abcd"));
    KivString literal("xy");
    literal.Append(u'z');  // a literal turns into a heap buffer before it changes
    EXPECT_FALSE(literal.IsLiteral());
    EXPECT_EQ(literal, KivString("xyz"));
}

TEST(KivString, GrowsInPowersOfTwoSoAppendingIsAmortisedConstant) {
    KivString text;
    AllocationCounter counter;
    for (int i = 0; i < 10000; ++i) text.Append(char16_t(u'a' + i % 26));
    EXPECT_EQ(text.Length(), 10000);
    // 10000 units need 20010 bytes: doublings from 16 bytes to 32768 bytes are 12 allocations.
    EXPECT_LE(counter.Count(), 13);
    EXPECT_EQ(text[9999], char16_t(u'a' + 9999 % 26));
}

TEST(KivString, EditsKeepTheTerminatorAndTheLength) {
    KivString text("Threshold");
    text.Insert(0, "Low ").Insert(text.Length(), " 1").Insert(3, "!");
    EXPECT_EQ(text, KivString("Low! Threshold 1"));
    text.Erase(3, 1);
    EXPECT_EQ(text, KivString("Low Threshold 1"));
    EXPECT_EQ(text.Units()[text.Length()], 0);
    EXPECT_EQ(text.Substring(4, 9), KivString("Threshold"));
    EXPECT_EQ(text.Substring(20), KivString(""));
    EXPECT_EQ(text.Find(u'T'), 4);
    EXPECT_EQ(text.Find(KivString("hold")), 9);
    EXPECT_EQ(text.Find(KivString("none")), -1);
    EXPECT_EQ(KivString(" \t value \n").Trimmed(), KivString("value"));
    KivString upper("MiXeD 1");
    EXPECT_EQ(upper.MakeLower(), KivString("mixed 1"));
    EXPECT_EQ(upper.MakeUpper(), KivString("MIXED 1"));
    text.SetLength(3);
    EXPECT_EQ(text, KivString("Low"));
    KivString self("ab");
    self.Append(self).Append(self);
    EXPECT_EQ(self, KivString("abababab"));
}

TEST(KivString, ExactComparisonOrdersByUnitsThenLength) {
    EXPECT_LT(KivString("abc").Compare(KivString("abd")), 0);
    EXPECT_GT(KivString("abcd").Compare(KivString("abc")), 0);
    EXPECT_EQ(KivString("abc").Compare(KivString(u"abc")), 0);
    EXPECT_NE(KivString("ABC"), KivString("abc"));
}

TEST(KivString, ByteViewBorrowsAHeapStringAndWidensALiteral) {
    KivString heap(u"hi");
    KivByteBuffer withTerminator = heap.AsByteBuffer(true);
    EXPECT_EQ(withTerminator.Size(), 6);
    EXPECT_EQ(withTerminator.Data(), reinterpret_cast<const uint8_t*>(heap.HeapUnits()));
    EXPECT_EQ(heap.AsByteBuffer(false).Size(), 4);
    KivByteBuffer widened = KivString("hi").AsByteBuffer(false);
    const char16_t expected[] = u"hi";
    ASSERT_EQ(widened.Size(), 4);
    EXPECT_EQ(std::memcmp(widened.Data(), expected, 4), 0);
    heap = KivString();  // the view keeps the units alive
    EXPECT_EQ(reinterpret_cast<const char16_t*>(withTerminator.Data())[1], u'i');
}

TEST(KivString, SharedBuffersSurviveCopiesOnManyThreads) {
    KivString shared(u"shared text that many threads copy");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared] {
            for (int i = 0; i < 20000; ++i) {
                KivString copy = shared;
                if (i % 7 == 0) copy.Append(u'!');
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(shared, KivString("shared text that many threads copy"));
}

TEST(KivByteBuffer, CopyOnWriteAndResize) {
    KivByteBuffer first = KivByteBuffer::Copy("abc", 3);
    KivByteBuffer second = first;
    EXPECT_TRUE(first.IsShared());
    second.MutableData()[0] = 'x';
    EXPECT_EQ(first.Data()[0], 'a');
    EXPECT_EQ(second.Data()[0], 'x');
    second.Resize(5);
    EXPECT_EQ(second.Size(), 5);
    EXPECT_EQ(second.Data()[2], 'c');
    EXPECT_EQ(second.Data()[4], 0);
    char borrowed[2] = {'q', 'r'};
    KivByteBuffer view = KivByteBuffer::Borrow(borrowed, 2);
    view.MutableData()[0] = 'z';  // a borrowed block is copied before it is written
    EXPECT_EQ(borrowed[0], 'q');
    EXPECT_TRUE(KivByteBuffer::Copy("ab", 2) == KivByteBuffer::Copy("ab", 2));
}
