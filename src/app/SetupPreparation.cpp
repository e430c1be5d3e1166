// Preparing the session from the payload.
#include "app/SetupPreparation.h"

#include "app/StartupChoices.h"
#include "container/FileEntry.h"
#include "project/TaskSlots.h"

namespace vesk {

bool PrepareSetup(SetupSession& session) {
    session.start = ComputeStartValues(session.paths);
    const std::string systemTemp =
        session.Resolve(PathVariableToken(PathVariableKind::TempFileDir));
    if (!session.runFolder.Create(systemTemp, session.start.runFolderPrefix)) return false;
    session.paths.SetTempFolder(session.runFolder.Path());

    ContainerReader& reader = session.reader;
    InstallProject& project = session.project;
    std::string projectBytes;
    if (!reader.OpenContainer(session.start.setupPath) || !reader.ReadProjectText(projectBytes) ||
        !project.LoadFromBytes(projectBytes)) {
        return false;
    }

    const std::string properties = TaskIdForSlot(kSlotProjectProperties);
    const std::string extract = TaskIdForSlot(kSlotExtractFiles);
    reader.SetVolumeSize(
        LeadingInt(project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::DiskSize)));
    if (!reader.SetBodyMethod(
            project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::CompressType))) {
        return false;
    }
    project.GetValues(extract, SubTaskType::FileList, FieldKind::File, session.files);
    project.GetValues(extract, SubTaskType::FolderList, FieldKind::Folder, session.folders);
    if (session.files.Empty()) return false;
    // A file list whose bodies overlap could unpack one body many times over: refused, as damage,
    // before anything of it is written.
    if (!reader.CheckFileList(session.files.Lines())) return false;

    // Entry 0 is the language file: a compressed body whatever its letter.
    const FileEntry language = ParseFileEntry(session.files.At(0));
    StringSink languageBytes;
    if (!reader.ExtractTo(languageBytes, language.offset, language.size, false, kMaxLanguageFile) ||
        !session.texts.LoadFromBytes(languageBytes.bytes)) {
        return false;
    }
    if (!StartupRunStaysInside(SessionStartupRun(session), session.runFolder)) return false;

    const std::string version =
        project.GetValue(properties, SubTaskType::GetAllVar, FieldKind::ProductVersion);
    session.texts.SetText(TextKey::ProjectName, project.ProjectName() + " " + version);
    return true;
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
