#include <windows.h>

#include <new>

#include "platform/kiv_critical_section.h"

namespace KivPlatform {
namespace {
CRITICAL_SECTION* Native(unsigned char* storage) { return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage)); }
}  // namespace

CriticalSection::CriticalSection() {
    static_assert(sizeof(CRITICAL_SECTION) <= sizeof(native_));
    InitializeCriticalSection(new (native_) CRITICAL_SECTION);
}

CriticalSection::~CriticalSection() { DeleteCriticalSection(Native(native_)); }

void CriticalSection::Enter() { EnterCriticalSection(Native(native_)); }

bool CriticalSection::TryEnter() { return TryEnterCriticalSection(Native(native_)) != FALSE; }

void CriticalSection::Leave() { LeaveCriticalSection(Native(native_)); }

}  // namespace KivPlatform
