// The native build installs and removes no fonts.
#include "platform/Fonts.h"

namespace vesk {
namespace {

class NoFonts : public Fonts {
public:
    int AddResource(const std::string&) override { return 0; }
    bool RemoveResource(const std::string&) override { return false; }
    std::string FontsFolder() const override { return {}; }
    bool Register(const std::string&, const std::string&) override { return false; }
    int Unregister(const std::string&) override { return 0; }
    std::optional<std::string> Listing(const std::string&) const override { return std::nullopt; }
    bool Unlist(const std::string&) override { return false; }
    void AnnounceChange() override {}
};

}  // namespace

Fonts& HostFonts() {
    static NoFonts fonts;
    return fonts;
}

}  // namespace vesk
