// An owner for a component interface pointer and for the component runtime of one thread, so
// every early return releases what it holds.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <objbase.h>

namespace vesk {

template <typename T>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer() { Reset(); }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For the calls that fill in a pointer; releases the one held first.
    T** Out() {
        Reset();
        return &pointer_;
    }
    void Reset() {
        if (pointer_) pointer_->Release();
        pointer_ = nullptr;
    }

private:
    T* pointer_ = nullptr;
};

// The component runtime for the calling thread (single-threaded apartment), undone when the
// object goes. A thread that runs it already in another apartment model may use it as it is.
class ComRuntime {
public:
    ComRuntime() {
        HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        initialised_ = SUCCEEDED(result);
        usable_ = initialised_ || result == RPC_E_CHANGED_MODE;
    }
    ~ComRuntime() {
        if (initialised_) CoUninitialize();
    }
    ComRuntime(const ComRuntime&) = delete;
    ComRuntime& operator=(const ComRuntime&) = delete;

    bool Ready() const { return usable_; }

private:
    bool initialised_ = false;
    bool usable_ = false;
};

}  // namespace vesk
