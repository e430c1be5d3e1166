// Reading and applying Registry and EditBox subtasks.
#include "install/RegistryItems.h"

#include "container/FileEntry.h"

namespace vesk {
namespace {

constexpr int kStringValue = 0;
constexpr int kNumberValue = 1;

}  // namespace

RegistryItem ReadRegistryItem(const SubTask& subtask) {
    RegistryItem item;
    for (const Field& field : subtask.Fields()) {
        const std::string& text = field.Value();
        switch (field.Kind()) {
            case FieldKind::RegRootKey:
                if (const std::optional<RegistryRoot> root = RegistryRootFromName(text)) {
                    item.root = root;
                }
                break;
            case FieldKind::RegSubKey:
                item.subKey = text;
                break;
            case FieldKind::RegVarName:
                item.name = text;
                break;
            case FieldKind::RegVarValue:
                item.value = text;
                break;
            case FieldKind::RegDataType:
                item.dataType = LeadingInt(text);
                break;
            case FieldKind::RegOperType:
                item.operation = LeadingInt(text);
                break;
            case FieldKind::IsOnlyToKey:
                item.keyOnly = LeadingInt(text) != 0;
                break;
            case FieldKind::IsToDelete:
                item.toDelete = LeadingInt(text) != 0;
                break;
            default:
                break;
        }
    }
    return item;
}

void ApplyRegistrySubtask(RegistryKey& key, const SubTask& subtask, const std::string& substitute) {
    const RegistryItem item = ReadRegistryItem(subtask);
    if (item.root) key.SetRoot(*item.root);
    const std::string& data = substitute.empty() ? item.value : substitute;
    if (item.operation == kRegistryWriteOperation) {
        if (!key.Open(item.subKey, true) || item.keyOnly) return;
        if (item.dataType == kStringValue) {
            key.WriteString(item.name, data);
        } else if (item.dataType == kNumberValue) {
            key.WriteDword(item.name, std::uint32_t(LeadingInt(data)));
        }
    } else if (item.operation == kRegistryDeleteOperation) {
        if (item.keyOnly) {
            key.DeleteKey(item.subKey);
        } else {
            key.DeleteValue(item.subKey + "\\" + item.name);
        }
    }
}

}  // namespace vesk
