// Start-up of the engine: the container side of preparing a setup, and the final clean-up.
#include "app/SetupApp.h"

#include <windows.h>

#include <cstdio>

#include "project/TaskSlots.h"

namespace vesk {
namespace {

std::string ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, &path[0], DWORD(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// Year, then month, day, hour, minute and second with two digits, then the milliseconds.
std::string StampNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%u%02u%02u%02u%02u%02u%u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

}  // namespace

SetupApp::SetupApp() : reader_(std::make_unique<ContainerReader>(state_.setupFinished)) {}

SetupApp::~SetupApp() { FinalCleanUp(); }

std::string SetupApp::TempFolder() const {
    char buffer[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof buffer, buffer);
    std::string folder(buffer, length > 0 && length < sizeof buffer ? length : 0);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

bool SetupApp::PrepareSetup() {
    startStamp_ = StampNow();
    const std::string temp = TempFolder();
    const std::string projectPath = temp + "\\VeskInstall" + startStamp_ + ".xml";
    state_.tempFiles.push_back(projectPath);

    if (!reader_->OpenContainer(ModuleFileName())) return false;
    if (!reader_->ReadProject(projectPath) || !project_.Load(projectPath)) return false;

    const std::string properties = TaskIdForSlot(kSlotProjectProperties);
    const std::string extract = TaskIdForSlot(kSlotExtractFiles);
    reader_->SetVolumeSize(
        LeadingInt(project_.GetValue(properties, SubTaskType::GetAllVar, FieldKind::DiskSize)));
    TextLineList files = project_.GetValues(extract, SubTaskType::FileList, FieldKind::File);
    if (files.Empty()) return false;

    // Entry 0 is the language file, always an LZSS body, unpacked under a stamped name.
    FileEntry language = ParseFileEntry(files.At(0));
    std::string name = language.rawPath.substr(language.rawPath.find_last_of('\\') + 1);
    std::string languagePath = temp + "\\" + startStamp_ + name;
    state_.tempFiles.push_back(languagePath);
    return reader_->ExtractEntry(languagePath, language.offset, language.size, false);
}

void SetupApp::FinalCleanUp() {
    state_.setupFinished = true;
    for (const std::string& path : state_.tempFiles) DeleteFileA(path.c_str());
    state_.tempFiles.clear();
}

int SetupApp::Run() {
    bool prepared = PrepareSetup();
    FinalCleanUp();
    return prepared ? 0 : 1;
}

}  // namespace vesk
