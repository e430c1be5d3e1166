// Which task reads which field: the one table behind the project checks and the field reference
// (docs/field-reference.md). A field is known in a task when a row names the task's slot, the
// subtask type and the field kind; anything else the engine never looks at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "project/FieldKind.h"
#include "project/SubTaskType.h"

namespace vesk {

enum class FieldRole {
    Engine,    // the setup reads it
    Builder,   // the builder reads it; the setup only carries it
    Both,      // the builder and the setup read it
    Computed,  // the builder writes it; a value written in the project is replaced
    Carried,   // nothing reads it: the setup keeps it and writes it back into the install log
};

// What a value must look like; the checks follow from it.
enum class ValueForm {
    Text,           // any text
    PageText,       // a text of a page; |Key| references name texts of the language table
    KeyReference,   // a |Key| reference that selects what the field is for
    Flag,           // 0 or 1 (empty reads as 0)
    Integer,        // a decimal number
    Size,           // bytes, plain or with K, M, G
    InstallFolder,  // a folder on the user's machine that the install may be put into
    TargetPath,     // a path on the user's machine: a [token] or a drive first
    FileName,       // a file name (or relative path) below the subtask's Folder
    LinkName,       // the name of a shortcut file
    GroupName,      // the name of a program group below the Start menu
    SourceFile,     // a file on the build machine, relative to the project file
    SourceFolder,   // a folder on the build machine, relative to the project file
    OutputFolder,   // a folder on the build machine that the build writes into
    RootKey,        // HKEY_CLASSES_ROOT ... HKEY_CURRENT_CONFIG
    SubKey,         // a registry key path after a backslash
    DataType,       // 0 text, 1 number, 2 expandable text
    OperType,       // 0 create or write, 1 delete
    DocumentType,   // S (HTML) or M (web archive)
    FileMark,       // "target,,,KIND,time": a kind for one of the product's files
    Pattern,        // a file name pattern with * and ?
    Method,         // LZSS or LZMA: how the file bodies are compressed
    NamePart,       // text that becomes part of a file name and of registry key names
    RegistryData,   // a registry value's data: path tokens replaced at install, "[[" a "["
    Scope,          // machine or user: for whom the setup installs
};
constexpr int kValueFormCount = int(ValueForm::Scope) + 1;

struct FieldUse {
    std::uint32_t slots;  // one bit per task slot (1 << slot)
    SubTaskType type;
    FieldKind kind;
    FieldRole role;
    ValueForm form;
    const char* use;  // what reads it and what for
};

// Every row, grouped by task in slot order.
const std::vector<FieldUse>& FieldUses();

// The row for a field of a subtask of a slot's task; nullptr when the engine and the builder
// never read that field there.
const FieldUse* FindFieldUse(int slot, SubTaskType type, FieldKind kind);

// Whether any row names this subtask type in the slot's task.
bool IsSubTaskTypeKnown(int slot, SubTaskType type);

// "the setup", "the builder", "the builder and the setup", ... for messages and the reference.
const char* RoleName(FieldRole role);
// A short description of a value form for the reference ("0 or 1").
const char* FormName(ValueForm form);

// What the checks ask of a value form, for the reference.
const char* FormRule(ValueForm form);

// What a subtask type's fields mean in general, for the reference.
const char* SubTaskTypeNote(SubTaskType type);

}  // namespace vesk
