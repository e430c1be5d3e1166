// The worker thread as a system thread.
#include <windows.h>

#include "platform/WorkerThread.h"

namespace vesk {
namespace {

DWORD WINAPI RunWork(void* parameter) {
    (*static_cast<std::function<void()>*>(parameter))();
    return 0;
}

}  // namespace

struct WorkerThread::Impl {
    std::function<void()> work;
    HANDLE thread = nullptr;
};

WorkerThread::WorkerThread() : impl_(new Impl) {}

WorkerThread::~WorkerThread() {
    Join();
}

bool WorkerThread::Start(std::function<void()> work) {
    if (impl_->thread || !work) return false;
    impl_->work = std::move(work);
    impl_->thread = CreateThread(nullptr, 0, RunWork, &impl_->work, 0, nullptr);
    return impl_->thread != nullptr;
}

bool WorkerThread::Joinable() const {
    return impl_->thread != nullptr;
}

void WorkerThread::Join() {
    if (!impl_->thread) return;
    WaitForSingleObject(impl_->thread, INFINITE);
    CloseHandle(impl_->thread);
    impl_->thread = nullptr;
    impl_->work = nullptr;
}

}  // namespace vesk
