#pragma once
#include <cstdint>
#include <cstdio>

#include "base/kiv_string.h"
#include "base/stream/kiv_stream.h"

// A file opened through the C runtime's buffered files. Read and write handle are the same
// open file; they are kept apart so that the console stream can use two different ones.
class KivStdFileStream : public KivStream {
public:
    enum OpenFlags : int32_t { kRead = 1, kWrite = 2, kCreate = 4 };

    KivStdFileStream() = default;
    KivStdFileStream(const KivString& fileName, int32_t flags) { Open(fileName, flags); }
    ~KivStdFileStream() override;
    KivStdFileStream(const KivStdFileStream&) = delete;
    KivStdFileStream& operator=(const KivStdFileStream&) = delete;

    void Write(const void* data, int32_t count) override;
    int32_t Read(void* buffer, int32_t count) override;
    void Seek(int64_t offset, int32_t origin) override;
    int64_t GetPosition() override;
    // Raises "Error writing to file ..." when the buffered bytes cannot be written.
    void Flush() override;
    bool IsEnd() override;
    void Truncate() override;
    int64_t GetSize() override;
    bool IsOpen() override { return readHandle_ || writeHandle_; }
    // Raises "Error writing to file ..." when the last buffered bytes of a written file could
    // not be written; the file is closed either way.
    virtual void Close();

    // An empty name leaves the stream closed without error.
    void Open(const KivString& fileName, int32_t flags);
    const KivString& GetFileName() const { return fileName_; }

protected:
    // Takes runtime handles the stream does not own (standard input and output).
    void AdoptHandles(std::FILE* readHandle, std::FILE* writeHandle);
    void ForgetHandles();
    void RequireHandle() const;
    // Closes without raising; false when a written file's last bytes were lost.
    bool CloseHandles() noexcept;
    [[noreturn]] void RaiseWriteFailure() const;

private:
    enum class Direction { kNone, kReading, kWriting };
    // The runtime needs a positioning call between reading and writing the same file.
    void SwitchDirection(Direction direction);

    KivString fileName_;
    std::FILE* readHandle_ = nullptr;
    std::FILE* writeHandle_ = nullptr;
    int64_t sizeAtOpen_ = 0;
    Direction direction_ = Direction::kNone;
};
