// Lays out a setup container: the stub image, the bodies in file-list order across volumes of
// DiskSize stream bytes, the project section and a tail in every volume (see ContainerFormat.h).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "container/ContainerFormat.h"
#include "container/Sha256.h"

namespace vesk {

// Writes "Setup.exe" (any name) and "Setup2.Cab", "Setup3.Cab", ... beside it. Everything is
// written under ".part" names and put into place by Finish, all volumes together: the files of an
// earlier set are first moved aside, and brought back if any volume cannot be put into place, so
// the folder holds the whole old set or the whole new one. A failed or abandoned build leaves no
// ".part" file behind. Every set gets the checksum block of ContainerFormat.h.
class ContainerWriter {
public:
    ContainerWriter() = default;
    ~ContainerWriter();
    ContainerWriter(const ContainerWriter&) = delete;
    ContainerWriter& operator=(const ContainerWriter&) = delete;

    // Starts the setup executable at `setupPath` with the stub's bytes as the first stream bytes.
    // `diskSize` is the number of stream bytes each volume carries; it must exceed the stub.
    bool Begin(const std::string& setupPath, const std::string& stubImage, std::int32_t diskSize);

    // Appends one body (already LZSS-encoded, or raw) and gives its StreamPosition.
    bool AddBody(const std::uint8_t* data, std::size_t size, std::int32_t& offset);
    bool AddBody(const std::string& bytes, std::int32_t& offset) {
        return AddBody(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), offset);
    }

    // A body written in pieces: Mark where it starts (its StreamPosition is the mark's stream),
    // AppendBody its bytes, and RewindTo the mark to take them back again (the builder stores a
    // file raw when its encoding turns out larger).
    struct Mark {
        std::int64_t stream = 0;
        std::size_t volumes = 0;
        std::int64_t inCurrent = 0;
        std::int64_t volumeOneStream = 0;
        std::uint64_t digest = 0;
        Sha256 sha256;  // of the current volume
    };
    Mark BodyStart() const;
    bool AppendBody(const std::uint8_t* data, std::size_t size);
    bool RewindTo(const Mark& mark);

    // Records that the body at `offset` decodes to `length` bytes: the checksum block lists every
    // non-empty body with its length, and the engine refuses a body that decodes to more or less.
    void RecordBody(std::int32_t offset, std::uint64_t length);

    // The block index of a solid set (SolidBlocks.h), written by Finish behind the project section.
    void SetBlockIndex(std::vector<std::uint8_t> index) { blockIndex_ = std::move(index); }

    // Where the stub's PE CheckSum field lies: Finish then fills it with the checksum of the
    // whole setup executable, payload included. 0 (the default): leave the stub's field.
    void SetChecksumField(std::size_t offset) { checksumField_ = offset; }

    // A decimal identity derived from every stream byte so far and the project text.
    std::string ContentIdentity(const std::string& projectXml) const;

    // Signs the finished setup executable in place (its ".part" file): called by Finish after
    // everything is written and before anything is put into place. False, with the reason,
    // fails the build. The signed file must still read as the same set (the tail right before
    // the appended certificate table, every checksum unchanged), which Finish checks.
    using Signer = std::function<bool(const std::string& path, std::string& why)>;
    void SetSigner(Signer signer) { signer_ = std::move(signer); }

    // Compresses the project into the executable, writes every tail with `identity` (at most 59
    // characters) and moves the files into place.
    bool Finish(const std::string& projectXml, const std::string& identity);

    // Removes everything written so far (also done by the destructor when Finish did not run).
    void Abandon();

    std::int64_t StreamLength() const { return streamLength_; }
    // The length Finish gives the setup executable for a project section of `sectionSize`
    // bytes: the stream bytes of volume 1, the section, the checksum block, padding, the tail.
    std::int64_t FinishedSetupLength(std::size_t sectionSize) const;
    int VolumeCount() const { return int(volumes_.size()); }
    // Final paths of the files written, volume 1 first.
    std::vector<std::string> VolumePaths() const;
    const std::string& LastError() const { return error_; }

private:
    struct Volume {
        std::string finalPath, partialPath;
        Sha256 sha256;  // of its stream bytes (volume 1: with the image fields as zeros)
        std::int64_t streamBytes = 0;
    };

    bool Fail(std::string message);
    bool WriteStream(const std::uint8_t* data, std::size_t size);
    void ChecksumStream(const std::uint8_t* data, std::size_t size);
    bool AppendSectionAndChecksums(std::vector<std::uint8_t> section);
    bool SignAndCheck();
    bool OpenNextVolume();
    bool CloseCurrent();
    bool AppendTail(const std::string& path, int volumeNumber, std::uint32_t projectOffset,
                    std::uint32_t projectSize, const std::string& identity);
    bool PutIntoPlace();
    bool WriteChecksum(const std::string& path);

    std::string setupPath_;
    std::int32_t diskSize_ = 0;
    std::vector<Volume> volumes_;
    std::FILE* current_ = nullptr;
    std::int64_t inCurrent_ = 0;     // stream bytes in the current volume
    std::int64_t streamLength_ = 0;  // stream bytes in all volumes
    std::int64_t volumeOneStream_ = 0;
    std::uint64_t digest_ = 14695981039346656037ull;  // FNV-1a over the stream
    std::size_t checksumField_ = 0;
    ImageSigningFields imageFields_;  // of the stub, at the start of volume 1
    std::vector<RecordedBody> bodies_;
    std::vector<std::uint8_t> blockIndex_;
    Signer signer_;
    bool finished_ = false;
    std::string error_;
};

}  // namespace vesk
