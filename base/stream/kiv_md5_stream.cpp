#include "base/stream/kiv_md5_stream.h"

#include <array>
#include <cmath>

namespace {

// T[i] = floor(2^32 * |sin(i + 1)|), exact in double precision.
const std::array<uint32_t, 64>& SineTable() {
    static const std::array<uint32_t, 64> table = [] {
        std::array<uint32_t, 64> values{};
        for (int index = 0; index < 64; ++index) {
            values[index] = static_cast<uint32_t>(std::floor(std::fabs(std::sin(index + 1.0)) * 4294967296.0));
        }
        return values;
    }();
    return table;
}

constexpr int32_t kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

uint32_t RoundFunction(int round, uint32_t b, uint32_t c, uint32_t d) {
    switch (round) {
        case 0: return (b & c) | (~b & d);
        case 1: return (b & d) | (c & ~d);
        case 2: return b ^ c ^ d;
        default: return c ^ (b | ~d);
    }
}

int WordIndex(int round, int step) {
    switch (round) {
        case 0: return step;
        case 1: return (5 * step + 1) % 16;
        case 2: return (3 * step + 5) % 16;
        default: return (7 * step) % 16;
    }
}

}  // namespace

void KivMD5Stream::Initialize(uint32_t seed) {
    seed_ = seed;
    state_[0] = 0x67452301u + 11u * seed;
    state_[1] = 0xEFCDAB89u + 71u * seed;
    state_[2] = 0x98BADCFEu + 37u * seed;
    state_[3] = 0x10325476u + 97u * seed;
    Start();
}

void KivMD5Stream::ProcessBlock(const uint8_t* block) {
    uint32_t words[16];
    LoadWords(block, words, 16);
    const std::array<uint32_t, 64>& sine = SineTable();
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int step = 0; step < 64; ++step) {
        int round = step / 16;
        uint32_t sum = a + RoundFunction(round, b, c, d) + words[WordIndex(round, step)] + sine[step];
        uint32_t next = b + RotateLeft(sum, kShifts[round][step % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void KivMD5Stream::StoreDigest(uint8_t* digest) const { StoreWords(state_, 4, digest); }
