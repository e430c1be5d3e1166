// A Fonts double for native tests: records the files added, the values registered and the
// announcements, and answers as set.
#pragma once

#include <map>
#include <vector>

#include "platform/Fonts.h"

namespace vesk::test {

class RecordingFonts : public Fonts {
public:
    // How many fonts AddResource reports for each file (0: the system refuses them).
    int fontsPerFile = 1;
    std::string fontsFolder = "C:\\WINDOWS\\Fonts";

    std::vector<std::string> added;
    std::map<std::string, std::string> registered;  // value name -> file
    int announcements = 0;

    int AddResource(const std::string& path) override {
        added.push_back(path);
        return fontsPerFile;
    }
    std::string FontsFolder() const override { return fontsFolder; }
    bool Register(const std::string& name, const std::string& file) override {
        registered[name] = file;
        return true;
    }
    void AnnounceChange() override { ++announcements; }
};

}  // namespace vesk::test
