// A mutual-exclusion lock for the data the user-interface thread and the install worker share.
// The engine stub takes it from the system rather than from std::mutex, which would bring a
// threads runtime into every setup.
#pragma once

#include <memory>

namespace vesk {

// Not recursive by contract (callers never take it twice), though the Windows one would allow it.
class Lock {
public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void Acquire();
    void Release();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Holds a lock for its scope.
class LockGuard {
public:
    explicit LockGuard(Lock& lock) : lock_(lock) { lock_.Acquire(); }
    ~LockGuard() { lock_.Release(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    Lock& lock_;
};

}  // namespace vesk
