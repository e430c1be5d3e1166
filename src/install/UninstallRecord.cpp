// The uninstall record.
#include "install/UninstallRecord.h"

#include <cstdlib>

#include "container/FileEntry.h"
#include "install/RunAndWait.h"
#include "platform/Concat.h"
#include "project/EngineKey.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

constexpr char kLanguageFolder[] = "[System Directory]\\VeskInstall";

bool IsSet(const InstallProject& project, FieldKind kind) {
    const Task* task = project.FindSlotTask(kSlotUninstallOptions);
    return task && LeadingInt(task->GetValue(SubTaskType::GetValue, kind)) != 0;
}

// A reference to the project's own text where the project hands one out.
decltype(auto) Property(const InstallProject& project, FieldKind kind) {
    return project.GetValue(TaskIdForSlot(kSlotProjectProperties), SubTaskType::GetAllVar, kind);
}

// SoftwareSize in KiB, rounded up; 0 when the project does not know it.
std::uint32_t EstimatedSizeKiB(const InstallProject& project) {
    constexpr std::uint64_t kKiB = 1024;
    constexpr std::uint64_t kLargest = 0xFFFFFFFFu;
    const std::uint64_t bytes = SoftwareSizeBytes(Property(project, FieldKind::SoftwareSize));
    const std::uint64_t kib = bytes / kKiB + (bytes % kKiB != 0 ? 1 : 0);
    return std::uint32_t(kib > kLargest ? kLargest : kib);
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
    const std::string file = Concat({folder, "\\", texts.LanguageId(), ".ini"});
    context_.services.files.WriteWholeFile(file, texts.Lines().Join());
    RegistryKey engine(context_.session.SystemRegistry());
    if (engine.Open(kEngineKey, true)) engine.WriteString("LastVersion", kUninstallerVersion);
    context_.Log(LogKind::Record, {"language file ", file});
}

void UninstallRecord::WriteUninstallEntry(const std::string& uninstaller, const std::string& log,
                                          const std::string& version,
                                          const std::string& installFolder) {
    const InstallProject& project = context_.session.project;
    const std::string& title = context_.Text(TextKey::ProjectName);
    const std::string path = kUninstallEntries + title;
    // Both paths quoted: a folder with blanks must not make the system start another program,
    // and the uninstaller reads its log path either way.
    const std::string command = Concat({Quoted(uninstaller), " ", Quoted(log)});
    const std::string quietCommand = Concat({command, " ", kQuietSwitch});
    const std::string& publisher = Property(project, FieldKind::CompanyDesc);
    struct NamedText {
        const char* name;
        const std::string& text;
    };
    const NamedText texts[] = {
        {"DisplayName", title},
        {"UninstallString", command},
        {"QuietUninstallString", quietCommand},
        {"DisplayVersion", version},
        {"Publisher", publisher},
        {"InstallLocation", installFolder},
        {"DisplayIcon", uninstaller},
    };
    RegistryKey entry(context_.session.SystemRegistry());
    bool written = entry.Open(path, true);
    for (const NamedText& value : texts) {
        written = entry.WriteString(value.name, value.text) && written;
    }
    if (const std::uint32_t size = EstimatedSizeKiB(project)) {
        written = entry.WriteDword("EstimatedSize", size) && written;
    }
    for (const char* name : {"NoModify", "NoRepair"})
        written = entry.WriteDword(name, 1) && written;
    const std::string name = RegistryRootName(RegistryRoot::LocalMachine) + path;
    if (written) {
        context_.Log(LogKind::Record, {"uninstall entry ", name, ": ", command});
    } else {
        context_.Log(LogKind::Error, {"the uninstall entry ", name, " was refused"});
    }
}

std::string UninstallRecord::UninstallName() const {
    return context_.Text(TextKey::UnInstallDesc) + context_.Text(TextKey::ProjectName);
}

std::string UninstallRecord::LogPath() const {
    return context_.Resolve(
        Concat({"[InstallDir]\\VeskInstall ", context_.Text(TextKey::ProjectName), ".xml"}));
}

void UninstallRecord::Write(const std::function<bool()>& cancelCheck) {
    SetupSession& session = context_.session;
    const InstallProject& project = session.project;
    const std::string log = LogPath();
    const std::string uninstaller = context_.Resolve(kUninstallerPath);
    const bool withEntry = IsSet(project, FieldKind::CreateUnInstall1);
    const bool withShortcut = IsSet(project, FieldKind::CreateUnInstall2);
    if (withEntry || withShortcut) {
        if (context_.services.files.WriteWholeFile(log, project.ToText())) {
            context_.Log(LogKind::Record, {"log ", log});
        } else {
            context_.Log(LogKind::Error, {"cannot write the log ", log});
        }
    }
    if (cancelCheck()) return;

    Registry& registry = session.SystemRegistry();
    const std::string& version = Property(project, FieldKind::ProductVersion);
    const std::string installFolder = context_.Resolve("[InstallDir]");
    if (withEntry) WriteUninstallEntry(uninstaller, log, version, installFolder);
    const std::string productKey = ProductKeyPath(project.ProjectName());
    const std::string versionKeyPath = Concat({productKey, "\\", version});
    RegistryKey versionKey(registry);
    versionKey.Open(versionKeyPath, true);
    const std::string& group = session.programFolder;
    versionKey.WriteString("ProgramFolder",
                           group.empty() ? group : group.substr(0, group.size() - 1));
    if (withShortcut) {
        std::string linkValue;
        if (!group.empty()) {
            const std::string name = UninstallName();
            shortcuts_.CreateShellLink(name, uninstaller, Quoted(log), std::string(),
                                       ShortcutLocation::ProgramGroup, 0);
            linkValue = Concat({group, name, ".lnk"});
        }
        versionKey.WriteString("UnInstallFileLink", linkValue);
    }
    versionKey.Close();
    RegistryKey product(registry);
    if (product.Open(productKey, true)) {
        product.WriteString("Path", installFolder);
        product.WriteString("Version", version);
    }
    context_.Log(LogKind::Record,
                 {"product key ", RegistryRootName(RegistryRoot::LocalMachine), productKey,
                  ": Path = \"", installFolder, "\", Version = \"", version, "\""});
}

}  // namespace vesk
