// Applying Registry and EditBox subtasks.
#include "install/RegistryItems.h"

#include "container/FileEntry.h"

namespace vesk {
namespace {

constexpr int kWriteOperation = 0;
constexpr int kDeleteOperation = 1;
constexpr int kStringValue = 0;
constexpr int kNumberValue = 1;

}  // namespace

void LogRegistryItem(RunLog& log, const RegistryItemDone& item) {
    if (item.done) {
        log.Add(LogKind::Registry, item.description);
    } else {
        log.Add(LogKind::Error, "registry item refused: " + item.description);
    }
}

RegistryItemDone ApplyRegistrySubtask(RegistryKey& key, const SubTask& subtask,
                                      const std::string& substitute) {
    std::string subKey, name, value;
    int dataType = 0, operation = 0;
    bool keyOnly = false;
    for (const Field& field : subtask.Fields()) {
        const std::string& text = field.Value();
        switch (field.Kind()) {
            case FieldKind::RegRootKey:
                key.SetRootByName(text);
                break;
            case FieldKind::RegSubKey:
                subKey = text;
                break;
            case FieldKind::RegVarName:
                name = text;
                break;
            case FieldKind::RegVarValue:
                value = text;
                break;
            case FieldKind::RegDataType:
                dataType = LeadingInt(text);
                break;
            case FieldKind::RegOperType:
                operation = LeadingInt(text);
                break;
            case FieldKind::IsOnlyToKey:
                keyOnly = LeadingInt(text) != 0;
                break;
            default:
                break;
        }
    }
    const std::string& data = substitute.empty() ? value : substitute;
    const std::string keyName = RegistryRootName(key.Root()) + subKey;
    if (operation == kWriteOperation) {
        const bool opened = key.Open(subKey, true);
        if (keyOnly) return RegistryItemDone{keyName + " (key)", opened};
        if (dataType == kStringValue) {
            return RegistryItemDone{keyName + ": " + name + " = \"" + data + "\"",
                                    opened && key.WriteString(name, data)};
        }
        if (dataType == kNumberValue) {
            const std::uint32_t number = std::uint32_t(LeadingInt(data));
            return RegistryItemDone{keyName + ": " + name + " = " + std::to_string(number),
                                    opened && key.WriteDword(name, number)};
        }
        return RegistryItemDone{keyName + ": " + name + " (data type " + std::to_string(dataType) +
                                    ": nothing written)",
                                opened};
    }
    if (operation == kDeleteOperation) {
        const bool deleted =
            keyOnly ? key.DeleteKey(subKey) : key.DeleteValue(subKey + "\\" + name);
        return RegistryItemDone{
            "delete " + keyName + (keyOnly ? "" : ": " + name) + (deleted ? "" : " (not there)"),
            true};
    }
    return RegistryItemDone{
        keyName + " (operation " + std::to_string(operation) + ": nothing done)", true};
}

}  // namespace vesk
