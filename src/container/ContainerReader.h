// Turns a file entry of the setup container into bytes on disk, reading the data stream across
// the setup executable and its volume files.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "container/ByteSink.h"
#include "container/ContainerFormat.h"
#include "container/FileEntry.h"
#include "container/LzssDecoder.h"
#include "container/VolumeFile.h"

namespace vesk {

// Asked when the next volume file is not where it was expected (the disk request).
class VolumePrompt {
public:
    virtual ~VolumePrompt() = default;
    // Returns the path of the volume file to try next, or an empty text when the user gives up.
    // Called again, afresh, after every path that turned out not to be volume `volumeNumber`.
    virtual std::string AskForVolume(const std::string& expectedPath, int volumeNumber) = 0;
};

// One reader per process. It owns the open volume and every buffer it needs, so extracting a
// file allocates nothing. Used by one thread at a time; `setupFinished` may be set by any thread
// and makes a running extraction end with false.
class ContainerReader {
public:
    explicit ContainerReader(std::atomic<bool>& setupFinished);
    ContainerReader(const ContainerReader&) = delete;
    ContainerReader& operator=(const ContainerReader&) = delete;

    // The disk request; without one, a missing volume simply fails the extraction.
    void SetPrompt(VolumePrompt* prompt) { prompt_ = prompt; }

    // Opens the setup executable as volume 1 and reads its tail; its folder becomes the folder
    // where volume files are looked for first. Volume arithmetic is off afterwards.
    bool OpenContainer(const std::string& modulePath);

    // Decodes the project section into a file / into memory, then turns volume arithmetic on.
    bool ReadProject(const std::string& xmlPath);
    bool ReadProjectText(std::string& text);

    // The number of stream bytes each volume carries (the project's DiskSize). Zero or negative
    // means that everything lies in the setup executable.
    void SetVolumeSize(std::int32_t diskSize);
    std::int32_t VolumeSize() const { return volumeSize_; }

    // On: entry offsets are stream positions across volumes. Off: plain offsets in the current
    // volume (only the project section is read that way).
    void SetVolumeArithmetic(bool on) { arithmetic_ = on; }

    // Writes one body to `outputPath` (created or truncated), decoding it unless `raw`.
    bool ExtractEntry(const std::string& outputPath, std::int32_t offset, std::int32_t size, bool raw);
    bool ExtractEntry(const FileEntry& entry) {
        return ExtractEntry(entry.path, entry.offset, entry.size, entry.IsRaw());
    }
    // The same into any sink (memory, a checksum).
    bool ExtractTo(ByteSink& sink, std::int32_t offset, std::int32_t size, bool raw);

    // Gives the file at the entry's expanded path the entry's time; silent when it cannot.
    static void SetEntryTime(const FileEntry& entry);

    // Reads `count` stream bytes from the current position, moving to the next volume as needed.
    bool ReadStream(std::uint8_t* buffer, std::size_t count);

    // Makes the next volume current, asking the prompt while it cannot be found.
    bool ChangeVolume();

    const ContainerTail& Tail() const { return tail_; }
    std::string Identity() const { return IdentityOf(tail_); }
    int CurrentVolume() const { return volumeNumber_; }
    const std::string& VolumeFolder() const { return volumeFolder_; }
    std::int64_t SetupLength() const { return setupLength_; }

    // What went wrong last, for tools that report it; the engine itself stays silent.
    const std::string& LastError() const { return error_; }

private:
    bool Fail(std::string message);
    bool AcceptVolume(const std::string& path, int volumeNumber);
    bool MoveToVolume(int volumeNumber);
    bool LocateBody(std::int32_t offset, std::int32_t size, std::int64_t& inVolume);
    bool ReadBody(ByteSink& sink, std::int64_t inVolume, std::int32_t size, bool raw);
    bool FetchInput();
    bool ExtractLzss(ByteSink& sink, std::int32_t size);
    bool CopyRaw(ByteSink& sink, std::int32_t size);

    static constexpr std::size_t kInputSize = 8192;
    static constexpr std::size_t kCopyBlock = 2048;

    std::atomic<bool>& setupFinished_;
    VolumePrompt* prompt_ = nullptr;
    ContainerTail tail_{};
    std::string setupPath_;
    std::string volumeFolder_;
    std::int64_t setupLength_ = 0;

    VolumeFile volume_;
    int volumeNumber_ = kFirstVolume;
    std::int64_t position_ = 0;     // stream bytes consumed from the current volume
    std::int64_t streamLimit_ = 0;  // bytes of the current volume before its tail
    std::int32_t volumeSize_ = 0;
    bool arithmetic_ = false;

    std::uint8_t input_[kInputSize];
    std::size_t inputFill_ = 0;
    std::int64_t bodyLength_ = 0, bodyConsumed_ = 0;
    bool inputFailed_ = false;
    std::uint8_t copyBlock_[kCopyBlock];
    LzssDecoder decoder_;
    std::string error_;
};

}  // namespace vesk
