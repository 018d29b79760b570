#include <pthread.h>

#include <new>

#include "platform/kiv_critical_section.h"

namespace KivPlatform {
namespace {
pthread_mutex_t* Native(unsigned char* storage) { return std::launder(reinterpret_cast<pthread_mutex_t*>(storage)); }
}  // namespace

CriticalSection::CriticalSection() {
    static_assert(sizeof(pthread_mutex_t) <= sizeof(native_));
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(new (native_) pthread_mutex_t, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

CriticalSection::~CriticalSection() { pthread_mutex_destroy(Native(native_)); }

void CriticalSection::Enter() { pthread_mutex_lock(Native(native_)); }

bool CriticalSection::TryEnter() { return pthread_mutex_trylock(Native(native_)) == 0; }

void CriticalSection::Leave() { pthread_mutex_unlock(Native(native_)); }

}  // namespace KivPlatform
