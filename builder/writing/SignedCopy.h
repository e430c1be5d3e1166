// A program signed for the setup to carry: the uninstaller, which the user's machine runs after
// the install, signed with the command that signs Setup.exe.
#pragma once

#include <string>

namespace vesk {

class SignedCopy {
public:
    SignedCopy() = default;
    SignedCopy(const SignedCopy&) = delete;
    SignedCopy& operator=(const SignedCopy&) = delete;
    // Removes the copy.
    ~SignedCopy();

    // Copies `program` into `folder` under its name plus ".part", runs `signCommand` on the copy
    // through the shell ("{file}" stands for its quoted path, as for Setup.exe) and checks that
    // the copy is still a program and now carries a certificate table. The original stays as it
    // is. False with the reason when any of that fails; the copy is then removed.
    bool Make(const std::string& program, const std::string& folder, const std::string& signCommand,
              std::string& why);

    // The signed copy, while this object lives.
    const std::string& Path() const { return path_; }

private:
    void Remove();

    std::string path_;
};

}  // namespace vesk
