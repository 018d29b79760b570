#pragma once
#include <cstdint>
#include <cstdio>

// A one-line progress bar redrawn in place; silent unless the stream is a terminal, so that
// logs and pipes get only the report.
class KivProgressBar {
public:
    KivProgressBar(std::FILE* stream, int64_t total);
    void Update(int64_t done);
    void Finish();

private:
    std::FILE* stream_;
    int64_t total_;
    bool enabled_;
    int32_t lastPercent_ = -1;
};
