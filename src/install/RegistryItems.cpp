// Reading and applying Registry and EditBox subtasks.
#include "install/RegistryItems.h"

#include "container/FileEntry.h"
#include "project/ValueTokens.h"

namespace vesk {

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

void LogRegistryItem(RunLog& log, const RegistryItemDone& item) {
    if (item.done) {
        log.Add(LogKind::Registry, item.description);
    } else {
        log.Add(LogKind::Error, {"registry item refused: ", item.description});
    }
}

RegistryItemDone ApplyRegistrySubtask(RegistryKey& key, const SubTask& subtask,
                                      const std::string& substitute, const PathResolver* paths) {
    const RegistryItem item = ReadRegistryItem(subtask);
    if (item.root) key.SetRoot(*item.root);
    const bool text =
        item.dataType == kRegistryTextType || item.dataType == kRegistryExpandTextType;
    const std::string data = !substitute.empty() ? substitute
                             : paths && text     ? ExpandValueTokens(item.value, paths->Expander())
                                                 : item.value;
    RegistryItemDone result;
    std::string& description = result.description;
    if (item.operation == kRegistryDeleteOperation) description = "delete ";
    description += RegistryRootName(key.Root());
    description += item.subKey;
    if (item.operation == kRegistryWriteOperation) {
        const bool opened = key.Open(item.subKey, true);
        result.done = opened;
        if (item.keyOnly) {
            description += " (key)";
            return result;
        }
        description += ": ";
        description += item.name;
        if (text) {
            description += item.dataType == kRegistryExpandTextType ? " = expandable \"" : " = \"";
            description += data;
            description += '"';
            const std::uint32_t type =
                item.dataType == kRegistryExpandTextType ? kRegistryExpandString : kRegistryString;
            result.done = opened && key.WriteText(item.name, data, type);
        } else if (item.dataType == kRegistryNumberType) {
            const std::uint32_t number = std::uint32_t(LeadingInt(data));
            description += " = ";
            description += std::to_string(number);
            result.done = opened && key.WriteDword(item.name, number);
        } else {
            description += " (data type ";
            description += std::to_string(item.dataType);
            description += ": nothing written)";
        }
        return result;
    }
    result.done = true;
    if (item.operation == kRegistryDeleteOperation) {
        const bool deleted = item.keyOnly ? key.DeleteKey(item.subKey)
                                          : key.DeleteValue(item.subKey + "\\" + item.name);
        if (!item.keyOnly) {
            description += ": ";
            description += item.name;
        }
        if (!deleted) description += " (not there)";
        return result;
    }
    description += " (operation ";
    description += std::to_string(item.operation);
    description += ": nothing done)";
    return result;
}

void NoteUninstallChoice(InstallRecords& records, std::size_t first, RegistryRoot root,
                         const RegistryItem& item) {
    if (!item.toDelete) {
        records.KeepAtUninstall(first);
    } else if (item.keyOnly && item.operation == kRegistryWriteOperation) {
        records.RemoveWholeAtUninstall(root, RegistryKeyPathOf(item.subKey));
    }
}

}  // namespace vesk
