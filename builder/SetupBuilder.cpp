// Building a setup from a project file.
#include "builder/SetupBuilder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <utility>

#include "builder/checks/ProjectCheck.h"
#include "builder/checks/ProjectCompleter.h"
#include "builder/checks/ReferenceCheck.h"
#include "builder/checks/ScopeCheck.h"
#include "builder/checks/TaskEditing.h"
#include "builder/pe/StubBranding.h"
#include "builder/plan/FileBytes.h"
#include "builder/plan/FileKindRules.h"
#include "builder/plan/InputFile.h"
#include "builder/plan/SizeOption.h"
#include "builder/plan/SolidPlan.h"
#include "builder/plan/SourceDateEpoch.h"
#include "builder/plan/SourceScanner.h"
#include "builder/plan/StartupFiles.h"
#include "builder/plan/TargetPaths.h"
#include "builder/reading/ProjectDefines.h"
#include "builder/reading/ProjectReader.h"
#include "builder/writing/BodyWriter.h"
#include "builder/writing/ContainerWriter.h"
#include "builder/writing/ShellCommand.h"
#include "builder/writing/SignedCopy.h"
#include "builder/writing/SolidWriter.h"
#include "codec/lzma/LzmaBodyEncoder.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/ContainerFormat.h"
#include "container/FileEntry.h"
#include "platform/FileTimes.h"
#include "project/RegistryDataGrammar.h"
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
    // A product file is read only while it is the file the scan found.
    std::optional<FileIdentity> identity;
};

namespace {

constexpr std::int32_t kOneVolume = std::numeric_limits<std::int32_t>::max();

// A file of the build's own beside its output, removed when the build ends either way.
struct PartFile {
    std::string path;
    ~PartFile() {
        std::error_code ec;
        if (!path.empty()) fs::remove(path, ec);
    }
    bool Write(const std::string& where, const std::string& bytes) {
        path = where;
        std::ofstream out(where, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.close();
        return bool(out);
    }
};

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

// Creates the output folder and the missing folders above it, and removes those it made again
// (when they are empty) unless the build finishes.
class CreatedFolderGuard {
public:
    bool Create(const std::string& path, std::error_code& ec) {
        fs::path folder = fs::absolute(path, ec);
        if (ec) return false;
        for (fs::path at = folder.lexically_normal(); !at.empty() && !fs::exists(at, ec);
             at = at.parent_path()) {
            made_.push_back(at);
            if (at == at.parent_path()) break;
        }
        fs::create_directories(folder, ec);
        return !ec;
    }
    ~CreatedFolderGuard() {
        std::error_code ec;
        if (kept_) return;
        for (const fs::path& folder : made_) {
            if (fs::is_empty(folder, ec)) fs::remove(folder, ec);
        }
    }
    void Keep() { kept_ = true; }

private:
    std::vector<fs::path> made_;  // deepest first
    bool kept_ = false;
};

}  // namespace

bool SetupBuilder::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

InstallScope SetupBuilder::Scope() const {
    return InstallScopeFromName(tasks_[kSlotProjectProperties].GetValue(SubTaskType::GetAllVar,
                                                                        FieldKind::InstallScope))
        .value_or(InstallScope::Machine);
}

// The stub with the product's icon and version information (see StubBranding).
bool SetupBuilder::Brand(std::string& stub) {
    const Task& properties = tasks_[kSlotProjectProperties];
    auto property = [&](FieldKind kind) {
        return properties.GetValue(SubTaskType::GetAllVar, kind);
    };
    BrandingRequest request;
    request.productName = property(FieldKind::ProjectName);
    request.companyName = property(FieldKind::CompanyDesc);
    request.productVersion = property(FieldKind::ProductVersion);
    std::string icon = property(FieldKind::AppFileIcon);
    if (!icon.empty()) {
        request.iconPath = HostPathFor(baseDir_, icon);
        request.iconOrigin = "AppFileIcon \"" + icon + "\" of task 2401";
    }
    request.timeStamp = epoch_;
    request.asInvoker = Scope() == InstallScope::User;
    StubBranding branding;
    if (!branding.Apply(stub, request)) return Fail(branding.LastError());
    for (const std::string& warning : branding.Warnings()) summary_.warnings.push_back(warning);
    checksumField_ = branding.ChecksumOffset();
    return true;
}

std::string SetupBuilder::TimeOf(const std::string& path) const {
    if (epoch_) return FormatEntryTime(CalendarTimeOfEpoch(*epoch_));
    CalendarTime time;
    return GetFileLocalWriteTime(path, time) ? FormatEntryTime(time) : "2000-1-1 0:0:0";
}

bool SetupBuilder::Build(const BuildOptions& options) {
    summary_ = BuildSummary();
    project_.Clear();
    error_.clear();
    problems_.Clear();
    extraFolders_.clear();
    epoch_ = options.sourceDateEpoch;

    if (!ReadProject(options)) return false;
    const Task& properties = tasks_[kSlotProjectProperties];

    // The project's own DiskSize and CompressType are reported by the check when they are wrong.
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
        if (!value.empty() && value != "0" && !ParseSizeOption(value, diskSize_, why) &&
            problems_.Empty()) {
            Report(locator_.Line(kSlotProjectProperties, SubTaskType::GetAllVar,
                                 FieldKind::DiskSize, value),
                   options.projectPath + ": DiskSize of task 2401: " + why);
        }
    }
    if (!ChooseMethod(options)) return false;
    if (options.identity.size() > kMaxIdentityLength) {
        return Fail("--identity: \"" + options.identity + "\" is longer than 59 characters");
    }

    outputDir_ = options.outputDir;
    if (outputDir_.empty()) {
        std::string value = properties.GetValue(SubTaskType::GetAllVar, FieldKind::OutPutPath);
        if (value.empty() && !options.checkOnly) {
            Report(locator_.Line(kSlotProjectProperties),
                   locator_.Where(kSlotProjectProperties) +
                       "no output folder: give -o DIR or set OutPutPath in task 2401");
        }
        if (!value.empty()) outputDir_ = HostPathFor(baseDir_, value);
    }

    std::vector<Planned> plan;
    // A step that stops the plan reports why; one that only Fails is reported here.
    if (!Plan(options, plan) && problems_.Empty()) Report(0, error_);
    summary_.errorCount = problems_.Count();
    if (!problems_.Empty()) return Fail(problems_.Text());
    if (!AcceptWarnings(options)) return false;
    if (options.checkOnly) return true;
    std::string stub;
    if (!ReadStub(options, stub)) return false;
    return Write(options, stub, plan);
}

void SetupBuilder::Report(std::size_t line, std::string message) {
    problems_.Add(line, std::move(message));
}

void SetupBuilder::ReportAt(int slot, SubTaskType type, FieldKind kind, const std::string& value,
                            const std::string& message) {
    Report(locator_.Line(slot, type, kind, value),
           locator_.Where(slot, type, kind, value) + message);
}

// --compression wins over CompressType; the field stays out of a project that has none and gets
// LZSS, so such a setup keeps the bytes it had before the method could be chosen.
bool SetupBuilder::ChooseMethod(const BuildOptions& options) {
    const std::string value =
        tasks_[kSlotProjectProperties].GetValue(SubTaskType::GetAllVar, FieldKind::CompressType);
    if (!options.compression.empty()) {
        if (!BodyMethodFromName(options.compression, method_)) {
            return Fail("--compression: \"" + options.compression +
                        "\" is no method: lzss, lzma or lzma-solid");
        }
    } else if (!BodyMethodFromName(value, method_) && problems_.Empty()) {
        ReportAt(
            kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::CompressType, value,
            "CompressType \"" + value + "\" of task 2401 is no method: LZSS, LZMA or LZMA-SOLID");
    }
    methodWritten_ = method_ != BodyMethod::Lzss || !value.empty();
    summary_.method = method_;
    return true;
}

bool SetupBuilder::AcceptWarnings(const BuildOptions& options) {
    if (!options.warningsAreErrors || summary_.warnings.empty()) return true;
    std::string errors;
    for (const std::string& warning : summary_.warnings) errors += warning + "\n";
    summary_.warnings.clear();
    return Fail(errors + "(warnings are errors with --werror)");
}

bool SetupBuilder::ReadProject(const BuildOptions& options) {
    // The reader takes the file whole: refuse a device, a pipe or a giant before it reads.
    std::string problem = RegularFileProblem(options.projectPath);
    std::error_code ec;
    if (problem.empty() && fs::file_size(options.projectPath, ec) > kMaxWholeFileSize) {
        problem = "is larger than " + std::to_string(kMaxWholeFileSize >> 20) + " MiB";
    }
    if (!problem.empty()) return Fail(options.projectPath + ": cannot be read: it " + problem);
    ProjectDefines defines;
    std::string why;
    for (const std::string& define : options.defines) {
        if (!defines.Add(define, why)) return Fail("-D " + define + ": " + why);
    }
    ProjectReader reader;
    reader.SetDefines(&defines);
    const bool read = reader.ReadFile(options.projectPath);
    // Without a single task there is nothing to check further.
    if (!read && reader.Project().TaskCount() == 0) return Fail(reader.LastError());
    problems_.Add(reader.Errors());
    baseDir_ = fs::path(options.projectPath).parent_path().string();
    ProjectCompleter completer;
    completer.Complete(reader.Project(), options.projectPath, reader.TaskLines(),
                       reader.LostTasks());
    problems_.Add(completer.Errors());
    ProjectCheck check;
    check.Check(reader.Project(), reader.Locations(), options.projectPath, baseDir_);
    summary_.warnings = check.Warnings();
    problems_.Add(check.Errors());
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
    startup.Collect(tasks_, baseDir_);
    for (const StartupError& error : startup.Errors()) {
        const StartupField& field = error.field;
        ReportAt(field.slot, field.type, field.kind, field.value, error.message);
    }
    for (const StartupSource& file : startup.Files()) {
        Planned entry;
        entry.target = file.target;
        entry.kind = FileKind::StartUp;
        entry.hostPath = file.hostPath;
        entry.timeText = TimeOf(file.hostPath);
        std::error_code ec;
        entry.size = fs::file_size(file.hostPath, ec);
        plan.push_back(entry);
    }

    // The later checks need the product's files and their kinds.
    SourceScanner scanner;
    if (!scanner.Scan(tasks_[kSlotFolderBinding], baseDir_)) {
        // The check may have named the binding at fault already, with its line.
        if (!problems_.Mentions(scanner.LastError()))
            Report(0, project + ": " + scanner.LastError());
        return false;
    }
    summary_.excluded = scanner.Excluded();
    for (const std::string& warning : scanner.Warnings()) summary_.warnings.push_back(warning);
    FileKindRules rules;
    if (!rules.Load(tasks_[kSlotCompressionExclusions], tasks_[kSlotExtractFiles])) {
        // The check reports every mark the rules refuse, with its line.
        if (problems_.Empty()) Report(0, project + ": " + rules.LastError());
        return false;
    }
    for (const SourceFile& file : scanner.Files()) {
        Planned entry;
        entry.target = file.target;
        entry.kind = rules.KindFor(file.target);
        entry.hostPath = file.readPath;
        entry.identity = file.identity;
        entry.size = file.size;
        // A time the project gives the file wins; else SOURCE_DATE_EPOCH, else the file's own.
        entry.timeText = rules.TimeFor(file.target);
        if (entry.timeText.empty()) {
            entry.timeText = epoch_ ? TimeOf(file.hostPath) : FormatEntryTime(file.time);
        }
        if (entry.kind == FileKind::RegistryData) {
            std::string bytes, why;
            if (!ReadFileContent(file.readPath, bytes, why, kMaxWholeFileSize, &file.identity)) {
                Report(0, why);
            } else {
                for (const RegistryDataProblem& problem : CheckRegistryData(bytes)) {
                    Report(0, file.hostPath + ": registry data file (kind R): " + problem.message);
                }
                if (Scope() == InstallScope::User) {
                    for (const std::string& problem : UserScopeDataProblems(bytes)) {
                        Report(0, file.hostPath + ": registry data file (kind R): " + problem);
                    }
                }
            }
        }
        plan.push_back(entry);
    }
    std::string why, mark;
    if (!rules.CheckMarksUsed(why, &mark)) {
        ReportAt(kSlotExtractFiles, SubTaskType::FileList, FieldKind::File, mark, why);
    }
    if (scanner.Files().empty()) {
        summary_.warnings.push_back(
            locator_.Where(kSlotFolderBinding) +
            "no product files: task 2402 binds no source folder with files");
    }
    for (const SourceBinding& binding : scanner.Bindings()) {
        if (!outputDir_.empty() && Contains(binding.hostPath, outputDir_)) {
            ReportAt(kSlotFolderBinding, SubTaskType::GetAllVar, FieldKind::PathValue,
                     binding.source,
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

    if (!PlanUninstaller(options, plan)) {
        Report(0, error_);
        return false;
    }

    std::set<std::string> targets;
    for (const Planned& entry : plan) {
        std::string longest =
            FormatFileEntry(entry.target, kOneVolume, kOneVolume, entry.kind, entry.timeText);
        if (longest.size() > kMaxFileEntryLength) {
            Report(0, entry.target + ": its file list entry would be " +
                          std::to_string(longest.size()) +
                          " characters; the engine reads at most " +
                          std::to_string(kMaxFileEntryLength));
        }
        targets.insert(TargetKey(entry.target));
    }
    for (const Problem& missing : MissingTargets(tasks_, targets, locator_)) {
        if (options.allowMissingTargets) {
            summary_.missingTargets.push_back(missing.message);
        } else {
            Report(missing.line, missing.message +
                                     " (--allow-missing-targets when something else puts it "
                                     "there)");
        }
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
    for (const Planned& entry : plan) {
        summary_.planned.push_back(
            {entry.target, LetterOf(entry.kind), entry.size, entry.hostPath});
    }
    return true;
}

// The uninstaller goes last: the one given, else the one beside the tool, when task 2410 asks
// for an uninstall record.
bool SetupBuilder::PlanUninstaller(const BuildOptions& options, std::vector<Planned>& plan) {
    const Task& uninstall = tasks_[kSlotUninstallOptions];
    bool recordAsked =
        IsSet(uninstall.GetValue(SubTaskType::GetValue, FieldKind::CreateUnInstall1)) ||
        IsSet(uninstall.GetValue(SubTaskType::GetValue, FieldKind::CreateUnInstall2));
    std::string uninstaller = options.uninstallerPath;
    std::error_code ec;
    if (uninstaller.empty() && recordAsked && !options.bundledUninstallerPath.empty() &&
        fs::is_regular_file(options.bundledUninstallerPath, ec)) {
        uninstaller = options.bundledUninstallerPath;
    }
    if (recordAsked && !uninstaller.empty()) {
        Planned entry;
        entry.target = UninstallerPathOf(Scope());
        entry.kind = FileKind::Uninstaller;
        entry.hostPath = uninstaller;
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
            "(--uninstaller PATH)" +
            (options.bundledUninstallerPath.empty()
                 ? std::string()
                 : " and none came with veskbuild (" + options.bundledUninstallerPath + ")") +
            ": the record will name a missing " + UninstallerPathOf(Scope()));
    } else if (!options.uninstallerPath.empty()) {
        summary_.warnings.push_back(
            "--uninstaller ignored: task 2410 asks for no uninstall record");
    }
    return true;
}

bool SetupBuilder::ReadStub(const BuildOptions& options, std::string& stub) {
    std::string why;
    if (!ReadFileContent(options.stubPath, stub, why)) {
        return Fail("the engine stub cannot be read (" + why +
                    "): build it (bash scripts/build.sh puts it into out/stub) or name one with "
                    "--stub PATH");
    }
    if (stub.empty()) return Fail("the engine stub " + options.stubPath + " is empty");
    if (!Brand(stub)) return false;
    if (diskSize_ != 0 && std::uint64_t(diskSize_) <= stub.size()) {
        return Fail(diskSizeOrigin_ +
                    " is too small: a volume must be larger than the engine "
                    "stub " +
                    options.stubPath + " (" + std::to_string(stub.size()) + " bytes)");
    }
    return true;
}

bool SetupBuilder::WriteBodies(const BuildOptions& options, ContainerWriter& writer,
                               std::vector<Planned>& plan, SubTask& fileList) {
    BuildProgress progress;
    progress.entryCount = plan.size();
    for (const Planned& entry : plan) progress.bytesTotal += entry.size;
    if (progress_) progress_(progress);

    const std::int64_t limit = std::min<std::int64_t>(options.streamLimit, kOneVolume);
    const std::int32_t writerDiskSize = diskSize_ ? diskSize_ : kOneVolume;
    if (method_ == BodyMethod::LzmaSolid) {
        return WriteSolidBodies(options, writer, plan, fileList, progress);
    }
    std::uint64_t largest = 0;
    for (const Planned& entry : plan) largest = std::max(largest, entry.size);
    if (method_ == BodyMethod::Lzma) summary_.lzmaDictionary = LzmaDictionaryFor(largest);
    BodyWriter bodies(writer, limit, options.stop, method_, summary_.lzmaDictionary);
    std::uint64_t entryStart = 0;
    bodies.SetProgressHandler([&](std::uint64_t done) {
        // A body that does not shrink is read a second time, to be stored raw: the figure
        // stays where it was until that pass overtakes it.
        progress.bytesDone = std::max(progress.bytesDone, entryStart + done);
        if (progress_) progress_(progress);
    });
    for (Planned& entry : plan) {
        BodySource source{entry.hostPath, &entry.bytes, entry.size,
                          entry.identity ? &*entry.identity : nullptr};
        WrittenBody body;
        if (!bodies.Write(entry.target, source, entry.kind, body)) {
            summary_.interrupted = bodies.Stopped();
            return Fail(bodies.LastError());
        }
        AddEntry(entry, body, writerDiskSize, fileList);
        summary_.bytesOut += std::uint64_t(body.size);
        ++progress.entry;
        entryStart += entry.size;
        progress.bytesDone = entryStart;
        if (progress_) progress_(progress);
    }
    if (options.stop && options.stop->load()) {
        summary_.interrupted = true;
        return Fail("interrupted");
    }
    return true;
}

void SetupBuilder::AddEntry(Planned& entry, const WrittenBody& body, std::int32_t diskSize,
                            SubTask& fileList) {
    std::int32_t offset = body.offset;
    // The engine changes to the volume of an entry's offset before it reads anything; an
    // empty body at a volume boundary would ask for a volume that may not exist.
    if (body.size == 0 && offset % diskSize == 0) offset -= 1;
    fileList.Add(FieldKind::File,
                 FormatFileEntry(entry.target, offset, body.size, body.kind, entry.timeText));
    ++summary_.entries;
    summary_.bytesIn += entry.size;
    if (body.kind == FileKind::StartUp) {
        ++summary_.startupEntries;
    } else {
        ++summary_.installedFiles;
        summary_.softwareSize += entry.size;
    }
    if (body.kind == FileKind::Raw) ++summary_.rawFiles;
    entry.bytes.clear();
}

bool SetupBuilder::WriteSolidBodies(const BuildOptions& options, ContainerWriter& writer,
                                    std::vector<Planned>& plan, SubTask& fileList,
                                    BuildProgress& progress) {
    const std::int64_t limit = std::min<std::int64_t>(options.streamLimit, kOneVolume);
    const std::int32_t writerDiskSize = diskSize_ ? diskSize_ : kOneVolume;
    std::vector<SolidItem> items(plan.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        items[i] = SolidItem{plan[i].target, plan[i].kind, plan[i].size};
    }
    // The file list takes the order of the blocks: the engine installs in that order, so it
    // decodes every block once.
    // Blocks as large as they may be, but no fewer than the threads that encode them.
    std::uint64_t solidBytes = 0;
    for (const SolidItem& item : items) solidBytes += item.kind == FileKind::Raw ? 0 : item.size;
    const std::uint64_t blockSize = std::clamp<std::uint64_t>(
        solidBytes / std::max(options.threads, 1u) + 1, kSmallestSolidBlock, kSolidBlockSize);
    const SolidPlan solid = PlanSolidBlocks(items, blockSize);
    std::vector<Planned> ordered;
    ordered.reserve(plan.size());
    for (std::size_t index : solid.order) ordered.push_back(std::move(plan[index]));
    plan = std::move(ordered);

    BodyWriter raw(writer, limit, options.stop, BodyMethod::Lzss);
    SolidWriter blocks(writer, limit, options.stop, options.threads);
    std::vector<SolidBlockFiles> run;  // blocks waiting to be encoded together
    std::vector<std::vector<std::size_t>> runEntries;
    auto flush = [&]() {
        std::vector<std::vector<std::uint32_t>> positions;
        if (!blocks.Write(run, positions)) {
            summary_.interrupted = blocks.Stopped();
            return Fail(blocks.LastError());
        }
        for (std::size_t b = 0; b < run.size(); ++b) {
            for (std::size_t k = 0; k < runEntries[b].size(); ++k) {
                Planned& entry = plan[runEntries[b][k]];
                WrittenBody body{entry.kind, std::int32_t(positions[b][k]),
                                 std::int32_t(entry.size)};
                AddEntry(entry, body, writerDiskSize, fileList);
                progress.bytesDone += entry.size;
                ++progress.entry;
            }
        }
        if (progress_) progress_(progress);
        run.clear();
        runEntries.clear();
        return true;
    };
    for (const SolidStep& step : solid.steps) {
        if (step.block) {
            run.emplace_back();
            runEntries.emplace_back();
            for (std::size_t i = step.first; i < step.first + step.count; ++i) {
                Planned& entry = plan[i];
                run.back().push_back(
                    {entry.target, BodySource{entry.hostPath, &entry.bytes, entry.size,
                                              entry.identity ? &*entry.identity : nullptr}});
                runEntries.back().push_back(i);
            }
            continue;
        }
        if (!run.empty() && !flush()) return false;
        Planned& entry = plan[step.first];
        WrittenBody body;
        BodySource source{entry.hostPath, &entry.bytes, entry.size,
                          entry.identity ? &*entry.identity : nullptr};
        if (!raw.Write(entry.target, source, entry.size == 0 ? entry.kind : FileKind::Raw, body)) {
            summary_.interrupted = raw.Stopped();
            return Fail(raw.LastError());
        }
        AddEntry(entry, body, writerDiskSize, fileList);
        summary_.bytesOut += std::uint64_t(body.size);
        progress.bytesDone += entry.size;
        ++progress.entry;
    }
    if (!run.empty() && !flush()) return false;
    for (const SolidBlock& block : blocks.Index().blocks) summary_.bytesOut += block.stored;
    summary_.lzmaDictionary = blocks.LargestDictionary();
    summary_.solidBlocks = blocks.Index().blocks.size();
    writer.SetBlockIndex(EncodeBlockIndex(blocks.Index()));
    if (options.stop && options.stop->load()) {
        summary_.interrupted = true;
        return Fail("interrupted");
    }
    return true;
}

bool SetupBuilder::Write(const BuildOptions& options, const std::string& stub,
                         std::vector<Planned>& plan) {
    std::error_code ec;
    CreatedFolderGuard guard;
    if (!fs::is_directory(outputDir_, ec) && !guard.Create(outputDir_, ec)) {
        return Fail(outputDir_ + ": cannot create the output folder: " + ec.message());
    }
    const std::int32_t writerDiskSize = diskSize_ ? diskSize_ : kOneVolume;
    ContainerWriter writer;
    std::string setupPath = (fs::path(outputDir_) / "Setup.exe").string();
    if (!writer.Begin(setupPath, stub, writerDiskSize)) return Fail(writer.LastError());
    writer.SetChecksumField(checksumField_);
    if (!options.signCommand.empty()) {
        writer.SetSigner([&options](const std::string& path, std::string& why) {
            return RunShellCommand(CommandForFile(options.signCommand, path), why);
        });
    }

    // A user's uninstaller runs as the user whose install it removes: it asks for no elevation.
    PartFile userUninstaller;
    for (Planned& entry : plan) {
        if (Scope() != InstallScope::User || entry.kind != FileKind::Uninstaller) continue;
        std::string bytes, why;
        if (!ReadFileContent(entry.hostPath, bytes, why) || !AskForNoElevation(bytes, why) ||
            !userUninstaller.Write((fs::path(outputDir_) / "Vesk-UnInstall.user.part").string(),
                                   bytes)) {
            return Fail("the uninstaller " + entry.hostPath +
                        " cannot be made to run without administrator rights for a setup for the "
                        "current user" +
                        (why.empty() ? std::string() : ": " + why));
        }
        entry.hostPath = userUninstaller.path;
        entry.size = bytes.size();
    }

    // What the user's machine runs after the install is signed as Setup.exe is.
    SignedCopy signedUninstaller;
    for (Planned& entry : plan) {
        if (options.signCommand.empty() || entry.kind != FileKind::Uninstaller) continue;
        std::string why;
        const std::string copy = (fs::path(outputDir_) / "Vesk-UnInstall.exe.part").string();
        if (!signedUninstaller.Make(entry.hostPath, copy, options.signCommand, why)) {
            return Fail(why);
        }
        entry.hostPath = signedUninstaller.Path();
        entry.size = fs::file_size(entry.hostPath, ec);
    }

    SubTask fileList("999999", SubTaskType::FileList);
    if (!WriteBodies(options, writer, plan, fileList)) return false;

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
    if (methodWritten_) {
        properties = WithFieldValue(properties, SubTaskType::GetAllVar, FieldKind::CompressType,
                                    BodyMethodName(method_));
    }

    // A set in one file gets a DiskSize larger than Setup.exe, which holds the DiskSize in its
    // project: a few rounds find the value that agrees with itself.
    std::int64_t diskSize = diskSize_ ? diskSize_ : writer.StreamLength() + 1;
    std::string text;
    for (int round = 0;; ++round) {
        properties = WithFieldValue(properties, SubTaskType::GetAllVar, FieldKind::DiskSize,
                                    std::to_string(diskSize));
        project_ = ProjectOf(tasks_, order_);
        text = project_.ToText();
        if (diskSize_ != 0) break;
        std::vector<std::uint8_t> section;
        LzssEncode(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), section);
        std::int64_t setupLength = writer.FinishedSetupLength(section.size());
        if (diskSize > setupLength) break;
        if (round == 8) return Fail("the DiskSize of a one-volume set does not settle");
        diskSize = setupLength + 1;
    }
    if (diskSize > kOneVolume) return Fail("the setup would be larger than 2 GiB");
    if (text.size() > kMaxProjectText) {
        return Fail("the project would be " + std::to_string(text.size()) +
                    " bytes of XML; the engine reads at most " + std::to_string(kMaxProjectText));
    }

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
