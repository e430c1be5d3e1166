// The host's programs that `veskbuild try` runs (Wine, its server, a virtual display), each in a
// process group of its own, so an interrupted or stuck run leaves none of them behind.
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace vesk::trial {

struct HostRun {
    std::vector<std::string> arguments;    // the program first, looked up on PATH
    std::vector<std::string> environment;  // NAME=VALUE, set over this process's own
    std::string outputPath;                // stdout and stderr appended here; "" discards them
};

// Runs a program and waits until it ends, `timeoutSeconds` pass or `stop` becomes true; then
// its whole process group is killed. The exit code; -1 with the reason when it could not be
// started, was ended by a signal, did not end in time or was stopped.
int RunHostProgram(const HostRun& run, int timeoutSeconds, const std::atomic<bool>* stop,
                   std::string& why);

// The path of `name` in a folder of PATH; "" when none holds it.
std::string FindOnPath(const std::string& name);

// An X server on a virtual screen (Xvfb) for the run's windows, stopped when this goes.
class VirtualDisplay {
public:
    VirtualDisplay() = default;
    ~VirtualDisplay() { Stop(); }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Starts Xvfb with one screen of 1024 x 768 pixels in 24 bits, on a free display number,
    // and waits until it takes connections. False with the reason.
    bool Start(std::string& why);
    void Stop();
    // ":N", for DISPLAY.
    const std::string& Name() const { return name_; }

private:
    int process_ = -1;
    std::string name_;
};

}  // namespace vesk::trial
