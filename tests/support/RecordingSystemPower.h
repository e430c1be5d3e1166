// SystemPower for native tests: records the requests into a shared log instead of restarting.
#pragma once

#include <string>
#include <vector>

#include "platform/SystemPower.h"

namespace vesk::test {

class RecordingSystemPower : public SystemPower {
public:
    // The log may be shared with other doubles, so the order across them shows.
    explicit RecordingSystemPower(std::vector<std::string>& log) : log_(log) {}

    bool EnableShutdownPrivilege() override {
        log_.push_back("shutdown privilege");
        return true;
    }
    bool ForceRestart() override {
        log_.push_back("forced restart");
        return true;
    }

private:
    std::vector<std::string>& log_;
};

}  // namespace vesk::test
