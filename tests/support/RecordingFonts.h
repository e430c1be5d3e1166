// A Fonts double for native tests: records the files added and removed, the values registered
// and the announcements, and answers as set.
#pragma once

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "platform/Fonts.h"

namespace vesk::test {

class RecordingFonts : public Fonts {
public:
    // How many fonts AddResource reports for each file (0: the system refuses them).
    int fontsPerFile = 1;
    std::string fontsFolder = "C:\\WINDOWS\\Fonts";

    std::vector<std::string> added;
    std::vector<std::string> removed;               // files taken out of the font table
    std::map<std::string, std::string> registered;  // value name -> file
    int announcements = 0;

    int AddResource(const std::string& path) override {
        added.push_back(path);
        return fontsPerFile;
    }
    bool RemoveResource(const std::string& path) override {
        removed.push_back(path);
        return true;
    }
    std::string FontsFolder() const override { return fontsFolder; }
    bool Register(const std::string& name, const std::string& file) override {
        registered[name] = file;
        return true;
    }
    int Unregister(const std::string& file) override {
        int count = 0;
        for (auto value = registered.begin(); value != registered.end();) {
            if (SameText(value->second, file)) {
                value = registered.erase(value);
                ++count;
            } else {
                ++value;
            }
        }
        return count;
    }
    std::optional<std::string> Listing(const std::string& name) const override {
        const auto listing = registered.find(name);
        if (listing == registered.end()) return std::nullopt;
        return listing->second;
    }
    bool Unlist(const std::string& name) override { return registered.erase(name) != 0; }
    void AnnounceChange() override { ++announcements; }

private:
    static bool SameText(const std::string& a, const std::string& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (std::toupper(static_cast<unsigned char>(a[i])) !=
                std::toupper(static_cast<unsigned char>(b[i]))) {
                return false;
            }
        }
        return true;
    }
};

}  // namespace vesk::test
