#pragma once
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "base/kiv_object.h"
#include "base/kiv_string.h"

// The abstract byte stream every stored or loaded byte passes through. Optional services
// default to raising code 1 "Service "{0}" is not implemented."; every failure raises a
// KivException. The order of the virtual operations is part of the interface.
class KivStream : public KivObject {
public:
    // Results of ReadLine into a byte buffer.
    enum LineResult : int32_t { kLineComplete = 0, kLineTruncated = 1, kLineNoData = 2 };
    // Seek origins.
    enum Origin : int32_t { kFromStart = 0, kFromPosition = 1, kFromEnd = 2 };

    ~KivStream() override = default;
    virtual KivStream* GetSubStream();
    virtual void Write(const void* data, int32_t count);
    // Writes `count` zero bytes through Write, in pieces of at most 1024 bytes.
    virtual void WriteFiller(int32_t count);
    // Returns the bytes read: fewer than `count` only at the end of the data.
    virtual int32_t Read(void* buffer, int32_t count);
    // Reads one line into `buffer` (always zero-terminated); byte 13 is dropped, byte 10 is
    // consumed and not stored. Returns a LineResult.
    virtual int32_t ReadLine(char* buffer, int32_t size);
    // The UTF-8 bytes of `text`, without terminator.
    virtual void WriteString(const KivString& text);
    virtual void WriteLine(const KivString& text);
    virtual void Seek(int64_t offset, int32_t origin);
    virtual int64_t GetPosition();
    virtual void Flush();
    virtual bool IsEnd();
    virtual void Truncate();
    virtual int64_t GetSize();
    virtual bool IsOpen();

    // One line as characters (each byte widened with its sign); false when nothing was left.
    bool ReadLine(KivString& line);
    // As above; raises code 256 "Could not load a line from stream." at the end of the data.
    void ReadRequiredLine(KivString& line);
    // Exactly `count` bytes, else code 256 "Could not read required data from stream.".
    void ReadRequired(void* buffer, int32_t count);

    // Fixed-width values as their in-memory bytes, least significant byte first.
    template <typename T>
    void WriteValue(T value) {
        static_assert(std::is_arithmetic_v<T>);
        Write(&value, static_cast<int32_t>(sizeof(T)));
    }
    template <typename T>
    T ReadValue() {
        static_assert(std::is_arithmetic_v<T>);
        T value;
        ReadRequired(&value, static_cast<int32_t>(sizeof(T)));
        return value;
    }
};
