#include "base/stream/kiv_ripemd_stream.h"

namespace {

// Message word order, rotation amounts and constants of the left and right lines, five
// rounds of sixteen steps each.
constexpr uint8_t kLeftWord[80] = {
    0, 1, 2,  3,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 15, 7,  4,  13, 1,  10, 6,  15, 3,  12, 0, 9,
    5, 2, 14, 11, 8,  3,  10, 14, 4,  9, 15, 8,  1,  2,  7,  0,  6,  13, 11, 5,  12, 1,  9,  11, 10, 0, 8,
    12, 4, 13, 3,  7,  15, 14, 5,  6,  2, 4,  0,  5,  9,  7,  12, 2,  10, 14, 1,  3,  8,  11, 6,  15, 13};
constexpr uint8_t kRightWord[80] = {
    5,  14, 7,  0, 9, 2,  11, 4,  13, 6,  15, 8,  1,  10, 3,  12, 6,  11, 3,  7, 0,  13, 5,  10, 14, 15, 8,
    12, 4,  9,  1, 2, 15, 5,  1,  3,  7,  14, 6,  9,  11, 8,  12, 2,  10, 0,  4, 13, 8,  6,  4,  1,  3,  11,
    15, 0,  5,  12, 2, 13, 9,  7,  10, 14, 12, 15, 10, 4,  1,  5,  8,  7,  6,  2, 13, 14, 0,  3,  9,  11};
constexpr uint8_t kLeftShift[80] = {
    11, 14, 15, 12, 5,  8,  7,  9,  11, 13, 14, 15, 6,  7,  9,  8,  7,  6,  8,  13, 11, 9,  7,  15, 7,  12, 15,
    9,  11, 7,  13, 12, 11, 13, 6,  7,  14, 9,  13, 15, 14, 8,  13, 6,  5,  12, 7,  5,  11, 12, 14, 15, 14, 15,
    9,  8,  9,  14, 5,  6,  8,  6,  5,  12, 9,  15, 5,  11, 6,  8,  13, 12, 5,  12, 13, 14, 11, 8,  5,  6};
constexpr uint8_t kRightShift[80] = {
    8,  9,  9,  11, 13, 15, 15, 5,  7,  7,  8,  11, 14, 14, 12, 6,  9,  13, 15, 7,  12, 8,  9,  11, 7,  7,  12,
    7,  6,  15, 13, 11, 9,  7,  15, 11, 8,  6,  6,  14, 12, 13, 5,  14, 13, 13, 7,  5,  15, 5,  8,  11, 14, 14,
    6,  14, 6,  9,  12, 9,  12, 5,  15, 8,  8,  5,  12, 9,  12, 5,  14, 6,  8,  13, 6,  5,  15, 13, 11, 11};
constexpr uint32_t kLeftConstant[5] = {0x00000000u, 0x5A827999u, 0x6ED9EBA1u, 0x8F1BBCDCu, 0xA953FD4Eu};
constexpr uint32_t kRightConstant[5] = {0x50A28BE6u, 0x5C4DD124u, 0x6D703EF3u, 0x7A6D76E9u, 0x00000000u};

uint32_t RoundFunction(int round, uint32_t x, uint32_t y, uint32_t z) {
    switch (round) {
        case 0: return x ^ y ^ z;
        case 1: return (x & y) | (~x & z);
        case 2: return (x | ~y) ^ z;
        case 3: return (x & z) | (y & ~z);
        default: return x ^ (y | ~z);
    }
}

struct Line {
    uint32_t a, b, c, d, e;
};

}  // namespace

void KivRIPEMDStream::Initialize() {
    state_[0] = 0x67452301u;
    state_[1] = 0xEFCDAB89u;
    state_[2] = 0x98BADCFEu;
    state_[3] = 0x10325476u;
    state_[4] = 0xC3D2E1F0u;
    Start();
}

void KivRIPEMDStream::ProcessBlock(const uint8_t* block) {
    uint32_t words[16];
    LoadWords(block, words, 16);
    Line left{state_[0], state_[1], state_[2], state_[3], state_[4]};
    Line right = left;
    auto step = [](Line& line, uint32_t f, uint32_t word, uint32_t constant, int32_t shift) {
        uint32_t next = RotateLeft(line.a + f + word + constant, shift) + line.e;
        line.a = line.e;
        line.e = line.d;
        line.d = RotateLeft(line.c, 10);
        line.c = line.b;
        line.b = next;
    };
    for (int index = 0; index < 80; ++index) {
        int round = index / 16;
        step(left, RoundFunction(round, left.b, left.c, left.d), words[kLeftWord[index]], kLeftConstant[round],
             kLeftShift[index]);
        step(right, RoundFunction(4 - round, right.b, right.c, right.d), words[kRightWord[index]],
             kRightConstant[round], kRightShift[index]);
    }
    uint32_t combined = state_[1] + left.c + right.d;
    state_[1] = state_[2] + left.d + right.e;
    state_[2] = state_[3] + left.e + right.a;
    state_[3] = state_[4] + left.a + right.b;
    state_[4] = state_[0] + left.b + right.c;
    state_[0] = combined;
}

void KivRIPEMDStream::StoreDigest(uint8_t* digest) const { StoreWords(state_, 5, digest); }
