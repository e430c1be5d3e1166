// Preparing the session from the payload.
#include "app/SetupPreparation.h"

#include "app/StartupChoices.h"
#include "container/FileEntry.h"
#include "project/TaskSlots.h"

namespace vesk {

Status PrepareSetup(SetupSession& session) {
    session.start = ComputeStartValues(session.paths);
    const std::string systemTemp =
        session.Resolve(PathVariableToken(PathVariableKind::TempFileDir));
    Status made = session.runFolder.Create(systemTemp, session.start.runFolderPrefix);
    if (!made) return made;
    session.paths.SetTempFolder(session.runFolder.Path());

    ContainerReader& reader = session.reader;
    InstallProject& project = session.project;
    Status opened = reader.OpenContainer(session.start.setupPath);
    if (!opened) return opened;
    std::string projectBytes;
    Status read = reader.ReadProjectText(projectBytes);
    if (!read) return read;
    if (!project.LoadFromBytes(projectBytes)) return Status::Failure("its project cannot be read");
    session.paths.SetScope(ReadInstallScope(project));

    const std::string properties = TaskIdForSlot(kSlotProjectProperties);
    const std::string extract = TaskIdForSlot(kSlotExtractFiles);
    reader.SetVolumeSize(
        LeadingInt(project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::DiskSize)));
    Status method = reader.SetBodyMethod(
        project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::CompressType));
    if (!method) return method;
    project.GetValues(extract, SubTaskType::FileList, FieldKind::File, session.files);
    project.GetValues(extract, SubTaskType::FolderList, FieldKind::Folder, session.folders);
    if (session.files.Empty()) return Status::Failure("the project lists no files");
    // A file list whose bodies overlap could unpack one body many times over: refused, as damage,
    // before anything of it is written.
    Status listed = reader.CheckFileList(session.files.Lines());
    if (!listed) return listed;

    // Entry 0 is the language file: a compressed body whatever its letter.
    const FileEntry language = ParseFileEntry(session.files.At(0));
    StringSink languageBytes;
    Status extracted =
        reader.ExtractTo(languageBytes, language.offset, language.size, false, kMaxLanguageFile);
    if (!extracted) return extracted;
    if (!session.texts.LoadFromBytes(languageBytes.bytes)) {
        return Status::Failure("the language file cannot be read");
    }
    if (!StartupRunStaysInside(SessionStartupRun(session), session.runFolder)) {
        return Status::Failure("a start-up file would be unpacked outside the run's folder");
    }

    const std::string version =
        project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::ProductVersion);
    session.texts.SetText(TextKey::ProjectName, project.ProjectName() + " " + version);
    return Status();
}

std::optional<InstallScope> ReadSetupScope(SetupSession& session) {
    std::string projectBytes;
    InstallProject project;
    if (!session.reader.OpenContainer(session.System().ModuleFileName()) ||
        !session.reader.ReadProjectText(projectBytes) || !project.LoadFromBytes(projectBytes)) {
        return std::nullopt;
    }
    return ReadInstallScope(project);
}

std::vector<StartupFile> SessionStartupRun(const SetupSession& session) {
    return StartupRun(session.files,
                      [&session](const std::string& raw) { return session.TempNameFor(raw); });
}

void ProposeFolders(SetupSession& session) {
    session.programFolder = ProposedProgramFolder(session.project);
    // The installed version's folder: the install takes it over.
    if (session.installed && !session.installed->installFolder.empty()) {
        session.paths.SetInstallDir(session.installed->installFolder);
        return;
    }
    session.paths.SetInstallDir(
        ProposedInstallFolder(session.project, session.paths, session.SystemRegistry()));
}

}  // namespace vesk
