// Changes in words.
#include "builder/trial/ChangeText.h"

#include "builder/trial/WineText.h"

namespace vesk::trial {
namespace {

std::string Data(const std::string& data) {
    const ValueView view = ViewValue(data);
    if (view.type == "REG_SZ" || view.type == "REG_EXPAND_SZ") return "\"" + view.text + "\"";
    return view.text + " (" + view.type + ")";
}

}  // namespace

std::string GroupedNumber(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string DescribeFile(const FileChange& change) {
    switch (change.type) {
        case EntryType::Folder:
            return "folder " + change.path;
        case EntryType::Link:
            return "link " + change.path;
        case EntryType::File:
            break;
    }
    std::string size;
    if (change.kind == ChangeKind::Changed) {
        size = GroupedNumber(change.sizeBefore) + " -> " + GroupedNumber(change.sizeAfter);
    } else {
        size = GroupedNumber(change.kind == ChangeKind::Removed ? change.sizeBefore
                                                                : change.sizeAfter);
    }
    return "file " + change.path + " (" + size + " bytes)";
}

std::string DescribeRegistry(const RegistryChange& change) {
    if (change.wholeKey) return "key " + change.key;
    std::string text = "value " + change.key + ": " +
                       (change.name.empty() ? std::string("(default)") : change.name) + " = ";
    switch (change.kind) {
        case ChangeKind::Added:
            return text + Data(change.after);
        case ChangeKind::Removed:
            return text + Data(change.before);
        case ChangeKind::Changed:
            return text + Data(change.before) + " -> " + Data(change.after);
    }
    return text;
}

}  // namespace vesk::trial
