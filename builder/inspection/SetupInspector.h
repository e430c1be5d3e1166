// Opens a finished setup for the tools: its tail, its project text and its file entries.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "container/ContainerReader.h"
#include "container/FileEntry.h"
#include "project/InstallProject.h"

namespace vesk {

// Reads a setup executable (and its volume files beside it) the way the engine does, without
// expanding path tokens: entry paths stay as the project writes them.
class SetupInspector {
public:
    SetupInspector();

    // Opens the setup and reads its project section, verifying what the engine verifies (the
    // checksums of volume 1 and the project section, the file list's layout, a body method it
    // knows); the error says
    // what is wrong otherwise, starting with DamagedSetupMessage for a damaged set.
    bool Open(const std::string& setupPath);

    const ContainerReader& Reader() const { return *reader_; }
    const std::string& ProjectText() const { return projectText_; }
    const InstallProject& Project() const { return project_; }
    std::int32_t DiskSize() const { return diskSize_; }
    const std::vector<FileEntry>& Entries() const { return entries_; }
    const std::vector<std::string>& Folders() const { return folders_; }

    // The volume that holds the first byte of an entry's body.
    // The volume where the entry's body begins (a solid file's: its block's).
    int VolumeOf(const FileEntry& entry) const { return VolumeOfPosition(StreamStart(entry)); }
    // The stream positions of the entry's body's first and last bytes (a solid file's: its
    // block's).
    std::int64_t StreamStart(const FileEntry& entry) const;
    std::int64_t StreamLast(const FileEntry& entry) const;
    // The volume that holds a stream position.
    int VolumeOfPosition(std::int64_t position) const;

    // Opens volume `volumeNumber` of the set beside the executable, verifying it when the set
    // carries checksums; false (with the error) when it is missing, foreign or damaged.
    bool CheckVolume(int volumeNumber);

    // Writes one body into memory; false (with the error) when the set is damaged or incomplete.
    bool ReadBody(const FileEntry& entry, std::string& bytes);
    bool ExtractBody(const FileEntry& entry, ByteSink& sink);

    const std::string& LastError() const { return error_; }

private:
    bool Fail(std::string message);
    bool FailReading(const FileEntry& entry);
    // Fills the model, the entries and the folders; gives the entries' texts.
    std::vector<std::string> ReadProjectModel();

    std::atomic<bool> stop_{false};
    std::unique_ptr<ContainerReader> reader_;
    std::string projectText_;
    InstallProject project_;
    std::int32_t diskSize_ = 0;
    std::vector<FileEntry> entries_;
    std::vector<std::string> folders_;
    std::string error_;
};

// The tail of any volume file of a set (Setup.exe or SetupN.Cab) as it is on disk, its volume
// number included; nullopt when the file cannot be read or is shorter than a tail.
std::optional<ContainerTail> ReadVolumeTail(const std::string& path);

// Where an entry's path lands inside an extraction folder: a leading token such as
// "[InstallDir]" becomes a folder of that name, "C:" becomes "C", separators become '/'.
// Empty when the path would leave the folder ("..", an empty path).
std::optional<std::string> ExtractionPathFor(const std::string& rawPath);

}  // namespace vesk
