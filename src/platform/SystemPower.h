// Restarting the computer: the seam through which the finish page's restart box acts, so tests
// can see the requests without restarting the machine they run on.
#pragma once

namespace vesk {

class SystemPower {
public:
    virtual ~SystemPower() = default;

    // Enables the shutdown privilege in this process's token (opened to adjust privileges and to
    // query). False when the token cannot be opened or the privilege is not granted.
    virtual bool EnableShutdownPrivilege() = 0;
    // Asks the system to restart at once, closing running programs without asking them (reboot
    // and force). False when the system refuses.
    virtual bool ForceRestart() = 0;
};

// The running system (natively: every request is refused).
SystemPower& HostSystemPower();

}  // namespace vesk
