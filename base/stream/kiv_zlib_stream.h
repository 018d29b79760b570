#pragma once
#include <cstdint>

#include "base/stream/kiv_stream.h"

// Compresses what is written to it onto a target stream, or decompresses what is read
// from a target stream, with zlib (zlib format: header, deflate data, Adler-32).
class KivZLibStream : public KivStream {
public:
    KivZLibStream() = default;
    ~KivZLibStream() override;
    KivZLibStream(const KivZLibStream&) = delete;
    KivZLibStream& operator=(const KivZLibStream&) = delete;

    // The zlib level for a quality of 1..100: (quality - 1) / 10 within 0..9.
    static int32_t LevelForQuality(int32_t quality);

    // Without a target the stream stays closed. `quality` matters only when compressing.
    void Open(KivStream* target, bool compress, int32_t quality = 100);

    KivStream* GetSubStream() override;
    void Write(const void* data, int32_t count) override;
    int32_t Read(void* buffer, int32_t count) override;
    // Uncompressed bytes passed through so far.
    int64_t GetPosition() override { return uncompressedCount_; }
    void Flush() override;
    bool IsEnd() override;
    bool IsOpen() override { return target_ != nullptr; }
    // Raises "ZLIB stream has not been terminated." for a compressing stream not finished.
    virtual void Close();
    // Ends compression: writes the rest of the compressed data and the trailer.
    virtual void Finish();

private:
    struct State;
    void WriteProducedOutput();
    bool RefillInput();
    void DropState() noexcept;

    State* state_ = nullptr;  // zlib's stream and the two buffers; exists from Open to Finish or Close
    KivStream* target_ = nullptr;
    bool compressing_ = false;
    bool ended_ = false;  // the decompressor has seen the end of the compressed data
    int64_t uncompressedCount_ = 0;
};
