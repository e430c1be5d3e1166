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

void ApplyRegistrySubtask(RegistryKey& key, const SubTask& subtask, const std::string& substitute) {
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
    if (operation == kWriteOperation) {
        if (!key.Open(subKey, true) || keyOnly) return;
        if (dataType == kStringValue) {
            key.WriteString(name, data);
        } else if (dataType == kNumberValue) {
            key.WriteDword(name, std::uint32_t(LeadingInt(data)));
        }
    } else if (operation == kDeleteOperation) {
        if (keyOnly) {
            key.DeleteKey(subKey);
        } else {
            key.DeleteValue(subKey + "\\" + name);
        }
    }
}

}  // namespace vesk
