// Writing the field reference.
#include "builder/checks/FieldReference.h"

#include <map>
#include <vector>

#include "builder/checks/FieldUsage.h"
#include "builder/checks/ReferenceNotes.h"
#include "builder/reading/CodePageText.h"
#include "platform/Registry.h"
#include "project/LanguageTable.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"
#include "project/TextKey.h"
#include "resources/LanguageFile.h"

namespace vesk {
namespace {

constexpr std::uint32_t kEnglishLocale = 0x409;

// A table cell: pipes escaped, the text otherwise as it is.
std::string Cell(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '|') out += '\\';
        out += c;
    }
    return out;
}

std::string Code(const std::string& text) {
    return "`" + Cell(text) + "`";
}

const char kIntroduction[] =
    "# Field reference\n"
    "\n"
    "Every task, subtask type and field of a project, what reads each field, the path tokens\n"
    "and the texts of the language table. Written by `veskbuild reference` from the tables the\n"
    "checks use (builder/checks/FieldUsage.cpp, builder/checks/ReferenceNotes.cpp) and the\n"
    "engine's own vocabularies; a test compares this file with that output, so edit the tables,\n"
    "then run `veskbuild reference > docs/field-reference.md`.\n"
    "\n"
    "**Read by**: *setup*, the setup program reads the field; *builder*, veskbuild reads it and\n"
    "the setup only carries it; *computed*, the build writes it (a value written in the project\n"
    "is replaced); *carried*, nothing reads it: the setup keeps it and writes it back into the\n"
    "install log. `veskbuild check` (and `build`) warns about a field or a subtask type that a\n"
    "task does not list here, and refuses a value the setup would misread (the **Form** column).\n"
    "Names of tasks, fields, types, tokens and root keys are compared ignoring letter case; task\n"
    "IDs exactly.\n";

void AppendTaskIndex(std::string& out) {
    out +=
        "\n## Tasks\n\nIn the order a setup carries them; the page tasks show in the order "
        "the project writes them.\n\n| ID | Type | Task | Subtask types |\n|---|---|---|---|\n";
    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        std::string types;
        for (int type = 0; type < kSubTaskTypeCount - 1; ++type) {
            if (!IsSubTaskTypeKnown(slot, SubTaskType(type))) continue;
            types += std::string(types.empty() ? "" : ", ") + SubTaskTypeName(SubTaskType(type));
        }
        out += "| " + TaskIdForSlot(slot) + " | " + TaskTypeName(TaskTypeForSlot(slot)) + " | " +
               TaskTitle(slot) + " | " + (types.empty() ? "none" : types) + " |\n";
    }
}

void AppendTask(int slot, std::string& out) {
    out += "\n### " + TaskIdForSlot(slot) + " " + TaskTitle(slot) + "\n\n";
    out += std::string("`<Task ID=\"") + TaskIdForSlot(slot) + "\" Type=\"" +
           TaskTypeName(TaskTypeForSlot(slot)) + "\" IsExec=\"" + (IsPageSlot(slot) ? "0|1" : "0") +
           "\">`" + (IsPageSlot(slot) ? ": a wizard page, shown when IsExec is 1" : "") + "\n\n";
    bool any = false;
    for (int type = 0; type < kSubTaskTypeCount - 1; ++type) {
        if (!IsSubTaskTypeKnown(slot, SubTaskType(type))) continue;
        if (!any) {
            out += "| Subtask | Field | Form | Read by | What for |\n|---|---|---|---|---|\n";
            any = true;
        }
        for (const FieldUse& use : FieldUses()) {
            if (!(use.slots & (std::uint32_t(1) << slot)) || use.type != SubTaskType(type)) {
                continue;
            }
            out += std::string("| ") + SubTaskTypeName(use.type) + " | " + FieldName(use.kind) +
                   " | " + Cell(FormName(use.form)) + " | " + RoleName(use.role) + " | " +
                   Cell(use.use) + " |\n";
        }
    }
    if (!any) out += "No subtasks: the setup reads nothing from this task but its IsExec.\n";
}

void AppendFieldIndex(std::string& out) {
    out +=
        "\n## Fields\n\nWhere each field is read (carried places left out).\n\n"
        "| Field | Read in |\n|---|---|\n";
    for (int kind = 0; kind < kFieldKindCount - 1; ++kind) {
        std::string places;
        for (int slot = 0; slot < kTaskSlotCount; ++slot) {
            for (int type = 0; type < kSubTaskTypeCount - 1; ++type) {
                const FieldUse* use = FindFieldUse(slot, SubTaskType(type), FieldKind(kind));
                if (!use || use->role == FieldRole::Carried) continue;
                places += (places.empty() ? "" : ", ") + TaskIdForSlot(slot) + " " +
                          SubTaskTypeName(SubTaskType(type)) + " (" + RoleName(use->role) + ")";
            }
        }
        out += std::string("| ") + FieldName(FieldKind(kind)) + " | " +
               (places.empty() ? "nowhere: carried only" : places) + " |\n";
    }
}

void AppendSubTaskTypes(std::string& out) {
    out += "\n## Subtask types\n\n| Type | Holds |\n|---|---|\n";
    for (int type = 0; type < kSubTaskTypeCount - 1; ++type) {
        out += std::string("| ") + SubTaskTypeName(SubTaskType(type)) + " | " +
               SubTaskTypeNote(SubTaskType(type)) + " |\n";
    }
}

void AppendTokens(std::string& out) {
    out +=
        "\n## Path tokens\n\n"
        "A path on the user's machine starts with a token, followed by nothing or a backslash "
        "and the rest, or with a drive (`C:\\`).\n\n| Token | Leads to |\n|---|---|\n";
    for (int kind = 0; kind < int(PathVariableKind::None); ++kind) {
        out += "| " + Code(PathVariableToken(PathVariableKind(kind))) + " | " +
               Cell(PathTokenNote(PathVariableKind(kind))) + " |\n";
    }
    out +=
        "\nIn the data of a text registry item (task 2406, RegDataType 0 or 2) and of a "
        "registry data file (`\"name\"=\"data\"`, `@=\"data\"` for the key's default value) "
        "tokens are replaced wherever they stand: `\"[InstallDir]\\app.exe\" \"%1\"`. Only "
        "tokens of lasting folders are taken there (not `[TempFileDir]`, `[Absolute "
        "Directory]`, `[QuickLaunch]`); `[[` writes a literal `[`.\n";
}

void AppendRootKeys(std::string& out) {
    out += "\n## Registry root keys\n\nRegRootKey takes the full names only:";
    for (RegistryRoot root :
         {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser, RegistryRoot::LocalMachine,
          RegistryRoot::Users, RegistryRoot::CurrentConfig}) {
        out += (root == RegistryRoot::ClassesRoot ? " " : ", ") + Code(RegistryRootName(root));
    }
    out += ".\n";
}

void AppendTextKeys(std::string& out) {
    LanguageTable english(kEnglishLocale);
    TextLineList lines;
    lines.SplitAppend(DefaultLanguageFile(), false);
    english.LoadLines(lines);
    out +=
        "\n## Text keys\n\n"
        "The texts of the language table, by number. A field value `|Key|` (or several: "
        "`|WelcomeWndDesc1||ProjectName|`) names texts; the pages show their own fixed "
        "texts, and only the user information page reads such a value (an EditBox's "
        "Description). The English texts are those the builder puts into every setup.\n\n"
        "| No. | Key | English text | Shown by |\n|---|---|---|---|\n";
    for (int key = 0; key < kTextKeyCount; ++key) {
        const std::string name = TextKeyName(key);
        if (name.empty()) {
            out += "| " + std::to_string(key) + " | (reserved) | | |\n";
            continue;
        }
        const std::string text = english.GetText(key);
        out += "| " + std::to_string(key) + " | " + name + " | " + Code("\"" + text + "\"") +
               " | " + Cell(*TextKeyNote(key) ? TextKeyNote(key) : "not shown by the setup") +
               " |\n";
    }
}

void AppendForms(std::string& out) {
    out +=
        "\n## Forms\n\nWhat `veskbuild check` asks of each form; every value, besides, may "
        "hold neither `<` nor a line break, nor an entity such as `&amp;`.\n\n"
        "| Form | Check |\n|---|---|\n";
    for (int form = 0; form < kValueFormCount; ++form) {
        out += std::string("| ") + Cell(FormName(ValueForm(form))) + " | " +
               Cell(FormRule(ValueForm(form))) + " |\n";
    }
}

}  // namespace

std::string FieldReferenceText() {
    std::string out = kIntroduction;
    AppendTaskIndex(out);
    for (int slot = 0; slot < kTaskSlotCount; ++slot) AppendTask(slot, out);
    AppendSubTaskTypes(out);
    AppendFieldIndex(out);
    AppendTokens(out);
    AppendRootKeys(out);
    AppendTextKeys(out);
    AppendForms(out);
    return out;
}

}  // namespace vesk
