// The uninstall record.
#include "install/UninstallRecord.h"

#include <cstdlib>

#include "container/FileEntry.h"
#include "project/EngineKey.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

constexpr char kLanguageFolder[] = "[System Directory]\\VeskInstall";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool IsSet(const InstallProject& project, FieldKind kind) {
    const Task* task = project.FindSlotTask(kSlotUninstallOptions);
    return task && LeadingInt(task->GetValue(SubTaskType::GetValue, kind)) != 0;
}

}  // namespace

bool UninstallRecord::NewerUninstallerRecorded() const {
    RegistryKey engine(context_.session.SystemRegistry());
    engine.Open(kEngineKey, true);
    const std::string recorded = engine.ReadString("LastVersion");
    // atof is strtod without the end pointer; the stub takes it from the system's C runtime.
    return !recorded.empty() && std::atof(recorded.c_str()) > std::atof(kUninstallerVersion);
}

void UninstallRecord::KeepLanguageFile() {
    const std::string folder = context_.Resolve(kLanguageFolder);
    context_.CreateFolders(folder);
    const LanguageTable& texts = context_.session.texts;
    context_.services.files.WriteWholeFile(folder + "\\" + texts.LanguageId() + ".ini",
                                           texts.Lines().Join());
    RegistryKey engine(context_.session.SystemRegistry());
    if (engine.Open(kEngineKey, true)) engine.WriteString("LastVersion", kUninstallerVersion);
}

std::string UninstallRecord::UninstallName() const {
    return context_.Text(TextKey::UnInstallDesc) + context_.Text(TextKey::ProjectName);
}

std::string UninstallRecord::LogPath() const {
    return context_.Resolve("[InstallDir]\\VeskInstall " + context_.Text(TextKey::ProjectName) +
                            ".xml");
}

void UninstallRecord::Write(const std::function<bool()>& cancelCheck) {
    SetupSession& session = context_.session;
    const InstallProject& project = session.project;
    const std::string title = context_.Text(TextKey::ProjectName);
    const std::string log = LogPath();
    const std::string uninstaller = context_.Resolve(kUninstallerPath);
    const bool withEntry = IsSet(project, FieldKind::CreateUnInstall1);
    const bool withShortcut = IsSet(project, FieldKind::CreateUnInstall2);
    if (withEntry || withShortcut) context_.services.files.WriteWholeFile(log, project.ToText());
    if (cancelCheck()) return;

    Registry& registry = session.SystemRegistry();
    if (withEntry) {
        RegistryKey entry(registry);
        if (entry.Open(kUninstallEntries + title, true)) {
            entry.WriteString("DisplayName", title);
            // Both paths quoted: a folder with blanks must not make the system start another
            // program, and the uninstaller reads its log path either way.
            entry.WriteString("UninstallString", Quoted(uninstaller) + " " + Quoted(log));
        }
    }
    const std::string version =
        project.GetValue("2401", SubTaskType::GetAllVar, FieldKind::ProductVersion);
    const std::string productKey = ProductKeyPath(project.ProjectName());
    RegistryKey versionKey(registry);
    versionKey.Open(productKey + "\\" + version, true);
    const std::string& group = session.programFolder;
    versionKey.WriteString("ProgramFolder",
                           group.empty() ? group : group.substr(0, group.size() - 1));
    if (withShortcut) {
        std::string linkValue;
        if (!group.empty()) {
            const std::string name = UninstallName();
            shortcuts_.CreateShellLink(name, uninstaller, Quoted(log), std::string(),
                                       ShortcutLocation::ProgramGroup, 0);
            linkValue = group + name + ".lnk";
        }
        versionKey.WriteString("UnInstallFileLink", linkValue);
    }
    versionKey.Close();
    RegistryKey product(registry);
    if (product.Open(productKey, true)) {
        product.WriteString("Path", context_.Resolve("[InstallDir]"));
        product.WriteString("Version", version);
    }
}

}  // namespace vesk
