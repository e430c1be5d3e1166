// The native build installs no fonts.
#include "platform/Fonts.h"

namespace vesk {
namespace {

class NoFonts : public Fonts {
public:
    int AddResource(const std::string&) override { return 0; }
    std::string FontsFolder() const override { return {}; }
    bool Register(const std::string&, const std::string&) override { return false; }
    void AnnounceChange() override {}
};

}  // namespace

Fonts& HostFonts() {
    static NoFonts fonts;
    return fonts;
}

}  // namespace vesk
