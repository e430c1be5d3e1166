// A thread that runs one piece of work and is waited for: the install worker's. The engine stub
// takes it from the system rather than from std::thread, which would bring a threads runtime
// (and the exception machinery it reports through) into every setup.
#pragma once

#include <functional>
#include <memory>

namespace vesk {

class WorkerThread {
public:
    WorkerThread();
    // Waits for the work to end, as Join does.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts `work` on a new thread; false when no thread could be made or one was started
    // already (each object runs one piece of work).
    bool Start(std::function<void()> work);
    // Whether work was started and not yet waited for.
    bool Joinable() const;
    // Returns once the work has ended; nothing when none was started or it was waited for.
    void Join();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vesk
