#include "threads/kiv_thread_role.h"

#include <atomic>

namespace {

thread_local int32_t audioDepth = 0;
std::atomic<int64_t> violations{0};
std::atomic<int64_t> contentions{0};
std::atomic<const char*> lastRecord{""};

void Note(std::atomic<int64_t>& counter, const char* where) noexcept {
    counter.fetch_add(1, std::memory_order_relaxed);
    lastRecord.store(where ? where : "", std::memory_order_relaxed);
}

}  // namespace

namespace KivThreadRole {

bool IsAudioThread() noexcept { return audioDepth > 0; }

AudioScope::AudioScope() noexcept { ++audioDepth; }
AudioScope::~AudioScope() { --audioDepth; }

OfflineWork::OfflineWork() noexcept : saved_(audioDepth) { audioDepth = 0; }
OfflineWork::~OfflineWork() { audioDepth = saved_; }

void ExpectNotAudio(const char* where) noexcept {
    if (audioDepth > 0) Note(violations, where);
}

void ExpectAudio(const char* where) noexcept {
    if (audioDepth == 0) Note(violations, where);
}

void RecordContention(const char* lock) noexcept {
    if (audioDepth > 0) Note(contentions, lock);
}

int64_t Violations() noexcept { return violations.load(std::memory_order_relaxed); }
int64_t Contentions() noexcept { return contentions.load(std::memory_order_relaxed); }
const char* LastRecord() noexcept { return lastRecord.load(std::memory_order_relaxed); }

void ResetRecords() noexcept {
    violations.store(0);
    contentions.store(0);
    lastRecord.store("");
}

}  // namespace KivThreadRole
