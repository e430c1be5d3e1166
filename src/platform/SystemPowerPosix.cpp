// The native build never restarts the machine it runs on.
#include "platform/SystemPower.h"

namespace vesk {
namespace {

class RefusingSystemPower : public SystemPower {
public:
    bool EnableShutdownPrivilege() override { return false; }
    bool ForceRestart() override { return false; }
};

}  // namespace

SystemPower& HostSystemPower() {
    static RefusingSystemPower power;
    return power;
}

}  // namespace vesk
