// The file phase.
#include "install/FileInstaller.h"

#include "install/RunAndWait.h"
#include "install/SharedFiles.h"
#include "install/Takeover.h"
#include "platform/Concat.h"
#include "project/NameCase.h"
#include "project/PathParts.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

// A shared database file whose failed write the install passes over, as it always did.
constexpr char kToleratedFile[] = "SQLUNIRL.DLL";

}  // namespace

int ProgressPosition(int done, int total) {
    constexpr int kFull = 100;
    if (total <= 0) return -1;
    // The share is held as a double before it is scaled, so an x87 unit's wider registers give
    // the same positions as any other (29 of 100 files show 28, as they always did).
    const volatile double share = double(done) / double(total);
    const int position = int(share * kFull);
    return position > kFull ? kFull : position;
}

void FileInstaller::Run() {
    const InstallProject& project = context_.session.project;
    total_ = LeadingInt(project.GetValue(TaskIdForSlot(kSlotProjectProperties),
                                         SubTaskType::GetAllVar, FieldKind::FileQty));
    done_ = 0;
    shown_ = 0;
    const PathExpander expand = context_.session.paths.Expander();
    for (const std::string& text : context_.session.files) {
        const FileEntry entry = ParseFileEntry(text, expand);
        // The builder never writes a malformed entry; one that is there names no file.
        if (!entry.wellFormed) continue;
        if (entry.kind == FileKind::Uninstaller && record_.NewerUninstallerRecorded()) {
            context_.Log(LogKind::Record,
                         {"uninstaller ", entry.path, " not written: a newer one is recorded"});
            Count();
            continue;
        }
        if (entry.kind != FileKind::StartUp && Install(entry) == Step::Stop) {
            context_.session.flags.installOk = false;
            return;
        }
        context_.services.pause(kItemPauseMs);
        if (context_.CancelCheck()) return;
    }
}

FileInstaller::Step FileInstaller::Install(const FileEntry& entry) {
    SetupSession& session = context_.session;
    const std::size_t first = session.records.ChangeCount();
    // A user's uninstaller goes to the user's engine folder, which no folder list names.
    if (entry.kind == FileKind::Uninstaller) context_.CreateFolders(FolderOf(entry.path));
    // Only a shared file's count asks whether it was there; nothing was in a folder made anew.
    const bool shared = Shared(entry);
    const bool existed = shared && !context_.keeper.InNewFolder(entry.path) &&
                         context_.services.files.FileExists(entry.path);
    context_.keeper.BeforeWrite(entry.path);
    // Every product of the engine shares the uninstaller and its folder.
    if (entry.kind == FileKind::Uninstaller) session.records.KeepAtUninstall(first);
    SharedFlags& flags = session.flags;
    context_.report.SetItem(entry.path);
    bool written = context_.services.extractor.Extract(entry);
    if (written) {
        context_.Log(LogKind::File, entry.path);
    } else {
        const std::string why = context_.services.extractor.LastError();
        context_.Log(LogKind::Error, {"cannot write ", entry.path, why.empty() ? "" : ": ", why});
        written = !flags.setupFinished && ReplaceAtRestart(entry);
        if (!written && !flags.setupFinished && StopAfterWriteError(entry)) {
            flags.setupFinished = true;
        }
    }
    // Set by a volume the user gave up, by Yes above, or by the clean-up of a closed wizard.
    if (flags.setupFinished) {
        if (!written) flags.installFailed = true;
        return Step::Stop;
    }
    context_.services.extractor.SetTime(entry);
    context_.keeper.AfterWrite(entry.path);
    if (shared) CountShared(entry.path, existed);
    Count();
    FollowUp(entry);
    return Step::Next;
}

bool FileInstaller::ReplaceAtRestart(const FileEntry& entry) {
    // Only a file that is there and kept by a program that uses it; one the install needs now
    // (a program to run, registry data) cannot wait for the restart.
    const bool usedLater = entry.kind != FileKind::Program && entry.kind != FileKind::RegistryData;
    FileSystem& files = context_.services.files;
    if (!usedLater || !files.FileExists(entry.path)) return false;
    FileEntry waiting = entry;
    waiting.path = Concat({entry.path, ".~VeskNew", context_.session.start.startStamp});
    context_.session.records.Add(FileChange(ChangeKind::FileAtRestart, entry.path, waiting.path));
    if (!context_.services.extractor.Extract(waiting)) {
        files.RemoveFile(waiting.path);
        return false;
    }
    context_.services.extractor.SetTime(waiting);
    if (!files.ReplaceAtRestart(waiting.path, entry.path)) {
        files.RemoveFile(waiting.path);
        return false;
    }
    context_.session.flags.restartNeeded = true;
    context_.Log(LogKind::File, {entry.path, " is in use: replaced when Windows restarts"});
    return true;
}

bool FileInstaller::Shared(const FileEntry& entry) const {
    const bool kept = entry.kind == FileKind::Ordinary || entry.kind == FileKind::Raw ||
                      entry.kind == FileKind::Other;
    const SetupSession& session = context_.session;
    // The shared-file list is the machine's: a user's install keeps its files to itself.
    return kept && session.paths.Scope() == InstallScope::Machine &&
           !LiesBelow(entry.path, context_.Resolve("[InstallDir]")) &&
           !session.runFolder.Contains(entry.path);
}

void FileInstaller::CountShared(const std::string& path, bool existed) {
    SetupSession& session = context_.session;
    // The version taken over holds the product's count already.
    if (session.installed && Takeover::CountedBy(*session.installed, path)) return;
    if (CountSharedFile(session.SystemRegistry(), session.registry.Inner(), session.records, path,
                        existed)) {
        context_.Log(LogKind::File, {path, " counted as a shared file"});
    } else {
        context_.Log(LogKind::Error, {"cannot count the shared file ", path});
    }
}

bool FileInstaller::StopAfterWriteError(const FileEntry& entry) {
    if (entry.kind != FileKind::Raw &&
        UpperName(entry.path).find(kToleratedFile) != std::string::npos) {
        return false;
    }
    const std::string question = Concat({context_.Text(TextKey::WriteFileErrorDesc), entry.path,
                                         context_.Text(TextKey::ErrorExitInstallDesc)});
    return context_.report.AskYesNo(question, context_.Text(TextKey::MessageDesc),
                                    QuestionIcon::Stop);
}

void FileInstaller::FollowUp(const FileEntry& entry) {
    InstallServices& services = context_.services;
    switch (entry.kind) {
        case FileKind::Program: {
            const std::uint32_t code = RunAndWait(
                services.processes, entry.path, kShowNormal, [this](const std::string& text) {
                    context_.report.Tell(text, kCreateProcessFailedCaption);
                });
            if (code == kCreateProcessFailed) {
                context_.Log(LogKind::Error, {"cannot start ", entry.path});
            } else {
                context_.Log(LogKind::File,
                             {"ran ", entry.path, ", exit code ", std::to_string(code)});
            }
            break;
        }
        case FileKind::RegistryData:
            if (services.applyRegistryDataFile) services.applyRegistryDataFile(entry.path);
            context_.Log(LogKind::File, {"applied the registry data file ", entry.path});
            break;
        case FileKind::Uninstaller:
            context_.Log(LogKind::Record, {"uninstaller ", entry.path});
            record_.KeepLanguageFile();
            return;
        default:
            return;
    }
    // Programs and registry data files are used once and go, even when the use failed.
    services.files.RemoveFile(entry.path);
    context_.keeper.PutBack(entry.path);
}

void FileInstaller::Count() {
    ++done_;
    const int position = ProgressPosition(done_, total_);
    // The bar is only moved when its position changes: a thousand files cost a hundred trips to
    // the user-interface thread, not a thousand.
    if (position >= 0 && position != shown_) context_.report.SetProgress(position);
    if (position >= 0) shown_ = position;
}

}  // namespace vesk
