// Builds a setup from a project file: Setup.exe (the engine stub and the payload) and, when the
// data does not fit in one volume, Setup2.Cab, Setup3.Cab, ... beside it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "builder/plan/SourceExcludes.h"
#include "builder/reading/ProblemList.h"
#include "builder/reading/ProjectLocator.h"
#include "codec/BodyMethod.h"
#include "project/InstallProject.h"
#include "project/InstallScope.h"

namespace vesk {

class ContainerWriter;
struct WrittenBody;

struct BuildOptions {
    std::string projectPath;
    std::string outputDir;        // empty: the project's OutPutPath, relative to the project file
    std::string stubPath;         // the engine stub (Setup.exe without a payload)
    std::string diskSize;         // overrides the project's DiskSize ("1440K"); empty: keep it
    std::string compression;      // overrides the project's CompressType ("lzss", "lzma",
                                  // "lzma-solid")
    unsigned threads = 2;         // solid blocks encoded at once
    std::string identity;         // the SetIdentity; empty: a decimal digest of the content
    std::string uninstallerPath;  // the uninstaller program (--uninstaller); empty: none given
    // The uninstaller that came with the tool (out/stub/ or share/veskinstall/stub/), packed
    // when the record is asked for and none is given; empty or not there: none.
    std::string bundledUninstallerPath;
    std::vector<std::string> defines;  // "NAME=VALUE" for the project's ${NAME} (ProjectDefines)
    // Run through the shell on the finished Setup.exe (its ".part" file, which it changes in
    // place) before any volume is published; "{file}" stands for the quoted path. Empty: none.
    std::string signCommand;
    bool warningsAreErrors = false;  // a warning fails the build
    // A shortcut, finish-page program, font or component whose file the setup does not install
    // is taken as installed by other means (BuildSummary::missingTargets), not as an error.
    bool allowMissingTargets = false;
    bool checkOnly = false;  // read and check everything, write nothing (no stub)
    // The most data-stream bytes a setup may hold (the engine's offsets are signed 32-bit);
    // tests lower it.
    std::int64_t streamLimit = std::numeric_limits<std::int32_t>::max();
    // Seconds since 1970 (UTC), from SOURCE_DATE_EPOCH: when set, every time the setup carries
    // is this one (the file list's times, written as UTC, and the executable's time stamp), so
    // checkouts with different file times give the same bytes.
    std::optional<std::int64_t> sourceDateEpoch;
    // Polled while the files are written; when it becomes true the build stops, cleaning up as
    // after any failure (veskbuild sets it on SIGINT and SIGTERM).
    const std::atomic<bool>* stop = nullptr;
};

// A file the setup gets, as planned.
struct PlannedFile {
    std::string target;
    char kind = 'A';  // the planned kind; an A file that LZSS does not shrink is stored as N
    std::uint64_t size = 0;
    std::string source;  // on the build machine; empty for the language file
};

struct BuildProgress {
    std::size_t entry = 0;  // entries written so far
    std::size_t entryCount = 0;
    std::uint64_t bytesDone = 0;  // file bytes read so far
    std::uint64_t bytesTotal = 0;
};

struct BuildSummary {
    std::vector<std::string> outputFiles;  // Setup.exe first
    std::size_t entries = 0;               // file list entries, the language file included
    std::size_t startupEntries = 0;        // kind K, the language file included
    std::size_t installedFiles = 0;        // the FileQty
    std::size_t rawFiles = 0;              // stored without compression (kind N)
    std::size_t folders = 0;
    std::uint64_t bytesIn = 0;   // every file as read
    std::uint64_t bytesOut = 0;  // their bodies in the data stream
    std::uint64_t softwareSize = 0;
    std::int32_t diskSize = 0;
    BodyMethod method = BodyMethod::Lzss;
    std::uint32_t lzmaDictionary = 0;  // named by every LZMA body (the largest block's); 0 for LZSS
    std::size_t solidBlocks = 0;       // LZMA-SOLID
    int volumes = 0;
    std::int64_t setupSize = 0;
    std::string identity;
    std::vector<std::string> warnings;        // things that build but look wrong
    std::vector<std::string> missingTargets;  // allowed by allowMissingTargets, with their lines
    std::size_t errorCount = 0;               // the errors LastError lists
    std::vector<ExcludedSource> excluded;     // below the source folders, left out
    std::vector<PlannedFile> planned;         // in file-list order
    bool interrupted = false;                 // the build failed because `stop` was set
};

// The build, in order: read and check the project (ProjectReader), complete it to the 21 task
// slots in the packager's page order (ProjectCompleter), collect the files (language file,
// StartupFiles, SourceScanner with FileKindRules, the uninstaller), check everything that can be
// checked before writing, then write the bodies in file-list order through the ContainerWriter and
// finish with the project, whose FileList, FolderList, FileQty, SoftwareSize and DiskSize the build
// fills in. The bodies' method is the project's CompressType or --compression; a set of LZSS
// bodies from a project without CompressType carries none, as before the method could be chosen.
//
// Failures name the file or field at fault, and leave no output behind: the writer works on
// ".part" files until the end, and an output folder the build created is removed again.
class SetupBuilder {
public:
    using ProgressHandler = std::function<void(const BuildProgress&)>;

    void SetProgressHandler(ProgressHandler handler) { progress_ = std::move(handler); }

    // Reads, checks and plans everything before it writes anything; false (see LastError) when
    // any of it fails, with every mistake of the project at once.
    bool Build(const BuildOptions& options);

    const BuildSummary& Summary() const { return summary_; }
    // The project as the setup carries it (after a successful build).
    const InstallProject& Project() const { return project_; }
    // Every error, one per line; the project's in the order of its lines.
    const std::string& LastError() const { return error_; }

    static constexpr const char* kLanguageTarget = "[TempFileDir]\\~VeskInstall-Language.ini";

private:
    struct Planned;

    // The project's InstallScope (task 2401); Machine when it names none.
    InstallScope Scope() const;

    bool Fail(std::string message);
    // Records a mistake of the project, to be reported with the others before anything is written.
    void Report(std::size_t line, std::string message);
    // The same for the field the locator finds ("project.xml:12: " + message).
    void ReportAt(int slot, SubTaskType type, FieldKind kind, const std::string& value,
                  const std::string& message);
    bool ReadProject(const BuildOptions& options);
    bool ChooseMethod(const BuildOptions& options);
    // With warningsAreErrors, fails with the warnings so far as its errors.
    bool AcceptWarnings(const BuildOptions& options);
    std::string TimeOf(const std::string& path) const;
    bool Brand(std::string& stub);
    bool ReadStub(const BuildOptions& options, std::string& stub);
    bool Plan(const BuildOptions& options, std::vector<Planned>& plan);
    bool PlanUninstaller(const BuildOptions& options, std::vector<Planned>& plan);
    bool Write(const BuildOptions& options, const std::string& stub, std::vector<Planned>& plan);
    bool WriteBodies(const BuildOptions& options, ContainerWriter& writer,
                     std::vector<Planned>& plan, SubTask& fileList);
    // LZMA-SOLID: the plan reordered into blocks, raw files between them as bodies of their own.
    bool WriteSolidBodies(const BuildOptions& options, ContainerWriter& writer,
                          std::vector<Planned>& plan, SubTask& fileList, BuildProgress& progress);
    // Puts the entry of a written body into the file list and the summary.
    void AddEntry(Planned& entry, const WrittenBody& body, std::int32_t diskSize,
                  SubTask& fileList);

    ProgressHandler progress_;
    BuildSummary summary_;
    InstallProject project_;
    std::string error_;
    ProblemList problems_;

    // Working state of one build.
    ProjectLocator locator_;
    std::string baseDir_;
    std::vector<Task> tasks_;    // by slot
    std::vector<int> order_;     // the slots in the order the setup carries their tasks
    std::int32_t diskSize_ = 0;  // 0: everything in Setup.exe
    std::string diskSizeOrigin_;
    BodyMethod method_ = BodyMethod::Lzss;
    bool methodWritten_ = false;  // the project carries CompressType
    std::string outputDir_;
    std::optional<std::int64_t> epoch_;
    std::size_t checksumField_ = 0;
    std::vector<std::string> extraFolders_;
    std::vector<std::string> folders_;
};

}  // namespace vesk
