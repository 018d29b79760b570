#pragma once

namespace KivPlatform {

// A recursive in-process lock for short holds (a Win32 critical section, a recursive
// pthread mutex). The native object lives inside this one, so creating it allocates nothing.
class CriticalSection {
public:
    CriticalSection();
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter();
    // True when entered; never blocks.
    bool TryEnter();
    void Leave();

private:
    alignas(16) unsigned char native_[64];
};

}  // namespace KivPlatform
