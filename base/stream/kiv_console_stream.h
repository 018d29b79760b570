#pragma once
#include "base/stream/kiv_std_file_stream.h"

// Standard input and output as one stream, both switched to binary so that tools can pass
// bytes through unchanged. The runtime owns the handles: closing only forgets them.
class KivConsoleStream : public KivStdFileStream {
public:
    KivConsoleStream();
    ~KivConsoleStream() override;

    using KivStream::ReadLine;
    int32_t ReadLine(char* buffer, int32_t size) override;
    // Standard input cannot tell its size in advance; the end shows only when reading.
    bool IsEnd() override;
    void Close() override;
};
