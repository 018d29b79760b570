#include "base/stream/kiv_std_file_stream.h"

#include "base/kiv_exception.h"
#include "platform/kiv_file.h"

namespace {

const char* ModeForFlags(int32_t flags) {
    if (flags & KivStdFileStream::kWrite) return (flags & KivStdFileStream::kCreate) ? "w+b" : "r+b";
    if (flags & KivStdFileStream::kRead) return "rb";
    return "";
}

int RuntimeOrigin(int32_t origin) {
    switch (origin) {
        case KivStream::kFromStart: return SEEK_SET;
        case KivStream::kFromPosition: return SEEK_CUR;
        case KivStream::kFromEnd: return SEEK_END;
        default: return -1;
    }
}

void RaiseSeekFailure() { throw KivException("Could not perform file seek.", KivException::kInputOutput); }

}  // namespace

// A destructor cannot raise: whoever needs to know that the last bytes arrived calls Close.
KivStdFileStream::~KivStdFileStream() { CloseHandles(); }

void KivStdFileStream::Open(const KivString& fileName, int32_t flags) {
    Close();
    if (fileName.IsEmpty()) return;
    std::u16string wideName = fileName.ToU16();
    std::FILE* file = KivFile::OpenWide(wideName.c_str(), ModeForFlags(flags));
    if (!file) {
        if (flags & kCreate) {
            KivException::Raise(KivException::kCannotOpen,
                                "File \"{0}\" could not be created. Make sure there is no write-protected file "
                                "already existing.",
                                fileName);
        }
        KivException::Raise(KivException::kCannotOpen, "File \"{0}\" could not be open. Make sure it exists.",
                            fileName);
    }
    fileName_ = fileName;
    readHandle_ = writeHandle_ = file;
    direction_ = Direction::kNone;
    sizeAtOpen_ = GetSize();
}

// The runtime writes its last buffer when the file is closed: a full disk often shows only
// here, and a caller that did not hear of it would take a truncated file for a saved one.
void KivStdFileStream::Close() {
    if (!CloseHandles()) RaiseWriteFailure();
}

bool KivStdFileStream::CloseHandles() noexcept {
    bool closed = true;
    if (readHandle_) closed &= std::fclose(readHandle_) == 0;
    if (writeHandle_ && writeHandle_ != readHandle_) closed &= std::fclose(writeHandle_) == 0;
    const bool wrote = writeHandle_ != nullptr;
    ForgetHandles();
    return closed || !wrote;
}

void KivStdFileStream::RaiseWriteFailure() const {
    KivException::Raise(KivException::kInputOutput, "Error writing to file \"{0}\". Probably disk full.", fileName_);
}

void KivStdFileStream::AdoptHandles(std::FILE* readHandle, std::FILE* writeHandle) {
    readHandle_ = readHandle;
    writeHandle_ = writeHandle;
    direction_ = Direction::kNone;
}

void KivStdFileStream::ForgetHandles() {
    readHandle_ = nullptr;
    writeHandle_ = nullptr;
}

void KivStdFileStream::RequireHandle() const {
    if (!readHandle_ && !writeHandle_) {
        throw KivException("File stream is not initialized.", KivException::kNotInitialized);
    }
}

void KivStdFileStream::SwitchDirection(Direction direction) {
    if (readHandle_ == writeHandle_ && direction_ != Direction::kNone && direction_ != direction) {
        std::fseek(readHandle_, 0, SEEK_CUR);
    }
    direction_ = direction;
}

void KivStdFileStream::Write(const void* data, int32_t count) {
    RequireHandle();
    SwitchDirection(Direction::kWriting);
    const char* bytes = static_cast<const char*>(data);
    while (count > 0) {
        size_t written = std::fwrite(bytes, 1, static_cast<size_t>(count), writeHandle_);
        if (written == 0) RaiseWriteFailure();
        bytes += written;
        count -= static_cast<int32_t>(written);
    }
}

int32_t KivStdFileStream::Read(void* buffer, int32_t count) {
    RequireHandle();
    if (count <= 0) return 0;
    SwitchDirection(Direction::kReading);
    size_t got = std::fread(buffer, 1, static_cast<size_t>(count), readHandle_);
    if (got < static_cast<size_t>(count) && std::ferror(readHandle_)) {
        std::clearerr(readHandle_);
        KivException::Raise(KivException::kInputOutput, "Error reading from file \"{0}\".", fileName_);
    }
    return static_cast<int32_t>(got);
}

void KivStdFileStream::Seek(int64_t offset, int32_t origin) {
    RequireHandle();
    int runtimeOrigin = RuntimeOrigin(origin);
    if (runtimeOrigin < 0 || !KivFile::Seek(readHandle_, offset, runtimeOrigin)) RaiseSeekFailure();
    direction_ = Direction::kNone;
}

int64_t KivStdFileStream::GetPosition() {
    RequireHandle();
    int64_t position = KivFile::Tell(readHandle_);
    if (position < 0) RaiseSeekFailure();
    return position;
}

void KivStdFileStream::Flush() {
    RequireHandle();
    if (writeHandle_ && std::fflush(writeHandle_) != 0) {
        std::clearerr(writeHandle_);
        RaiseWriteFailure();
    }
}

bool KivStdFileStream::IsEnd() { return GetPosition() >= sizeAtOpen_; }

void KivStdFileStream::Truncate() {
    RequireHandle();
    if (!KivFile::TruncateAtPosition(writeHandle_)) RaiseWriteFailure();
}

int64_t KivStdFileStream::GetSize() {
    int64_t position = GetPosition();
    if (!KivFile::Seek(readHandle_, 0, SEEK_END)) RaiseSeekFailure();
    int64_t size = KivFile::Tell(readHandle_);
    if (!KivFile::Seek(readHandle_, position, SEEK_SET) || size < 0) RaiseSeekFailure();
    direction_ = Direction::kNone;
    return size;
}
