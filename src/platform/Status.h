// The outcome of a step that can fail, with the reason in words: what the engine returns instead
// of throwing, so that the reason travels with the failure up to whoever logs or shows it.
#pragma once

#include <string>

namespace vesk {

// Success, or a failure with its reason ("cannot open C:\...\Setup.exe"). A Status converts to
// bool (true: success), so `if (!Step())` and `bool ok = Step()` read as they do for a step
// that only says whether it worked; a caller that reports the failure takes Reason().
class Status {
public:
    // Success.
    Status() = default;
    // A failure; an empty reason is taken as "failed", so a failure never reads as success.
    static Status Failure(std::string reason);

    bool Ok() const { return reason_.empty(); }
    operator bool() const { return Ok(); }
    // Empty on success.
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

}  // namespace vesk
