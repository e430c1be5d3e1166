// Answers of the test system facts.
#include "support/FakeSystemFacts.h"

namespace vesk::test {

void FakeSystemFacts::ActAs(const std::string& system) {
    struct Family {
        const char* name;
        std::uint32_t packed;
        VersionNumbers numbers;
    };
    // 9x packed versions have the high bit set; the low byte is the major version.
    static const Family kFamilies[] = {
        {"95", 0xC3B60004, {4, 0}},    {"98", 0xC0000A04, {4, 10}},  {"Me", 0xC0005A04, {4, 90}},
        {"NT4", 0x05650004, {4, 0}},   {"2000", 0x08930005, {5, 0}}, {"XP", 0x0A280105, {5, 1}},
        {"Vista", 0x17700006, {6, 0}},
    };
    for (const Family& family : kFamilies) {
        if (system == family.name) {
            packedVersion = family.packed;
            extendedVersion = family.numbers;
            return;
        }
    }
}

std::vector<std::string> FakeSystemFacts::LogicalDrives() const {
    std::vector<std::string> roots;
    for (const auto& drive : drives) roots.push_back(drive.first);
    return roots;
}

DriveType FakeSystemFacts::TypeOfDrive(const std::string& root) const {
    auto it = drives.find(root);
    return it == drives.end() ? DriveType::NoRootDir : it->second.type;
}

std::optional<std::uint64_t> FakeSystemFacts::FreeBytes(const std::string& root) const {
    auto it = drives.find(root);
    return it == drives.end() ? std::nullopt : it->second.freeBytes;
}

}  // namespace vesk::test
