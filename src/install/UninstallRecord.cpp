// The uninstall record.
#include "install/UninstallRecord.h"

#include <cstdlib>

#include "container/FileEntry.h"
#include "install/ProductIdentity.h"
#include "install/RunAndWait.h"
#include "install/Takeover.h"
#include "platform/Concat.h"
#include "platform/Utf8.h"
#include "project/EngineKey.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"
#include "session/ProductRecord.h"

namespace vesk {
namespace {

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

InstallScope UninstallRecord::Scope() const {
    return context_.session.paths.Scope();
}

bool UninstallRecord::NewerUninstallerRecorded() const {
    RegistryKey engine(context_.session.SystemRegistry(), EngineRoot(Scope()));
    engine.OpenForReading(kEngineKey);
    const std::string recorded = engine.ReadString("LastVersion");
    // atof is strtod without the end pointer; the stub takes it from the system's C runtime.
    return !recorded.empty() && std::atof(recorded.c_str()) > std::atof(kUninstallerVersion);
}

void UninstallRecord::KeepLanguageFile() {
    InstallRecords& records = context_.session.records;
    const std::size_t first = records.ChangeCount();
    const std::string folder = context_.Resolve(EngineFolder(Scope()));
    context_.CreateFolders(folder);
    const LanguageTable& texts = context_.session.texts;
    const std::string file = Concat({folder, "\\", texts.LanguageId(), ".ini"});
    context_.keeper.BeforeWrite(file);
    // UTF-8 after its mark, which tells the uninstaller it is no earlier engine's code page.
    context_.services.files.WriteWholeFile(file, kUtf8ByteOrderMark + texts.Lines().Join());
    RegistryKey engine(context_.session.SystemRegistry(), EngineRoot(Scope()));
    if (engine.Open(kEngineKey, true)) engine.WriteString("LastVersion", kUninstallerVersion);
    // Every product of the engine shares the language files and the uninstaller's version.
    records.KeepAtUninstall(first);
    context_.Log(LogKind::Record, {"language file ", file});
}

bool UninstallRecord::WriteUninstallEntry(const std::string& uninstaller, const std::string& log,
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
    RegistryKey entry(context_.session.SystemRegistry(), EngineRoot(Scope()));
    bool written = entry.Open(path, true);
    for (const NamedText& value : texts) {
        written = entry.WriteString(value.name, value.text) && written;
    }
    if (const std::uint32_t size = EstimatedSizeKiB(project)) {
        written = entry.WriteDword("EstimatedSize", size) && written;
    }
    for (const char* name : {"NoModify", "NoRepair"})
        written = entry.WriteDword(name, 1) && written;
    const std::string name = RegistryRootName(EngineRoot(Scope())) + path;
    if (!written) {
        Fail({"the uninstall entry ", name, " was refused"});
        return false;
    }
    context_.Log(LogKind::Record, {"uninstall entry ", name, ": ", command});
    return true;
}

std::string UninstallRecord::UninstallName() const {
    return context_.Text(TextKey::UnInstallDesc) + context_.Text(TextKey::ProjectName);
}

std::string UninstallRecord::LogPath() const {
    return context_.Resolve(
        Concat({"[InstallDir]\\VeskInstall ", context_.Text(TextKey::ProjectName), ".xml"}));
}

void UninstallRecord::Fail(std::initializer_list<std::string_view> why) {
    context_.Log(LogKind::Error, why);
    SharedFlags& flags = context_.session.flags;
    flags.installOk = false;
    flags.installFailed = true;
}

bool UninstallRecord::WriteLog(const std::string& log, const std::string& text) {
    FileSystem& files = context_.services.files;
    context_.keeper.BeforeWrite(log);
    // Made anew: never written through a link or into a file someone left under its name.
    std::string why;
    std::unique_ptr<NewFile> file = files.CreateAnew(log, why);
    if (!file || !file->Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) ||
        !file->Close()) {
        Fail({"cannot write the log ", log, why.empty() ? "" : ": ", why});
        return false;
    }
    context_.keeper.AfterWrite(log);
    context_.Log(LogKind::Record, {"log ", log});
    return true;
}

void UninstallRecord::Write(const std::function<bool()>& cancelCheck) {
    SetupSession& session = context_.session;
    const InstallProject& project = session.project;
    const std::string log = LogPath();
    const std::string uninstaller = context_.Resolve(UninstallerPathOf(Scope()));
    const bool withEntry = IsSet(project, FieldKind::CreateUnInstall1);
    const bool withShortcut = IsSet(project, FieldKind::CreateUnInstall2);
    // The log first: no entry is written whose command would find no log.
    const std::string logText = withEntry || withShortcut ? project.ToText() : std::string();
    if ((withEntry || withShortcut) && !WriteLog(log, logText)) return;
    if (cancelCheck()) return;

    Registry& registry = session.SystemRegistry();
    const std::string& version = Property(project, FieldKind::ProductVersion);
    const std::string installFolder = context_.Resolve("[InstallDir]");
    if (withEntry && !WriteUninstallEntry(uninstaller, log, version, installFolder)) return;
    const std::string productKey = ProductKeyPath(project.ProjectName());
    const std::string versionKeyPath = Concat({productKey, "\\", version});
    RegistryKey versionKey(registry, EngineRoot(Scope()));
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
    RegistryKey product(registry, EngineRoot(Scope()));
    if (product.Open(productKey, true)) {
        product.WriteString("Path", installFolder);
        product.WriteString("Version", version);
    }
    context_.Log(LogKind::Record,
                 {"product key ", RegistryRootName(EngineRoot(Scope())), productKey, ": Path = \"",
                  installFolder, "\", Version = \"", version, "\""});
    const std::string entryKey =
        withEntry ? RegistryKeyPathOf(kUninstallEntries + context_.Text(TextKey::ProjectName))
                  : std::string();
    std::optional<Takeover> takeover;
    if (session.installed) {
        takeover.emplace(context_, *session.installed);
        takeover->RemoveLeftovers();
    }
    WriteProductRecord(withEntry || withShortcut ? log : std::string(), logText, entryKey,
                       takeover ? &*takeover : nullptr);
}

void UninstallRecord::WriteProductRecord(const std::string& log, const std::string& logText,
                                         const std::string& entryKey, const Takeover* takeover) {
    SetupSession& session = context_.session;
    InstallRecords& records = session.records;
    const std::string folder = context_.Resolve(RecordsFolderOf(Scope()));
    const std::size_t first = records.ChangeCount();
    context_.CreateFolders(folder);
    // Every product of the engine keeps its record there; the uninstaller removes this one.
    records.KeepAtUninstall(first);
    ProductRecord record;
    record.identity = ProductIdentity(session.project);
    record.product = session.project.ProjectName();
    record.version = Property(session.project, FieldKind::ProductVersion);
    record.title = context_.Text(TextKey::ProjectName);
    record.installFolder = context_.Resolve("[InstallDir]");
    record.logPath = log;
    DigestOf(logText, record.logCrc, record.logSize);
    record.entryKey = entryKey;
    record.scope = Scope();
    record.changes = RecordedChanges(records.Changes(), context_.services.files);
    if (takeover) record.changes = takeover->Merge(record.changes);
    const std::string path = Concat({folder, "\\", RecordFileName(record.identity)});
    context_.keeper.BeforeWrite(path);
    records.KeepAtUninstall(first);
    if (!context_.services.files.WriteWholeFile(path, RecordText(record))) {
        Fail({"cannot write the product's record ", path});
        return;
    }
    context_.Log(LogKind::Record, {"record ", path});
}

}  // namespace vesk
