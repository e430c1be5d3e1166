// Native builds have no registry: every open fails, so every read is empty and every write fails.
#include "platform/Registry.h"

namespace vesk {
namespace {

class NoRegistry : public Registry {
public:
    std::unique_ptr<RegistryHandle> Open(RegistryRoot, const std::string&,
                                         RegistryAccess) override {
        return nullptr;
    }
};

}  // namespace

Registry& HostRegistry() {
    static NoRegistry registry;
    return registry;
}

}  // namespace vesk
