// The lock as a std::mutex, which the thread sanitizer of the native tests understands.
#include <mutex>

#include "platform/Lock.h"

namespace vesk {

struct Lock::Impl {
    std::mutex mutex;
};

Lock::Lock() : impl_(new Impl) {}

Lock::~Lock() = default;

void Lock::Acquire() {
    impl_->mutex.lock();
}

void Lock::Release() {
    impl_->mutex.unlock();
}

}  // namespace vesk
