// The worker thread as a std::thread.
#include <thread>

#include "platform/WorkerThread.h"

namespace vesk {

struct WorkerThread::Impl {
    std::thread thread;
};

WorkerThread::WorkerThread() : impl_(new Impl) {}

WorkerThread::~WorkerThread() {
    Join();
}

bool WorkerThread::Start(std::function<void()> work) {
    if (impl_->thread.joinable() || !work) return false;
    impl_->thread = std::thread(std::move(work));
    return true;
}

bool WorkerThread::Joinable() const {
    return impl_->thread.joinable();
}

void WorkerThread::Join() {
    if (impl_->thread.joinable()) impl_->thread.join();
}

}  // namespace vesk
