// Who the process runs as and the access lists of the folders it makes.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// Memory the system allocated with LocalAlloc, freed when done.
template <typename T>
class LocalMemory {
public:
    LocalMemory() = default;
    ~LocalMemory() {
        if (memory_) LocalFree(memory_);
    }
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    T get() const { return memory_; }
    T* Out() { return &memory_; }

private:
    T memory_ = nullptr;
};

// The security identifier of the user the process runs as, as text ("S-1-5-21-..."); empty when
// it cannot be read.
std::string CurrentUserSid();

// Whether the process runs at high integrity or above: elevated by UAC, or as SYSTEM.
bool RunsElevated();

// Whether anyone but the administrators, SYSTEM and TrustedInstaller may add, change or delete
// anything in the open folder, or change its access list (the owner aside).
bool OthersMayWrite(HANDLE folder);

// Gives the open folder (opened with WRITE_DAC and READ_CONTROL) the access list of a
// per-machine install folder, inherited by everything in it and nothing taken from its parent:
// administrators and SYSTEM full control, users read and execute.
bool SetInstallFolderAccess(HANDLE folder);

}  // namespace vesk
