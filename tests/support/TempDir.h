// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace vesk::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, with a trailing separator.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Every file below `root` with its content, by its path relative to it ('/' separated).
std::map<std::string, std::string> FilesBelow(const std::filesystem::path& root);

}  // namespace vesk::test
