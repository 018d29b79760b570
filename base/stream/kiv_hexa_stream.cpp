#include "base/stream/kiv_hexa_stream.h"

#include <algorithm>

namespace {

constexpr int32_t kBytesPerPiece = 128;
constexpr int32_t kCharactersPerPiece = 2 * kBytesPerPiece;
constexpr char kDigits[] = "0123456789ABCDEF";

// Decoding runs for every stored preset: one table look-up per character instead of branches.
struct NibbleTable {
    uint8_t values[256] = {};
    constexpr NibbleTable() {
        for (int digit = 0; digit < 10; ++digit) values['0' + digit] = static_cast<uint8_t>(digit);
        for (int digit = 0; digit < 6; ++digit) {
            values['A' + digit] = static_cast<uint8_t>(10 + digit);
            values['a' + digit] = static_cast<uint8_t>(10 + digit);
        }
    }
};
constexpr NibbleTable kNibbles;

uint8_t NibbleOf(uint8_t character) { return kNibbles.values[character]; }

}  // namespace

void KivHexaStream::Write(const void* data, int32_t count) {
    if (!GetTarget()) return KivStream::Write(data, count);
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    char text[kCharactersPerPiece];
    while (count > 0) {
        int32_t piece = std::min(count, kBytesPerPiece);
        for (int32_t index = 0; index < piece; ++index) {
            text[2 * index] = kDigits[bytes[index] >> 4];
            text[2 * index + 1] = kDigits[bytes[index] & 15];
        }
        GetTarget()->Write(text, 2 * piece);
        bytes += piece;
        count -= piece;
    }
}

int32_t KivHexaStream::Read(void* buffer, int32_t count) {
    if (!GetTarget()) return KivStream::Read(buffer, count);
    uint8_t* bytes = static_cast<uint8_t*>(buffer);
    uint8_t text[kCharactersPerPiece];
    int32_t produced = 0;
    while (produced < count) {
        int32_t wanted = 2 * std::min(count - produced, kBytesPerPiece);
        int32_t got = GetTarget()->Read(text, wanted);
        for (int32_t index = 0; index + 1 < got; index += 2) {
            bytes[produced++] = static_cast<uint8_t>(NibbleOf(text[index]) << 4 | NibbleOf(text[index + 1]));
        }
        if (got < wanted) break;
    }
    return produced;
}

void KivHexaStream::Seek(int64_t offset, int32_t origin) { KivDispatchStream::Seek(2 * offset, origin); }

int64_t KivHexaStream::GetPosition() {
    return GetTarget() ? GetTarget()->GetPosition() / 2 : KivStream::GetPosition();
}

int64_t KivHexaStream::GetSize() { return GetTarget() ? GetTarget()->GetSize() / 2 : KivStream::GetSize(); }
