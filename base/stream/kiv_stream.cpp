#include "base/stream/kiv_stream.h"

#include <algorithm>
#include <string>

#include "base/kiv_exception.h"

namespace {

constexpr int32_t kScratchSize = 1024;
constexpr int32_t kLineChunkSize = 256;

}  // namespace

KivStream* KivStream::GetSubStream() { KivException::RaiseNotImplemented("return substream"); }

void KivStream::Write(const void*, int32_t) { KivException::RaiseNotImplemented("write to stream"); }

void KivStream::WriteFiller(int32_t count) {
    static const uint8_t kZeros[kScratchSize] = {};
    while (count > 0) {
        int32_t piece = std::min(count, kScratchSize);
        Write(kZeros, piece);
        count -= piece;
    }
}

int32_t KivStream::Read(void*, int32_t) { KivException::RaiseNotImplemented("read from stream"); }

int32_t KivStream::ReadLine(char* buffer, int32_t size) {
    if (size <= 0) return kLineTruncated;
    int32_t stored = 0;
    while (size - stored > 1) {
        char byte = 0;
        if (Read(&byte, 1) == 0) {
            buffer[stored] = 0;
            return stored == 0 ? kLineNoData : kLineComplete;
        }
        if (byte == 0 || byte == '\n') {
            buffer[stored] = 0;
            return kLineComplete;
        }
        if (byte != '\r') buffer[stored++] = byte;
    }
    buffer[stored] = 0;
    return kLineTruncated;
}

void KivStream::WriteString(const KivString& text) {
    std::string utf8 = text.ToUTF8();
    if (!utf8.empty()) Write(utf8.data(), static_cast<int32_t>(utf8.size()));
}

void KivStream::WriteLine(const KivString& text) {
    WriteString(text);
    const char lineFeed = '\n';
    Write(&lineFeed, 1);
}

void KivStream::Seek(int64_t offset, int32_t origin) {
    int64_t distance = 0;
    switch (origin) {
        case kFromStart: distance = offset - GetPosition(); break;
        case kFromPosition: distance = offset; break;
        case kFromEnd: distance = GetSize() + offset - GetPosition(); break;
        default: throw KivException("Invalid seek origin.", KivException::kInvalidArgument);
    }
    if (distance < 0) KivException::RaiseNotImplemented("backward seek in a stream");
    uint8_t scratch[kScratchSize];
    while (distance > 0) {
        int32_t piece = static_cast<int32_t>(std::min<int64_t>(distance, kScratchSize));
        int32_t got = Read(scratch, piece);
        distance -= got;
        if (got < piece) break;
    }
}

int64_t KivStream::GetPosition() { KivException::RaiseNotImplemented("get stream position"); }

void KivStream::Flush() { KivException::RaiseNotImplemented("flush stream"); }

bool KivStream::IsEnd() { KivException::RaiseNotImplemented("end of stream test"); }

void KivStream::Truncate() { KivException::RaiseNotImplemented("truncate stream"); }

int64_t KivStream::GetSize() { KivException::RaiseNotImplemented("stream size detection"); }

bool KivStream::IsOpen() { return true; }

bool KivStream::ReadLine(KivString& line) {
    line.Clear();
    char buffer[kLineChunkSize];
    int32_t result = kLineNoData;
    do {
        result = ReadLine(buffer, kLineChunkSize);
        for (const char* byte = buffer; *byte; ++byte) {
            line.Append(static_cast<char16_t>(static_cast<int16_t>(static_cast<int8_t>(*byte))));
        }
    } while (result == kLineTruncated);
    return !line.IsEmpty() || result != kLineNoData;
}

void KivStream::ReadRequiredLine(KivString& line) {
    if (!ReadLine(line)) throw KivException("Could not load a line from stream.", KivException::kInputOutput);
}

void KivStream::ReadRequired(void* buffer, int32_t count) {
    if (Read(buffer, count) != count) {
        throw KivException("Could not read required data from stream.", KivException::kInputOutput);
    }
}
