// Building a setup from a project file.
#include "SetupBuilder.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <utility>

#include "ContainerWriter.h"
#include "FileBytes.h"
#include "FileKindRules.h"
#include "LzssEncoder.h"
#include "ProjectCheck.h"
#include "ProjectCompleter.h"
#include "ProjectDefines.h"
#include "ProjectReader.h"
#include "ReferenceCheck.h"
#include "RegistryDataCheck.h"
#include "SizeOption.h"
#include "SourceScanner.h"
#include "StartupFiles.h"
#include "TargetPaths.h"
#include "TaskEditing.h"
#include "container/ContainerFormat.h"
#include "container/FileEntry.h"
#include "platform/FileTimes.h"
#include "project/TaskSlots.h"
#include "resources/LanguageFile.h"

namespace vesk {

namespace fs = std::filesystem;

struct SetupBuilder::Planned {
    std::string target;
    FileKind kind = FileKind::Ordinary;
    std::string hostPath;  // empty: `bytes` holds the content
    std::string bytes;
    std::uint64_t size = 0;
    std::string timeText;
};

namespace {

constexpr std::int32_t kOneVolume = std::numeric_limits<std::int32_t>::max();

std::string TimeOf(const std::string& path) {
    CalendarTime time;
    return GetFileLocalWriteTime(path, time) ? FormatEntryTime(time) : "2000-1-1 0:0:0";
}

bool IsSet(const std::string& flag) {
    return LeadingInt(flag) != 0;
}

// Whether `inner` is `outer` or lies below it (neither needs to exist).
bool Contains(const std::string& outer, const std::string& inner) {
    std::error_code ec;
    fs::path a = fs::weakly_canonical(outer, ec);
    if (ec) return false;
    fs::path b = fs::weakly_canonical(inner, ec);
    if (ec) return false;
    if (a.filename().empty()) a = a.parent_path();  // a trailing separator
    if (b.filename().empty()) b = b.parent_path();
    return std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first == a.end();
}

// Removes an output folder that the build made when the build does not finish.
class CreatedFolderGuard {
public:
    explicit CreatedFolderGuard(std::string path) : path_(std::move(path)) {}
    ~CreatedFolderGuard() {
        std::error_code ec;
        if (!kept_ && !path_.empty() && fs::is_empty(path_, ec)) fs::remove(path_, ec);
    }
    void Keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

}  // namespace

bool SetupBuilder::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool SetupBuilder::Build(const BuildOptions& options) {
    summary_ = BuildSummary();
    project_.Clear();
    error_.clear();
    extraFolders_.clear();

    if (!ReadProject(options)) return false;
    const Task& properties = tasks_[kSlotProjectProperties];

    std::string why;
    diskSize_ = 0;
    if (!options.diskSize.empty()) {
        diskSizeOrigin_ = "--disk-size " + options.diskSize;
        if (!ParseSizeOption(options.diskSize, diskSize_, why)) return Fail("--disk-size: " + why);
    } else {
        std::string value = properties.GetValue(SubTaskType::GetAllVar, FieldKind::DiskSize);
        diskSizeOrigin_ = locator_.Where(kSlotProjectProperties, SubTaskType::GetAllVar,
                                         FieldKind::DiskSize, value) +
                          "DiskSize " + value + " of task 2401";
        if (!value.empty() && value != "0" && !ParseSizeOption(value, diskSize_, why)) {
            return Fail(options.projectPath + ": DiskSize of task 2401: " + why);
        }
    }
    if (options.identity.size() > kMaxIdentityLength) {
        return Fail("--identity: \"" + options.identity + "\" is longer than 59 characters");
    }

    std::string stub;
    if (!options.checkOnly && !ReadFileContent(options.stubPath, stub)) {
        return Fail("the engine stub " + options.stubPath +
                    " cannot be read: build it (bash scripts/build.sh puts it into out/stub) or "
                    "name one with --stub PATH");
    }
    if (!options.checkOnly && stub.empty()) {
        return Fail("the engine stub " + options.stubPath + " is empty");
    }
    if (diskSize_ != 0 && std::uint64_t(diskSize_) <= stub.size()) {
        return Fail(diskSizeOrigin_ +
                    " is too small: a volume must be larger than the engine "
                    "stub " +
                    options.stubPath + " (" + std::to_string(stub.size()) + " bytes)");
    }

    outputDir_ = options.outputDir;
    if (outputDir_.empty()) {
        std::string value = properties.GetValue(SubTaskType::GetAllVar, FieldKind::OutPutPath);
        if (value.empty() && !options.checkOnly) {
            return Fail(locator_.Where(kSlotProjectProperties) +
                        "no output folder: give -o DIR or set OutPutPath in task 2401");
        }
        if (!value.empty()) outputDir_ = HostPathFor(baseDir_, value);
    }

    std::vector<Planned> plan;
    if (!Plan(options, plan) || !AcceptWarnings(options)) return false;
    if (options.checkOnly) return true;
    return Write(options, stub, plan);
}

bool SetupBuilder::AcceptWarnings(const BuildOptions& options) {
    if (!options.warningsAreErrors || summary_.warnings.empty()) return true;
    std::string errors;
    for (const std::string& warning : summary_.warnings) errors += warning + "\n";
    summary_.warnings.clear();
    return Fail(errors + "(warnings are errors with --werror)");
}

bool SetupBuilder::ReadProject(const BuildOptions& options) {
    ProjectDefines defines;
    std::string why;
    for (const std::string& define : options.defines) {
        if (!defines.Add(define, why)) return Fail("-D " + define + ": " + why);
    }
    ProjectReader reader;
    reader.SetDefines(&defines);
    if (!reader.ReadFile(options.projectPath)) return Fail(reader.LastError());
    baseDir_ = fs::path(options.projectPath).parent_path().string();
    ProjectCompleter completer;
    if (!completer.Complete(reader.Project(), options.projectPath, reader.TaskLines())) {
        return Fail(completer.LastError());
    }
    ProjectCheck check;
    check.Check(reader.Project(), reader.Locations(), options.projectPath, baseDir_);
    summary_.warnings = check.Warnings();
    if (!check.Errors().empty()) {
        std::string errors;
        for (const std::string& error : check.Errors())
            errors += (errors.empty() ? "" : "\n") + error;
        return Fail(errors);
    }
    locator_ = ProjectLocator(options.projectPath, reader.Project(), reader.Locations());
    tasks_ = completer.Tasks();
    order_ = completer.Order();
    return true;
}

bool SetupBuilder::Plan(const BuildOptions& options, std::vector<Planned>& plan) {
    const std::string& project = options.projectPath;
    Planned language;
    language.target = kLanguageTarget;
    language.kind = FileKind::StartUp;
    language.bytes = DefaultLanguageFile();
    language.size = language.bytes.size();
    language.timeText = TimeOf(project);
    plan.push_back(language);

    StartupFiles startup;
    if (!startup.Collect(tasks_, baseDir_)) {
        const StartupField& field = startup.ErrorField();
        return Fail(locator_.Where(field.slot, field.type, field.kind, field.value) +
                    startup.LastError());
    }
    for (const StartupFile& file : startup.Files()) {
        Planned entry;
        entry.target = file.target;
        entry.kind = FileKind::StartUp;
        entry.hostPath = file.hostPath;
        entry.timeText = TimeOf(file.hostPath);
        std::error_code ec;
        entry.size = fs::file_size(file.hostPath, ec);
        plan.push_back(entry);
    }

    SourceScanner scanner;
    if (!scanner.Scan(tasks_[kSlotFolderBinding], baseDir_)) {
        return Fail(project + ": " + scanner.LastError());
    }
    FileKindRules rules;
    if (!rules.Load(tasks_[kSlotCompressionExclusions], tasks_[kSlotExtractFiles])) {
        return Fail(project + ": " + rules.LastError());
    }
    for (const SourceFile& file : scanner.Files()) {
        Planned entry;
        entry.target = file.target;
        entry.kind = rules.KindFor(file.target);
        entry.hostPath = file.hostPath;
        entry.size = file.size;
        entry.timeText = rules.TimeFor(file.target);
        if (entry.timeText.empty()) entry.timeText = FormatEntryTime(file.time);
        if (entry.kind == FileKind::RegistryData) {
            std::string bytes, why;
            if (!ReadFileContent(file.hostPath, bytes)) {
                return Fail(file.hostPath + ": cannot be read");
            }
            if (!CheckRegistryDataFile(bytes, why)) {
                return Fail(file.hostPath + ": registry data file (kind R): " + why);
            }
        }
        plan.push_back(entry);
    }
    std::string why, mark;
    if (!rules.CheckMarksUsed(why, &mark)) {
        return Fail(
            locator_.Where(kSlotExtractFiles, SubTaskType::FileList, FieldKind::File, mark) + why);
    }
    if (scanner.Files().empty()) {
        summary_.warnings.push_back(
            locator_.Where(kSlotFolderBinding) +
            "no product files: task 2402 binds no source folder with files");
    }
    for (const SourceBinding& binding : scanner.Bindings()) {
        if (Contains(binding.hostPath, outputDir_)) {
            return Fail(locator_.Where(kSlotFolderBinding, SubTaskType::GetAllVar,
                                       FieldKind::PathValue, binding.source) +
                        "the output folder " + outputDir_ + " lies in the source folder \"" +
                        binding.source + "\" of " + binding.target +
                        ": each build would pack the one before");
        }
    }
    bool foreignNames = false;
    for (const Planned& entry : plan) {
        bool temporary = TargetKey(entry.target.substr(0, 13)) == "[TEMPFILEDIR]";
        if (temporary && (entry.kind == FileKind::Ordinary || entry.kind == FileKind::Raw)) {
            summary_.warnings.push_back(entry.target +
                                        " goes into the temporary folder and stays there; mark "
                                        "it in task 2412 (L, R) if the install should use it");
        }
        for (unsigned char c : entry.target) foreignNames = foreignNames || c >= 0x80;
    }
    if (foreignNames) {
        summary_.warnings.push_back(
            "some file names hold bytes outside ASCII; they go into the setup as they are, and "
            "the engine reads names in the ANSI code page of the user's system");
    }

    const Task& uninstall = tasks_[kSlotUninstallOptions];
    bool recordAsked =
        IsSet(uninstall.GetValue(SubTaskType::GetValue, FieldKind::CreateUnInstall1)) ||
        IsSet(uninstall.GetValue(SubTaskType::GetValue, FieldKind::CreateUnInstall2));
    if (recordAsked && !options.uninstallerPath.empty()) {
        Planned entry;
        entry.target = kUninstallerTarget;
        entry.kind = FileKind::Uninstaller;
        entry.hostPath = options.uninstallerPath;
        std::error_code ec;
        if (!fs::is_regular_file(entry.hostPath, ec)) {
            return Fail("--uninstaller: " + entry.hostPath + " is not a file");
        }
        entry.size = fs::file_size(entry.hostPath, ec);
        entry.timeText = TimeOf(entry.hostPath);
        plan.push_back(entry);
    } else if (recordAsked) {
        summary_.warnings.push_back(
            locator_.Where(kSlotUninstallOptions) +
            "task 2410 asks for an uninstall record, but no uninstaller program was given "
            "(--uninstaller PATH): the record will name a missing " +
            std::string(kUninstallerTarget));
    } else if (!options.uninstallerPath.empty()) {
        summary_.warnings.push_back(
            "--uninstaller ignored: task 2410 asks for no uninstall record");
    }

    std::set<std::string> targets;
    for (const Planned& entry : plan) {
        std::string longest =
            FormatFileEntry(entry.target, kOneVolume, kOneVolume, entry.kind, entry.timeText);
        if (longest.size() > kMaxFileEntryLength) {
            return Fail(entry.target + ": its file list entry would be " +
                        std::to_string(longest.size()) + " characters; the engine reads at most " +
                        std::to_string(kMaxFileEntryLength));
        }
        targets.insert(TargetKey(entry.target));
    }
    for (std::string& warning : ReferenceWarnings(tasks_, targets, locator_)) {
        summary_.warnings.push_back(std::move(warning));
    }

    for (const std::string& folder :
         ValuesOf(tasks_[kSlotExtractFiles], SubTaskType::FolderList, FieldKind::Folder)) {
        extraFolders_.push_back(folder);
    }
    folders_ = extraFolders_;
    std::set<std::string> folderKeys;
    for (const std::string& folder : folders_) folderKeys.insert(TargetKey(folder));
    for (const std::string& folder : scanner.Folders()) {
        if (folderKeys.insert(TargetKey(folder)).second) folders_.push_back(folder);
    }
    return true;
}

bool SetupBuilder::Write(const BuildOptions& options, const std::string& stub,
                         std::vector<Planned>& plan) {
    std::error_code ec;
    bool existed = fs::is_directory(outputDir_, ec);
    if (!existed && (!fs::create_directories(outputDir_, ec) || ec)) {
        return Fail(outputDir_ + ": cannot create the output folder: " + ec.message());
    }
    CreatedFolderGuard guard(existed ? std::string() : outputDir_);
    const std::int32_t writerDiskSize = diskSize_ ? diskSize_ : kOneVolume;
    ContainerWriter writer;
    std::string setupPath = (fs::path(outputDir_) / "Setup.exe").string();
    if (!writer.Begin(setupPath, stub, writerDiskSize)) return Fail(writer.LastError());

    BuildProgress progress;
    progress.entryCount = plan.size();
    for (const Planned& entry : plan) progress.bytesTotal += entry.size;
    if (progress_) progress_(progress);

    const std::int64_t limit = std::min<std::int64_t>(options.streamLimit, kOneVolume);
    SubTask fileList("999999", SubTaskType::FileList);
    std::string bytes;
    std::vector<std::uint8_t> encoded;
    for (Planned& entry : plan) {
        if (entry.hostPath.empty()) {
            bytes.swap(entry.bytes);
        } else if (!ReadFileContent(entry.hostPath, bytes)) {
            return Fail(entry.hostPath + ": cannot be read");
        }
        FileKind kind = entry.kind;
        encoded.clear();
        if (kind != FileKind::Raw) {
            LzssEncode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), encoded);
            // A file that LZSS does not make smaller is stored as it is.
            if (kind == FileKind::Ordinary && encoded.size() >= bytes.size() && !bytes.empty()) {
                kind = FileKind::Raw;
            }
        }
        const std::uint8_t* body = kind == FileKind::Raw
                                       ? reinterpret_cast<const std::uint8_t*>(bytes.data())
                                       : encoded.data();
        std::size_t bodySize = kind == FileKind::Raw ? bytes.size() : encoded.size();
        std::int64_t stream = writer.StreamLength();
        if (stream + std::int64_t(bodySize) > limit) {
            return Fail(entry.target + ": with this file the data stream would pass " +
                        std::to_string(limit) + " bytes, the most a setup can hold (2 GiB)");
        }
        std::int32_t offset = std::int32_t(stream);
        if (bodySize == 0) {
            // The engine changes to the volume of an entry's offset before it reads anything;
            // an empty body at a volume boundary would ask for a volume that may not exist.
            if (stream % writerDiskSize == 0) offset = std::int32_t(stream - 1);
        } else if (!writer.AddBody(body, bodySize, offset)) {
            return Fail(writer.LastError());
        }
        fileList.Add(FieldKind::File, FormatFileEntry(entry.target, offset, std::int32_t(bodySize),
                                                      kind, entry.timeText));
        ++summary_.entries;
        summary_.bytesIn += bytes.size();
        summary_.bytesOut += bodySize;
        if (kind == FileKind::StartUp) {
            ++summary_.startupEntries;
        } else {
            ++summary_.installedFiles;
            summary_.softwareSize += bytes.size();
        }
        if (kind == FileKind::Raw) ++summary_.rawFiles;
        ++progress.entry;
        progress.bytesDone += bytes.size();
        if (progress_) progress_(progress);
    }

    // Task 2412 as the engine reads it: the folders, then the files; other subtasks stay.
    std::vector<SubTask> extract;
    SubTask folderList("999999", SubTaskType::FolderList);
    for (const std::string& folder : folders_) folderList.Add(FieldKind::Folder, folder);
    extract.push_back(folderList);
    extract.push_back(fileList);
    for (const SubTask& subtask : tasks_[kSlotExtractFiles].SubTasks()) {
        if (subtask.Type() != SubTaskType::FolderList && subtask.Type() != SubTaskType::FileList) {
            extract.push_back(subtask);
        }
    }
    tasks_[kSlotExtractFiles] = WithSubTasks(tasks_[kSlotExtractFiles], std::move(extract));
    Task& properties = tasks_[kSlotProjectProperties];
    properties = WithFieldValue(properties, SubTaskType::GetAllVar, FieldKind::FileQty,
                                std::to_string(summary_.installedFiles));
    properties = WithFieldValue(properties, SubTaskType::GetAllVar, FieldKind::SoftwareSize,
                                std::to_string(summary_.softwareSize));

    // A set in one file gets a DiskSize larger than Setup.exe, which holds the DiskSize in its
    // project: a few rounds find the value that agrees with itself.
    std::int64_t diskSize = diskSize_ ? diskSize_ : writer.StreamLength() + 1;
    const std::int64_t stream = writer.StreamLength();
    std::string text;
    for (int round = 0;; ++round) {
        properties = WithFieldValue(properties, SubTaskType::GetAllVar, FieldKind::DiskSize,
                                    std::to_string(diskSize));
        project_ = ProjectOf(tasks_, order_);
        text = project_.ToText();
        if (diskSize_ != 0) break;
        std::vector<std::uint8_t> section;
        LzssEncode(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), section);
        std::int64_t setupLength = stream + std::int64_t(section.size()) + std::int64_t(kTailSize);
        if (diskSize > setupLength) break;
        if (round == 8) return Fail("the DiskSize of a one-volume set does not settle");
        diskSize = setupLength + 1;
    }
    if (diskSize > kOneVolume) return Fail("the setup would be larger than 2 GiB");

    summary_.identity = options.identity.empty() ? writer.ContentIdentity(text) : options.identity;
    if (!writer.Finish(text, summary_.identity)) return Fail(writer.LastError());
    guard.Keep();

    summary_.outputFiles = writer.VolumePaths();
    summary_.volumes = writer.VolumeCount();
    summary_.diskSize = std::int32_t(diskSize);
    summary_.folders = folders_.size();
    summary_.setupSize = std::int64_t(fs::file_size(setupPath, ec));
    return true;
}

}  // namespace vesk
