// Makes the engine stub the product's own: its icon and version information in the stub's
// resources, so Setup.exe shows them in the file manager and its properties.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

struct BrandingRequest {
    // From task 2401, in the project's code page.
    std::string productName, companyName, productVersion;
    std::string iconPath;    // the icon file on the build machine; empty: keep the stub's icon
    std::string iconOrigin;  // how the project names it, for messages
    std::optional<std::int64_t> timeStamp;  // seconds since 1970 for the image's time stamp
    // A setup for the current user: its manifest asks for no elevation ("asInvoker" instead of
    // the stub's "requireAdministrator").
    bool asInvoker = false;
};

// Rewrites the stub's resource directory with a resource writer of its own (ResourceTree,
// PeImage): the version information (RT_VERSION 1: product name, company, product version and
// "<product> Setup" as the description) replaces any the stub has; the icon file becomes icon
// group 1, ahead of the stub's own group 128 so that it is the file's icon, while group 128 (the
// wizard's window icon), the dialogs and everything else stay; with asInvoker the manifest's
// execution level is rewritten, the rest of the manifest kept. The payload goes after the
// rewritten image as before. A stub that is no PE image (a test's stand-in) is left as it is,
// unless an icon is asked for.
// Rewrites a program's manifest to ask for no elevation (requestedExecutionLevel
// "requireAdministrator" becomes "asInvoker"; the rest of the image, the checksum renewed,
// stays): the uninstaller a setup for the current user carries. False with the reason for an
// image that is no PE image, is signed, or asks for no administrator rights.
bool AskForNoElevation(std::string& program, std::string& why);

class StubBranding {
public:
    // False (see LastError) for an icon file that cannot be used, a stub that is signed or whose
    // resources cannot be read.
    bool Apply(std::string& stub, const BrandingRequest& request);

    // Where the CheckSum field lies in the branded stub when the stub had a checksum (the whole
    // setup's checksum goes there once it is written); 0 when it had none.
    std::size_t ChecksumOffset() const { return checksumOffset_; }
    // Texts that could not be converted, shown as '?'.
    const std::vector<std::string>& Warnings() const { return warnings_; }
    const std::string& LastError() const { return error_; }

    static constexpr std::uint16_t kProductIconGroup = 1;

private:
    bool Fail(std::string message);
    std::u16string Wide(const std::string& text, const char* field);

    std::size_t checksumOffset_ = 0;
    std::vector<std::string> warnings_;
    std::string error_;
};

}  // namespace vesk
