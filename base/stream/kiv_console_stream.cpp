#include "base/stream/kiv_console_stream.h"

#include <cstring>

#include "platform/kiv_file.h"

KivConsoleStream::KivConsoleStream() {
    KivFile::SetBinaryMode(stdin);
    KivFile::SetBinaryMode(stdout);
    AdoptHandles(stdin, stdout);
}

KivConsoleStream::~KivConsoleStream() { ForgetHandles(); }

void KivConsoleStream::Close() {
    std::fflush(stdout);
    ForgetHandles();
}

int32_t KivConsoleStream::ReadLine(char* buffer, int32_t size) {
    if (size <= 0) return kLineTruncated;
    buffer[0] = 0;
    if (!std::fgets(buffer, size, stdin)) return kLineNoData;
    buffer[std::strcspn(buffer, "\r\n")] = 0;
    return kLineComplete;
}

bool KivConsoleStream::IsEnd() {
    int next = std::fgetc(stdin);
    if (next == EOF) return true;
    std::ungetc(next, stdin);
    return false;
}
