// The native build starts no Windows programs.
#include "platform/Processes.h"

namespace vesk {
namespace {

class NoProcesses : public Processes {
public:
    std::optional<std::uint32_t> RunAndWait(const std::string&, const std::string&,
                                            const std::string&, int) override {
        return std::nullopt;
    }
    bool Start(const std::string&, const std::string&, const std::string&, int) override {
        return false;
    }
    bool Open(const std::string&, const std::string&, const std::string&, int) override {
        return false;
    }
};

}  // namespace

Processes& HostProcesses() {
    static NoProcesses processes;
    return processes;
}

}  // namespace vesk
