// Turns a file entry of the setup container into bytes on disk, reading the data stream across
// the setup executable and its volume files.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "codec/BodyDecoders.h"
#include "codec/BodyMethod.h"
#include "codec/ByteSink.h"
#include "container/ContainerFormat.h"
#include "container/Crc32.h"
#include "container/FileEntry.h"
#include "container/SolidBlocks.h"
#include "container/VolumeFile.h"
#include "platform/Status.h"

namespace vesk {

class LzmaBodyDecoder;

// Asked when the next volume file is not where it was expected (the disk request).
class VolumePrompt {
public:
    virtual ~VolumePrompt() = default;
    // Returns the path of the volume file to try next, or an empty text when the user gives up.
    // Called again, afresh, after every path that turned out not to be volume `volumeNumber`.
    virtual std::string AskForVolume(const std::string& expectedPath, int volumeNumber) = 0;
};

// The tail of a volume file: found before the certificate table of a signed setup, else at the
// end. False when the file is too short to hold one; the file's position is then undefined.
struct LocatedTail {
    ContainerTail tail{};
    ImageSigningFields signing;
    std::int64_t tailEnd = 0;  // the byte after the tail
};
bool ReadContainerTail(VolumeFile& file, LocatedTail& located);

// "the setup is damaged: <volume>", the one message for a damaged or mismatched set.
std::string DamagedSetupMessage(const std::string& volumePath);

// One reader per process. It keeps the volumes, the bounds and the checksums of a set; the
// bodies' decoders (codec/) turn what it reads into bytes. It owns the open volume and every
// buffer it needs, so extracting a file allocates nothing (but a method's decoder at its first
// body, with an LZMA set's dictionary, kept for the rest).
// Used by one thread at a time; `setupFinished` may be set by any thread and makes a running
// extraction end with false.
class ContainerReader {
public:
    explicit ContainerReader(std::atomic<bool>& setupFinished);
    ~ContainerReader();
    ContainerReader(const ContainerReader&) = delete;
    ContainerReader& operator=(const ContainerReader&) = delete;

    // The disk request; without one, a missing volume simply fails the extraction.
    void SetPrompt(VolumePrompt* prompt) { prompt_ = prompt; }

    // Told how far a checksum pass (of a volume or the project section) has come: the bytes
    // checked and the pass's total, after every kCheckProgressStep bytes and at its end. Called
    // on the thread that reads; empty for none.
    using CheckProgress = std::function<void(std::int64_t done, std::int64_t total)>;
    static constexpr std::int64_t kCheckProgressStep = std::int64_t(1) << 20;
    void SetCheckProgress(CheckProgress progress) { checkProgress_ = std::move(progress); }

    // Opens the setup executable as volume 1 and reads its tail; its folder becomes the folder
    // where volume files are looked for first. Volume arithmetic is off afterwards. When the set
    // carries a checksum block, volume 1 and the project section are verified here, before
    // anything is unpacked; a mismatch makes the set damaged (DamagedVolume).
    Status OpenContainer(const std::string& modulePath) { return Outcome(Open(modulePath)); }

    // Decodes the project section into a file / into memory, then turns volume arithmetic on.
    // A section that decodes to more than kMaxProjectText bytes is refused as damage.
    Status ReadProject(const std::string& xmlPath);
    Status ReadProjectText(std::string& text) { return Outcome(ReadProjectBytes(text)); }

    // Checks the file list before anything of it is unpacked: no two non-empty bodies share a
    // stream byte, and with a checksum block every body lies inside the set's data stream.
    // Otherwise the set is damaged. `entries` are the FileEntry texts in file-list order.
    Status CheckFileList(const std::vector<std::string>& entries) {
        return Outcome(CheckEntries(entries));
    }

    // The number of stream bytes each volume carries (the project's DiskSize). Zero or negative
    // means that everything lies in the setup executable.
    void SetVolumeSize(std::int32_t diskSize);
    std::int32_t VolumeSize() const { return volumeSize_; }

    // The method of the set's file bodies: the project's CompressType of task 2401 (empty when
    // the project has none). A value that names no method this engine knows makes the set
    // damaged, and false: its bodies are never decoded with a method they were not written in.
    // LZSS until set; the project section is LZSS whatever the method.
    Status SetBodyMethod(const std::string& compressType) {
        return Outcome(ChooseMethod(compressType));
    }
    BodyMethod Method() const { return method_; }

    // On: entry offsets are stream positions across volumes. Off: plain offsets in the current
    // volume (only the project section is read that way).
    void SetVolumeArithmetic(bool on) { arithmetic_ = on; }

    // Writes one body to `outputPath` (created or truncated), decoding it with the set's method
    // unless `raw`. A body that yields more than `limit` bytes, or other than the number of
    // bytes the set records for it, is refused as damage, with no byte past the smaller bound
    // written; so is an LZMA body that its decoder finds damaged. Damage in a body also sets
    // `setupFinished`, as a volume that cannot be had does.
    Status ExtractEntry(const std::string& outputPath, std::int32_t offset, std::int32_t size,
                        bool raw, std::uint64_t limit = kUnbounded) {
        return Outcome(ExtractFile(outputPath, offset, size, raw, limit));
    }
    Status ExtractEntry(const FileEntry& entry) {
        return ExtractEntry(entry.path, entry.offset, entry.size, entry.IsRaw());
    }
    // The same into any sink (memory, a checksum).
    Status ExtractTo(ByteSink& sink, std::int32_t offset, std::int32_t size, bool raw,
                     std::uint64_t limit = kUnbounded) {
        return Outcome(ExtractInto(sink, offset, size, raw, limit));
    }

    // Gives the file at the entry's expanded path the entry's time; silent when it cannot.
    static void SetEntryTime(const FileEntry& entry);

    // Reads `count` stream bytes from the current position, moving to the next volume as needed.
    bool ReadStream(std::uint8_t* buffer, std::size_t count);

    // Makes volume `volumeNumber` current (verifying it when the set is checked, every time it
    // is opened), moving back to the executable or on through the volumes between as needed. For
    // tools that read out of the engine's order; the engine only ever moves on to the next volume.
    bool OpenVolume(int volumeNumber) { return MoveToVolume(volumeNumber); }

    // Makes the next volume current, asking the prompt while it cannot be found. A volume that
    // is found but fails its checksum ends the asking: the set is damaged.
    bool ChangeVolume();

    const ContainerTail& Tail() const { return tail_; }
    std::string Identity() const { return IdentityOf(tail_); }
    int CurrentVolume() const { return volumeNumber_; }
    const std::string& VolumeFolder() const { return volumeFolder_; }
    std::int64_t SetupLength() const { return setupLength_; }
    // The size of the certificate table a signing tool appended to the executable; 0 unsigned.
    std::int64_t CertificateSize() const { return setupLength_ - tailEnd_; }
    // Whether the set carries a checksum block (and so every volume is verified when opened).
    bool Checked() const { return checked_; }
    const ChecksumBlock& Checksums() const { return sums_; }
    // The set's block index; empty unless its bodies are solid.
    const BlockIndex& Blocks() const { return blocks_; }

    // The path of the volume found damaged (or the executable, for a damaged project or file
    // list); empty while none is. Once set, it stays until the next OpenContainer.
    const std::string& DamagedVolume() const { return damaged_; }

    // The reason of the last failure, the one the failed call's Status carried; for the stream
    // calls above that answer with a bool.
    const std::string& LastError() const { return error_; }

private:
    // The Status of a call that succeeded or not, its reason the failure just recorded.
    Status Outcome(bool ok) const;
    // What the calls of the same names do; false with the reason in error_.
    bool Open(const std::string& modulePath);
    bool ReadProjectBytes(std::string& text);
    bool CheckEntries(const std::vector<std::string>& entries);
    bool ChooseMethod(const std::string& compressType);
    bool ExtractFile(const std::string& outputPath, std::int32_t offset, std::int32_t size,
                     bool raw, std::uint64_t limit);
    bool ExtractInto(ByteSink& sink, std::int32_t offset, std::int32_t size, bool raw,
                     std::uint64_t limit);
    // Makes the message made of `parts` LastError; false, for `return Fail({...})`.
    bool Fail(std::initializer_list<std::string_view> parts);
    // Marks the set damaged at `volumePath`; `why` (its parts) only goes into LastError.
    bool Damaged(const std::string& volumePath, std::initializer_list<std::string_view> why);
    // The checksum of the set's kind over some bytes.
    struct Digest {
        Crc32 crc32;
        Sha256 sha256;
        // Spends the SHA-256.
        bool Matches(ChecksumKind kind, std::uint32_t crc, const Sha256Digest& digest);
    };
    bool ReadChecksumBlock();
    // Reads the block index that may follow the project section at `at`; moves `at` past it.
    bool ReadBlockIndex(std::int64_t& at);
    bool VerifyVolume(const ContainerTail& tail, int volumeNumber);
    // Feeds `count` bytes of the current volume from `from` to `digest`; the image fields of
    // volume 1 count as zeros when `imageFields` is set.
    bool DigestOf(std::int64_t from, std::int64_t count, bool imageFields, Digest& digest);
    // The number of bytes the body of the data stream at `offset` must decode to: kUnbounded in
    // a set that records none. False (damaged) when the set records bodies but not this one, or
    // a raw one with another length.
    bool RecordedLength(std::int32_t offset, std::int32_t size, bool raw, std::uint64_t& length);
    // The outcome of a body read through `bounded`: damage when it gave more than `limit` or
    // than `recorded` bytes, or (read whole) fewer than `recorded`.
    bool EndBody(const BoundedSink& bounded, bool ok, std::uint64_t limit, std::uint64_t recorded);
    // Stops the install (setupFinished) for damage found in a body; false.
    bool StopDamaged();
    bool AcceptVolume(const std::string& path, int volumeNumber);
    bool MoveToVolume(int volumeNumber);
    bool LocateBody(std::int32_t offset, std::int32_t size, std::int64_t& inVolume);
    bool ReadBody(ByteSink& sink, std::int64_t inVolume, std::int32_t size, bool raw);
    bool FetchInput();
    // Decodes a body of `size` stored bytes with `decoder`.
    bool Decode(BodyDecoder& decoder, ByteSink& sink, std::int32_t size);
    bool CopyRaw(ByteSink& sink, std::int32_t size);

    // A file of a solid set: `size` bytes at `position` among the blocks' decoded bytes. The
    // block is decoded once from its start as its files are asked for in order; a file behind
    // the decoded ones, or in another block, starts its block again. Ends the block (its CRC,
    // its body used up exactly) with its last byte. With `out`, `sink` is that file, created at
    // `outputPath` once the block is found.
    bool ExtractSolid(ByteSink& sink, std::int32_t position, std::int32_t size, std::uint64_t limit,
                      class OutputFile* out = nullptr,
                      const std::string& outputPath = std::string());
    // Makes the block of the file at `position` current, decoded up to the file's first byte.
    bool EnterBlock(std::uint32_t position, std::uint32_t size);
    bool StartBlock(std::size_t block);
    // Decodes the current block's bytes up to `end` (counted from the block's start) into
    // `sink`, which may be null for bytes passed over.
    bool PumpBlock(ByteSink* sink, std::uint64_t end);
    bool FinishBlock();
    bool BlockDamaged(std::initializer_list<std::string_view> why);
    bool IsSolidFile(std::int32_t size, bool raw) const {
        return method_ == BodyMethod::LzmaSolid && arithmetic_ && !raw && size > 0;
    }

    static constexpr std::size_t kInputSize = 8192;
    static constexpr std::size_t kCopyBlock = 65536;  // reads go past the volume's buffer

    std::atomic<bool>& setupFinished_;
    VolumePrompt* prompt_ = nullptr;
    CheckProgress checkProgress_;
    ContainerTail tail_{};
    std::string setupPath_;
    std::string volumeFolder_;
    std::int64_t setupLength_ = 0;
    std::int64_t tailEnd_ = 0;  // of the executable
    ImageSigningFields signing_;
    bool checked_ = false;
    ChecksumBlock sums_;
    std::string damaged_;

    VolumeFile volume_;
    int volumeNumber_ = kFirstVolume;
    std::int64_t position_ = 0;     // stream bytes consumed from the current volume
    std::int64_t streamLimit_ = 0;  // bytes of the current volume before its tail
    std::int32_t volumeSize_ = 0;
    bool arithmetic_ = false;
    BodyMethod method_ = BodyMethod::Lzss;

    std::uint8_t input_[kInputSize];
    std::size_t inputFill_ = 0;
    std::int64_t bodyLength_ = 0, bodyConsumed_ = 0;
    bool inputFailed_ = false;
    std::uint8_t copyBlock_[kCopyBlock];
    // Verifying a volume happens in the middle of a body's ReadStream: its own block.
    std::uint8_t checkBlock_[kInputSize];
    BodyDecoders decoders_;
    std::string error_;

    // Solid sets: the index, and the block being decoded (-1: none).
    BlockIndex blocks_;
    std::int64_t indexSize_ = 0;  // bytes of the index behind the project section
    std::unique_ptr<LzmaBodyDecoder> solid_;
    long block_ = -1;
    Crc32 blockCrc_;
    std::size_t inputAt_ = 0;  // of input_'s inputFill_ bytes, those the decoder has taken
};

}  // namespace vesk
