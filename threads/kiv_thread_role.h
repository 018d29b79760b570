#pragma once
#include <cstdint>

// Which role the calling thread plays for the plug-in, and the record of calls made from the
// wrong one. The audio thread is the thread inside a processing call: the core marks it for
// the length of each block (AudioScope). Code the audio thread must never reach (building
// settings documents, preparing the processing setup, kernel mutexes) checks with
// ExpectNotAudio; the processing hot paths check with ExpectAudio. Violations and contended
// lock acquisitions on the audio thread are counted rather than raised, so that a host never
// sees them and tests can assert on the counts.
//
// The checks are a thread-local read each and run in every build: the test suite runs in an
// optimised build, and a check that only debug builds make would miss the faults it exists for.
namespace KivThreadRole {

bool IsAudioThread() noexcept;

// Marks the calling thread as the audio thread while it lives; nests.
class AudioScope {
public:
    AudioScope() noexcept;
    ~AudioScope();
    AudioScope(const AudioScope&) = delete;
    AudioScope& operator=(const AudioScope&) = delete;
};

// Lifts the audio role for work the audio thread may do because nothing waits for its
// result in real time: a host rendering offline lets preparation run inline.
class OfflineWork {
public:
    OfflineWork() noexcept;
    ~OfflineWork();
    OfflineWork(const OfflineWork&) = delete;
    OfflineWork& operator=(const OfflineWork&) = delete;

private:
    int32_t saved_;
};

// Records a violation when the audio thread reaches `where`.
void ExpectNotAudio(const char* where) noexcept;
// Records a violation when any other thread reaches `where`.
void ExpectAudio(const char* where) noexcept;
// Records that the audio thread found `lock` held by another thread.
void RecordContention(const char* lock) noexcept;

int64_t Violations() noexcept;
int64_t Contentions() noexcept;
// The place of the last violation or contention, for test messages ("" when none).
const char* LastRecord() noexcept;
void ResetRecords() noexcept;

}  // namespace KivThreadRole
