// Describing removals.
#include "uninstaller/RemovalText.h"

#include "project/RegistryKey.h"

namespace vesk::test {
namespace {

std::string ValueText(const std::optional<RegistryValue>& value) {
    if (!value) return "(none)";
    if (value->type == kRegistryDword && value->data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = number << 8 | std::uint8_t(value->data[i]);
        return std::to_string(number);
    }
    return "\"" + value->data.substr(0, value->data.find('\0')) + "\"";
}

}  // namespace

std::string Described(const Removal& removal) {
    const std::string key = RegistryRootName(removal.root) + "\\" + removal.path;
    switch (removal.kind) {
        case RemovalKind::Font:
            return "font " + removal.path;
        case RemovalKind::FontResource:
            return "font resource " + removal.path;
        case RemovalKind::FontListing:
            return "font listing " + removal.name + " = " + ValueText(removal.value);
        case RemovalKind::Component:
            return "unregister " + removal.path;
        case RemovalKind::File:
            return "file " + removal.path;
        case RemovalKind::RegistryValue:
            return "value " + key + " : " + removal.name;
        case RemovalKind::RegistryRestore:
            return "restore " + key + " : " + removal.name + " = " + ValueText(removal.value);
        case RemovalKind::RegistryTree:
            return "tree " + key;
        case RemovalKind::EmptyRegistryKey:
            return "empty " + key;
        case RemovalKind::Folder:
            return "folder " + removal.path;
    }
    return "?";
}

std::vector<std::string> Described(const UninstallPlan& plan) {
    std::vector<std::string> lines;
    for (const Removal& removal : plan.removals) lines.push_back(Described(removal));
    return lines;
}

}  // namespace vesk::test
