// The lock as a critical section.
#include <windows.h>

#include "platform/Lock.h"

namespace vesk {

struct Lock::Impl {
    CRITICAL_SECTION section;
};

Lock::Lock() : impl_(new Impl) {
    InitializeCriticalSection(&impl_->section);
}

Lock::~Lock() {
    DeleteCriticalSection(&impl_->section);
}

void Lock::Acquire() {
    EnterCriticalSection(&impl_->section);
}

void Lock::Release() {
    LeaveCriticalSection(&impl_->section);
}

}  // namespace vesk
