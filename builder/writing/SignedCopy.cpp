// Signing a copy of a program.
#include "builder/writing/SignedCopy.h"

#include <filesystem>

#include "builder/pe/PeImage.h"
#include "builder/plan/FileBytes.h"
#include "builder/writing/ShellCommand.h"

namespace vesk {

namespace fs = std::filesystem;

SignedCopy::~SignedCopy() {
    Remove();
}

void SignedCopy::Remove() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove(path_, ec);
    path_.clear();
}

bool SignedCopy::Make(const std::string& program, const std::string& copy,
                      const std::string& signCommand, std::string& why) {
    Remove();
    std::error_code ec;
    if (!fs::copy_file(program, copy, fs::copy_options::overwrite_existing, ec)) {
        why = "cannot copy " + program + " to " + copy + " for signing: " + ec.message();
        return false;
    }
    path_ = copy;
    std::string reason;
    if (!RunShellCommand(CommandForFile(signCommand, copy), reason)) {
        why = "signing " + copy + " (the uninstaller the setup carries) failed: " + reason;
        Remove();
        return false;
    }
    std::string bytes;
    PeImage image;
    if (!ReadFileContent(copy, bytes, reason) || !image.Parse(std::move(bytes))) {
        why = "the signed " + copy + " is no longer a Windows program" +
              (reason.empty() ? ": " + image.LastError() : " (" + reason + ")");
        Remove();
        return false;
    }
    if (!image.IsSigned()) {
        why = "the signing command left " + copy +
              " without a certificate table: it is not signed (does the command write its "
              "result back to {file}?)";
        Remove();
        return false;
    }
    return true;
}

}  // namespace vesk
