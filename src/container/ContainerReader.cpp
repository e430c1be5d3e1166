// Extraction of container bodies: volume arithmetic, volume changes, bounds and checksums; the
// bodies' decoders are the codecs'.
#include "container/ContainerReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "codec/lzma/LzmaBodyDecoder.h"
#include "container/Crc32.h"
#include "container/OutputFile.h"
#include "platform/Concat.h"
#include "platform/FileTimes.h"

namespace vesk {
namespace {

// The folder part of a path, up to and including its last separator.
std::string FolderWithSeparator(const std::string& path) {
    std::size_t at = path.find_last_of("\\/");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

// A body's place in the data stream, for the layout check.
struct BodySpan {
    std::int64_t offset, end;
    std::size_t index;
};

}  // namespace

bool ReadContainerTail(VolumeFile& file, LocatedTail& located) {
    std::uint8_t head[kImageHeaderProbe];
    const std::size_t probe = std::size_t(std::min<std::int64_t>(file.Length(), sizeof head));
    if (!file.Seek(0) || !file.Read(head, probe)) return false;
    located.signing = FindImageSigningFields(head, probe);
    located.tailEnd = TailEndOf(located.signing, file.Length());
    std::uint8_t bytes[kTailSize];
    if (located.tailEnd < std::int64_t(kTailSize) ||
        !file.Seek(located.tailEnd - std::int64_t(kTailSize)) || !file.Read(bytes, kTailSize)) {
        return false;
    }
    located.tail = DecodeTail(bytes);
    return true;
}

std::string DamagedSetupMessage(const std::string& volumePath) {
    return "the setup is damaged: " + volumePath;
}

ContainerReader::ContainerReader(std::atomic<bool>& setupFinished)
    : setupFinished_(setupFinished) {}

ContainerReader::~ContainerReader() = default;

Status ContainerReader::Outcome(bool ok) const {
    return ok ? Status() : Status::Failure(error_);
}

bool ContainerReader::Fail(std::initializer_list<std::string_view> parts) {
    error_ = Concat(parts);
    return false;
}

bool ContainerReader::Damaged(const std::string& volumePath,
                              std::initializer_list<std::string_view> why) {
    damaged_ = volumePath;
    error_ = DamagedSetupMessage(volumePath);
    error_ += " (";
    AppendPieces(error_, why);
    error_ += ')';
    return false;
}

bool ContainerReader::Open(const std::string& modulePath) {
    damaged_.clear();
    checked_ = false;
    sums_ = ChecksumBlock();
    blocks_ = BlockIndex();
    indexSize_ = 0;
    block_ = -1;
    if (!volume_.Open(modulePath)) return Fail({"cannot open ", modulePath});
    LocatedTail located;
    if (!ReadContainerTail(volume_, located) || !volume_.Seek(0)) {
        volume_.Close();
        return Fail({modulePath, " is too short to hold a setup container"});
    }
    tail_ = located.tail;
    signing_ = located.signing;
    setupPath_ = modulePath;
    setupLength_ = volume_.Length();
    tailEnd_ = located.tailEnd;
    volumeFolder_ = FolderWithSeparator(modulePath);
    volumeNumber_ = kFirstVolume;
    tail_.volumeNumber = kFirstVolume;  // the executable is volume 1, whatever its tail says
    streamLimit_ = tailEnd_ - std::int64_t(kTailSize);
    position_ = 0;
    arithmetic_ = false;
    method_ = BodyMethod::Lzss;
    return ReadChecksumBlock();
}

bool ContainerReader::ReadChecksumBlock() {
    const std::int64_t projectEnd = std::int64_t(tail_.projectOffset) + tail_.projectSize;
    // A tail that points nowhere is no container at all; ReadProjectText says so.
    if (tail_.projectSize == 0 || projectEnd > streamLimit_) return true;
    std::int64_t gapStart = projectEnd;
    if (!ReadBlockIndex(gapStart)) return false;
    const std::int64_t gapSize = streamLimit_ - gapStart;
    std::uint8_t head[kBlockHeaderProbe] = {};
    const std::size_t probe = std::size_t(std::min<std::int64_t>(gapSize, sizeof head));
    if (!volume_.Seek(gapStart) || !volume_.Read(head, probe)) {
        return Fail({"cannot read ", setupPath_});
    }
    // Only as much of the gap is taken in as the block it starts with claims (and its padding).
    std::vector<std::uint8_t> gap(head, head + probe);
    const std::size_t claimed = probe == sizeof head ? ClaimedBlockSize(head) : 0;
    if (claimed != 0 && gapSize < std::int64_t(claimed + kVolumeAlignment)) {
        gap.resize(std::size_t(gapSize));
        if (!volume_.Read(gap.data() + probe, gap.size() - probe)) {
            return Fail({"cannot read ", setupPath_});
        }
    }
    switch (DecodeChecksumGap(gap.data(), gap.size(), sums_)) {
        case ChecksumGap::Absent:
            return volume_.Seek(0) ? true : Fail({"cannot read ", setupPath_});
        case ChecksumGap::Damaged:
            return Damaged(setupPath_, {"its checksum block is damaged"});
        case ChecksumGap::Present:
            break;
    }
    checked_ = true;
    Digest project;
    // The block index behind the project section counts as part of it.
    if (!DigestOf(tail_.projectOffset, tail_.projectSize + indexSize_, false, project))
        return false;
    if (!project.Matches(sums_.kind, sums_.projectCrc, sums_.projectSha256))
        return Damaged(setupPath_, {"the project section's checksum differs"});
    if (!VerifyVolume(tail_, kFirstVolume)) return false;
    return volume_.Seek(0) ? true : Fail({"cannot read ", setupPath_});
}

bool ContainerReader::ReadBlockIndex(std::int64_t& at) {
    std::uint8_t head[kBlockIndexHead] = {};
    const std::int64_t room = streamLimit_ - at;
    if (room < std::int64_t(sizeof head)) return true;
    if (!volume_.Seek(at) || !volume_.Read(head, sizeof head)) {
        return Fail({"cannot read ", setupPath_});
    }
    if (std::memcmp(head, kBlockIndexMagic, sizeof kBlockIndexMagic) != 0) return true;
    const std::size_t size = ClaimedBlockIndexSize(head, sizeof head);
    if (size == 0 || std::int64_t(size) > room) {
        return Damaged(setupPath_, {"its block index is damaged"});
    }
    std::vector<std::uint8_t> bytes(head, head + sizeof head);
    bytes.resize(size);
    if (!volume_.Read(bytes.data() + sizeof head, size - sizeof head)) {
        return Fail({"cannot read ", setupPath_});
    }
    std::string why;
    if (!DecodeBlockIndex(bytes.data(), size, blocks_, why)) return Damaged(setupPath_, {why});
    indexSize_ = std::int64_t(size);
    at += indexSize_;
    return true;
}

bool ContainerReader::VerifyVolume(const ContainerTail& tail, int volumeNumber) {
    const std::string& path = volume_.Path();
    if (std::size_t(volumeNumber) > sums_.volumes.size()) {
        return Damaged(path, {"the set has ", std::to_string(sums_.volumes.size()), " volumes"});
    }
    if (tail.volumeNumber != std::uint32_t(volumeNumber)) {
        return Damaged(path, {"it is volume ", std::to_string(tail.volumeNumber), ", not volume ",
                              std::to_string(volumeNumber)});
    }
    const VolumeChecksum& expected = sums_.volumes[std::size_t(volumeNumber) - 1];
    // Volume 1's stream ends where the project section begins; a later volume's at its tail.
    const std::int64_t streamEnd =
        volumeNumber == kFirstVolume ? std::int64_t(tail_.projectOffset) : streamLimit_;
    if (std::int64_t(expected.streamBytes) != streamEnd) {
        return Damaged(path, {"it holds ", std::to_string(streamEnd), " stream bytes, not ",
                              std::to_string(expected.streamBytes)});
    }
    Digest digest;
    if (!DigestOf(0, streamEnd, volumeNumber == kFirstVolume, digest)) return false;
    if (!digest.Matches(sums_.kind, expected.crc, expected.sha256)) {
        return Damaged(path, {"its checksum differs"});
    }
    return true;
}

bool ContainerReader::Digest::Matches(ChecksumKind kind, std::uint32_t crc,
                                      const Sha256Digest& digest) {
    if (kind == ChecksumKind::Crc32) return crc32.Value() == crc;
    return sha256.Final() == digest;
}

bool ContainerReader::DigestOf(std::int64_t from, std::int64_t count, bool imageFields,
                               Digest& digest) {
    if (!volume_.Seek(from)) return Fail({"cannot read ", volume_.Path()});
    const std::int64_t fields[][2] = {{signing_.checksumField, 4}, {signing_.securityEntry, 8}};
    const std::int64_t total = count;
    std::int64_t nextReport = kCheckProgressStep;
    for (std::int64_t at = from; count > 0;) {
        if (setupFinished_) return Fail({"the setup was stopped"});
        const std::size_t block = std::size_t(std::min<std::int64_t>(count, kInputSize));
        if (!volume_.Read(checkBlock_, block))
            return Fail({volume_.Path(), " cannot be read whole"});
        for (const auto& field : fields) {
            if (!imageFields || field[0] < 0) continue;
            for (std::int64_t b = std::max(field[0], at);
                 b < std::min(field[0] + field[1], at + std::int64_t(block)); ++b) {
                checkBlock_[b - at] = 0;
            }
        }
        if (sums_.kind == ChecksumKind::Crc32) {
            digest.crc32.Update(checkBlock_, block);
        } else {
            digest.sha256.Update(checkBlock_, block);
        }
        at += std::int64_t(block);
        count -= std::int64_t(block);
        if (checkProgress_ && (at - from >= nextReport || count == 0)) {
            checkProgress_(at - from, total);
            nextReport = at - from + kCheckProgressStep;
        }
    }
    return true;
}

bool ContainerReader::ReadProjectBytes(std::string& text) {
    if (!damaged_.empty()) return Fail({DamagedSetupMessage(damaged_)});
    StringSink sink;
    std::int64_t end = std::int64_t(tail_.projectOffset) + tail_.projectSize;
    if (volumeNumber_ != kFirstVolume || setupPath_.empty())
        return Fail({"no setup executable is open"});
    if (tail_.projectSize == 0 || end > setupLength_ - std::int64_t(kTailSize) ||
        tail_.projectOffset > std::uint32_t(std::numeric_limits<std::int32_t>::max()) ||
        tail_.projectSize > std::uint32_t(std::numeric_limits<std::int32_t>::max())) {
        return Fail({setupPath_, " holds no setup container (no project section in its tail)"});
    }
    arithmetic_ = false;
    const BodyMethod bodies = method_;
    method_ = BodyMethod::Lzss;  // the project section always is
    const bool read = ExtractInto(sink, std::int32_t(tail_.projectOffset),
                                  std::int32_t(tail_.projectSize), false, kMaxProjectText);
    method_ = bodies;
    if (!read) {
        return damaged_.empty() ? false
                                : Damaged(setupPath_, {"the project section decodes to more than ",
                                                       std::to_string(kMaxProjectText), " bytes"});
    }
    arithmetic_ = true;
    text = std::move(sink.bytes);
    return true;
}

Status ContainerReader::ReadProject(const std::string& xmlPath) {
    std::string text;
    if (!ReadProjectBytes(text)) return Outcome(false);
    OutputFile out;
    if (!out.Create(xmlPath)) return Outcome(Fail({"cannot create ", xmlPath}));
    bool ok = out.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return Outcome(out.Close() && ok ? true : Fail({"cannot write ", xmlPath}));
}

void ContainerReader::SetVolumeSize(std::int32_t diskSize) {
    // A missing or non-positive size would divide by zero: it means one volume holds it all.
    volumeSize_ = diskSize > 0 ? diskSize : std::numeric_limits<std::int32_t>::max();
}

bool ContainerReader::ChooseMethod(const std::string& compressType) {
    if (BodyMethodFromName(compressType, method_)) {
        if (method_ != BodyMethod::LzmaSolid || indexSize_ != 0) return true;
        return Damaged(setupPath_, {"its bodies are solid, but it has no block index"});
    }
    return Damaged(setupPath_, {"its bodies use the compression method \"", compressType,
                                "\", which this engine does not know"});
}

bool ContainerReader::CheckEntries(const std::vector<std::string>& entries) {
    std::vector<BodySpan> spans;
    spans.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FileEntry entry = ParseFileEntry(entries[i]);
        if (entry.size <= 0 || entry.offset < 0) continue;  // occupies nothing, or never read
        if (method_ == BodyMethod::LzmaSolid && !entry.IsRaw()) {
            // Its bytes lie among the blocks' decoded bytes, all in one block.
            if (blocks_.BlockOf(std::uint32_t(entry.offset), std::uint32_t(entry.size)) < 0) {
                return Damaged(setupPath_, {"file entry ", std::to_string(i),
                                            " lies in no block of its block index"});
            }
            continue;
        }
        spans.push_back({entry.offset, std::int64_t(entry.offset) + entry.size, i});
        std::uint64_t length = 0;
        if (!RecordedLength(entry.offset, entry.size, entry.IsRaw(), length)) return false;
    }
    // The blocks are bodies of the stream as the raw files are (named after the entry count).
    for (std::size_t b = 0; b < blocks_.blocks.size(); ++b) {
        const SolidBlock& block = blocks_.blocks[b];
        spans.push_back(
            {block.offset, std::int64_t(block.offset) + block.stored, entries.size() + b});
        std::uint64_t length = 0;
        if (!RecordedLength(std::int32_t(block.offset), std::int32_t(block.stored), false, length))
            return false;
        if (length != kUnbounded && length != block.decoded) {
            return Damaged(setupPath_,
                           {"block ", std::to_string(b), " is recorded with another length"});
        }
    }
    std::int64_t streamLength = 0;
    for (const VolumeChecksum& volume : sums_.volumes) streamLength += volume.streamBytes;
    std::sort(spans.begin(), spans.end(),
              [](const BodySpan& a, const BodySpan& b) { return a.offset < b.offset; });
    for (std::size_t k = 0; k < spans.size(); ++k) {
        if (checked_ && spans[k].end > streamLength) {
            return Damaged(setupPath_, {"file entry ", std::to_string(spans[k].index),
                                        " lies beyond the data stream"});
        }
        if (k > 0 && spans[k].offset < spans[k - 1].end) {
            const std::size_t a = std::min(spans[k - 1].index, spans[k].index);
            const std::size_t b = std::max(spans[k - 1].index, spans[k].index);
            return Damaged(setupPath_, {"file entries ", std::to_string(a), " and ",
                                        std::to_string(b), " share stream bytes"});
        }
    }
    return true;
}

bool ContainerReader::RecordedLength(std::int32_t offset, std::int32_t size, bool raw,
                                     std::uint64_t& length) {
    length = kUnbounded;
    // A set without recorded bodies bounds nothing.
    if (!checked_ || sums_.kind != ChecksumKind::Sha256 || size <= 0 || offset < 0) return true;
    const RecordedBody* body = FindRecordedBody(sums_, std::uint32_t(offset));
    if (!body) {
        return Damaged(setupPath_, {"the body at stream position ", std::to_string(offset),
                                    " is not recorded in its checksum block"});
    }
    if (raw && body->length != std::uint32_t(size)) {
        return Damaged(setupPath_, {"the raw body at stream position ", std::to_string(offset),
                                    " is recorded with another length"});
    }
    length = body->length;
    return true;
}

bool ContainerReader::ExtractFile(const std::string& outputPath, std::int32_t offset,
                                  std::int32_t size, bool raw, std::uint64_t limit) {
    if (IsSolidFile(size, raw)) {
        OutputFile out;
        return ExtractSolid(out, offset, size, limit, &out, outputPath);
    }
    // Find the body before creating the file: a missing volume leaves no empty file behind.
    std::int64_t inVolume = 0;
    std::uint64_t recorded = kUnbounded;
    // The project section, read without volume arithmetic, is no body of the stream.
    if (arithmetic_ && !RecordedLength(offset, size, raw, recorded)) return StopDamaged();
    if (!LocateBody(offset, size, inVolume)) return false;
    OutputFile out;
    if (!out.Create(outputPath)) return Fail({"cannot create ", outputPath});
    BoundedSink bounded(out, std::min(limit, recorded));
    bool ok = ReadBody(bounded, inVolume, size, raw);
    if (!out.Close() && ok) return Fail({"cannot write ", outputPath});
    return EndBody(bounded, ok, limit, recorded);
}

bool ContainerReader::ExtractInto(ByteSink& sink, std::int32_t offset, std::int32_t size, bool raw,
                                  std::uint64_t limit) {
    if (IsSolidFile(size, raw)) return ExtractSolid(sink, offset, size, limit);
    std::int64_t inVolume = 0;
    std::uint64_t recorded = kUnbounded;
    // The project section, read without volume arithmetic, is no body of the stream.
    if (arithmetic_ && !RecordedLength(offset, size, raw, recorded)) return StopDamaged();
    BoundedSink bounded(sink, std::min(limit, recorded));
    const bool ok = LocateBody(offset, size, inVolume) && ReadBody(bounded, inVolume, size, raw);
    return EndBody(bounded, ok, limit, recorded);
}

bool ContainerReader::StopDamaged() {
    // A body that is not what the set says ends the install as a damaged volume does.
    if (arithmetic_) setupFinished_ = true;
    return false;
}

bool ContainerReader::EndBody(const BoundedSink& bounded, bool ok, std::uint64_t limit,
                              std::uint64_t recorded) {
    const bool tooMuch = bounded.Exceeded();
    const bool tooLittle = ok && recorded != kUnbounded && bounded.Written() != recorded;
    if (!tooMuch && !tooLittle) return ok;
    StopDamaged();
    if (tooMuch && recorded <= limit) {
        return Damaged(volume_.Path(), {"a body decodes to more than its recorded ",
                                        std::to_string(recorded), " bytes"});
    }
    if (tooMuch) {
        return Damaged(volume_.Path(), {"a body decodes to more than ", std::to_string(limit),
                                        " bytes, the most it may"});
    }
    return Damaged(volume_.Path(), {"a body decodes to ", std::to_string(bounded.Written()),
                                    " bytes, not its recorded ", std::to_string(recorded)});
}

bool ContainerReader::LocateBody(std::int32_t offset, std::int32_t size, std::int64_t& inVolume) {
    if (offset < 0 || size < 0) return Fail({"negative offset or size in a file entry"});
    inVolume = offset;
    if (arithmetic_) {
        if (volumeSize_ <= 0) SetVolumeSize(0);
        // With a tiny volume size the number can pass the range of volume numbers.
        std::int64_t volume = std::int64_t(offset) / volumeSize_ + 1;
        if (volume >= std::numeric_limits<int>::max()) {
            return Fail(
                {"offset ", std::to_string(offset), " lies beyond the last possible volume"});
        }
        inVolume = offset % volumeSize_;
        if (!MoveToVolume(int(volume))) {
            setupFinished_ = true;
            return false;
        }
    }
    return volume_.IsOpen() ? true : Fail({"no volume is open"});
}

bool ContainerReader::ReadBody(ByteSink& sink, std::int64_t inVolume, std::int32_t size, bool raw) {
    if (size == 0) return true;
    if (!volume_.Seek(inVolume)) {
        return Fail({volume_.Path(), " ends before offset ", std::to_string(inVolume)});
    }
    // Without volume arithmetic the body is read where it lies, all of it in this file.
    position_ = arithmetic_ ? inVolume : 0;
    if (!arithmetic_) streamLimit_ = std::min<std::int64_t>(volume_.Length() - inVolume, size);
    bool ok = raw ? CopyRaw(sink, size) : Decode(decoders_.For(method_), sink, size);
    if (!arithmetic_) streamLimit_ = tailEnd_ - std::int64_t(kTailSize);
    return ok;
}

bool ContainerReader::CopyRaw(ByteSink& sink, std::int32_t size) {
    std::int64_t left = size;
    while (left > 0) {
        if (setupFinished_) return Fail({"the setup was stopped"});
        std::size_t block = std::size_t(std::min<std::int64_t>(left, kCopyBlock));
        if (!ReadStream(copyBlock_, block)) return false;
        if (!sink.Write(copyBlock_, block)) return Fail({"cannot write the extracted file"});
        left -= std::int64_t(block);
    }
    return true;
}

bool ContainerReader::FetchInput() {
    std::int64_t left = bodyLength_ - bodyConsumed_;
    if (left <= 0) return false;
    std::size_t want = std::size_t(std::min<std::int64_t>(left, kInputSize));
    if (!ReadStream(input_, want)) {
        inputFailed_ = true;
        return false;
    }
    inputFill_ = want;
    return true;
}

bool ContainerReader::Decode(BodyDecoder& decoder, ByteSink& sink, std::int32_t size) {
    block_ = -1;  // the input buffer is this body's now
    bodyLength_ = size;
    bodyConsumed_ = 0;
    inputFill_ = 0;
    inputFailed_ = false;
    decoder.Reset();
    bool fed = true;
    // A stop request ends the body at the next input block; what was decoded is still written.
    while (fed && !setupFinished_ && FetchInput()) {
        bodyConsumed_ += std::int64_t(inputFill_);
        fed = decoder.Feed(input_, inputFill_, sink);
    }
    fed = decoder.Flush(sink) && fed;
    if (fed && inputFailed_) return false;  // a short volume or a cancelled disk request
    if (fed && setupFinished_) return Fail({"the setup was stopped"});
    if (fed && decoder.Complete()) return true;
    if (decoder.Damaged()) {
        // A damaged body ends the install as a damaged volume does.
        setupFinished_ = true;
        return Damaged(volume_.Path(),
                       {"an ", BodyMethodName(method_), " body is damaged: ", decoder.Problem()});
    }
    if (decoder.Problem().empty()) return Fail({"cannot write the extracted file"});
    return Fail({decoder.Problem()});
}

bool ContainerReader::ReadStream(std::uint8_t* buffer, std::size_t count) {
    while (count > 0) {
        std::int64_t share = arithmetic_ ? std::int64_t(volumeSize_) : streamLimit_;
        std::int64_t available = share - position_;
        if (available <= 0) {
            if (!arithmetic_) return Fail({volume_.Path(), " is shorter than its entries claim"});
            if (!ChangeVolume()) {
                setupFinished_ = true;
                return false;
            }
            continue;
        }
        std::size_t take = std::size_t(std::min<std::int64_t>(available, std::int64_t(count)));
        if (position_ + std::int64_t(take) > streamLimit_ || !volume_.Read(buffer, take)) {
            return Fail({volume_.Path(), " is shorter than its entries claim"});
        }
        position_ += std::int64_t(take);
        buffer += take;
        count -= take;
    }
    return true;
}

bool ContainerReader::AcceptVolume(const std::string& path, int volumeNumber) {
    if (!volume_.Open(path)) return Fail({"cannot open ", path});
    // A volume file is no program: its tail is its last bytes.
    std::uint8_t bytes[kTailSize];
    if (volume_.Length() < std::int64_t(kTailSize) || !volume_.Seek(volume_.Length() - kTailSize) ||
        !volume_.Read(bytes, kTailSize)) {
        volume_.Close();
        return Fail({path, " is too short to be a volume file"});
    }
    ContainerTail candidate = DecodeTail(bytes);
    if (IdentityOf(candidate) != IdentityOf(tail_)) {
        volume_.Close();
        return Fail({path, " belongs to another setup (identity \"", IdentityOf(candidate),
                     "\", expected \"", IdentityOf(tail_), "\")"});
    }
    streamLimit_ = volume_.Length() - std::int64_t(kTailSize);
    // Verified every time it is opened, over the handle it is then read through.
    if (checked_ && !VerifyVolume(candidate, volumeNumber)) {
        volume_.Close();
        return false;
    }
    volume_.Seek(0);
    volumeNumber_ = volumeNumber;
    tail_.volumeNumber = tail_.volumeCounter = std::uint32_t(volumeNumber);
    position_ = 0;
    return true;
}

bool ContainerReader::ChangeVolume() {
    int next = volumeNumber_ + 1;
    if (!damaged_.empty()) return Fail({DamagedSetupMessage(damaged_)});
    if (checked_ && std::size_t(next) > sums_.volumes.size()) {
        return Damaged(setupPath_, {"a body lies beyond the last of its ",
                                    std::to_string(sums_.volumes.size()), " volumes"});
    }
    std::string expected = VolumePath(volumeFolder_, next);
    if (AcceptVolume(expected, next)) return true;
    if (!prompt_ || !damaged_.empty()) return false;
    for (;;) {
        std::string answer = prompt_->AskForVolume(expected, next);
        if (answer.empty())
            return Fail({"the request for ", VolumeFileName(next), " was cancelled"});
        if (AcceptVolume(answer, next)) return true;
        if (!damaged_.empty()) return false;
    }
}

bool ContainerReader::MoveToVolume(int volumeNumber) {
    if (volumeNumber == volumeNumber_ && volume_.IsOpen()) return true;
    if (volumeNumber < volumeNumber_ || !volume_.IsOpen()) {
        // Going back happens only in tools that extract out of order; the engine moves forward.
        if (volumeNumber == kFirstVolume) {
            if (!volume_.Open(setupPath_)) return Fail({"cannot open ", setupPath_});
            volumeNumber_ = kFirstVolume;
            tail_.volumeNumber = tail_.volumeCounter = kFirstVolume;
            position_ = 0;
            streamLimit_ = tailEnd_ - std::int64_t(kTailSize);
            if (volume_.Length() != setupLength_ ||
                (checked_ && !VerifyVolume(tail_, kFirstVolume))) {
                volume_.Close();
                return damaged_.empty() ? Damaged(setupPath_, {"it changed while it was read"})
                                        : false;
            }
            return true;
        }
        return AcceptVolume(VolumePath(volumeFolder_, volumeNumber), volumeNumber);
    }
    while (volumeNumber_ < volumeNumber) {
        if (!ChangeVolume()) return false;
    }
    return true;
}

namespace {

// Passes decoded bytes on (to nothing, for bytes passed over) and sums them up.
class SummingSink : public ByteSink {
public:
    SummingSink(Crc32& crc, ByteSink* next) : crc_(crc), next_(next) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        crc_.Update(data, size);
        return !next_ || next_->Write(data, size);
    }

private:
    Crc32& crc_;
    ByteSink* next_;
};

}  // namespace

bool ContainerReader::ExtractSolid(ByteSink& sink, std::int32_t position, std::int32_t size,
                                   std::uint64_t limit, OutputFile* out,
                                   const std::string& outputPath) {
    if (position < 0) return Fail({"negative offset in a file entry"});
    // The block is found (and its volume asked for) before the file is made.
    if (!EnterBlock(std::uint32_t(position), std::uint32_t(size))) return false;
    if (out && !out->Create(outputPath)) return Fail({"cannot create ", outputPath});
    BoundedSink bounded(sink, std::min<std::uint64_t>(limit, std::uint64_t(size)));
    const std::uint64_t end =
        std::uint64_t(std::uint32_t(position) - blocks_.starts[block_]) + std::uint64_t(size);
    bool ok = PumpBlock(&bounded, end);
    if (ok && end == blocks_.blocks[block_].decoded) ok = FinishBlock();
    if (!ok) block_ = -1;  // a later file starts its block afresh
    if (out && !out->Close() && ok) return Fail({"cannot write ", outputPath});
    return EndBody(bounded, ok, limit, std::uint64_t(size));
}

bool ContainerReader::EnterBlock(std::uint32_t position, std::uint32_t size) {
    const long block = blocks_.BlockOf(position, size);
    if (block < 0) {
        StopDamaged();
        return Damaged(setupPath_, {"a file entry lies in no block of its block index"});
    }
    const std::uint64_t inBlock = position - blocks_.starts[std::size_t(block)];
    if (block != block_ || solid_->OutputCount() > inBlock) {
        if (!StartBlock(std::size_t(block))) return false;
    } else if (bodyConsumed_ < bodyLength_) {
        // Another body may have been read since: the block's next byte is found again.
        std::int64_t inVolume = 0;
        const SolidBlock& current = blocks_.blocks[std::size_t(block)];
        const std::int64_t next = std::int64_t(current.offset) + bodyConsumed_;
        if (!LocateBody(std::int32_t(next), 0, inVolume) || !volume_.Seek(inVolume)) {
            block_ = -1;
            return false;
        }
        position_ = inVolume;
    }
    return PumpBlock(nullptr, inBlock);
}

bool ContainerReader::StartBlock(std::size_t block) {
    block_ = -1;
    const SolidBlock& start = blocks_.blocks[block];
    std::int64_t inVolume = 0;
    if (!LocateBody(std::int32_t(start.offset), std::int32_t(start.stored), inVolume)) return false;
    if (!volume_.Seek(inVolume)) {
        return Fail({volume_.Path(), " ends before offset ", std::to_string(inVolume)});
    }
    position_ = inVolume;
    if (!solid_) solid_ = std::make_unique<LzmaBodyDecoder>();
    solid_->Reset();
    blockCrc_ = Crc32();
    bodyLength_ = start.stored;
    bodyConsumed_ = 0;
    inputFill_ = inputAt_ = 0;
    inputFailed_ = false;
    block_ = long(block);
    return true;
}

bool ContainerReader::BlockDamaged(std::initializer_list<std::string_view> why) {
    const std::string which = std::to_string(block_);
    block_ = -1;
    setupFinished_ = true;
    std::string reason = Concat({"block ", which, " is damaged: "});
    AppendPieces(reason, why);
    return Damaged(volume_.Path(), {reason});
}

bool ContainerReader::PumpBlock(ByteSink* sink, std::uint64_t end) {
    SummingSink summing(blockCrc_, sink);
    while (solid_->OutputCount() < end) {
        if (setupFinished_) return Fail({"the setup was stopped"});
        // The decoder may hold decoded bytes (and input) of its own: asked first.
        if (inputAt_ == inputFill_ && bodyConsumed_ < bodyLength_ && !solid_->Holding()) {
            inputFill_ = inputAt_ = 0;
            if (!FetchInput()) return false;  // a short volume or a cancelled disk request
            bodyConsumed_ += std::int64_t(inputFill_);
        }
        const std::uint64_t before = solid_->OutputCount();
        std::size_t used = 0;
        if (!solid_->FeedUpTo(input_ + inputAt_, inputFill_ - inputAt_, used, summing, end)) {
            if (solid_->Damaged()) return BlockDamaged({solid_->Problem()});
            block_ = -1;
            if (!solid_->Problem().empty()) return Fail({solid_->Problem()});
            return Fail({"cannot write the extracted file"});
        }
        inputAt_ += used;
        if (used == 0 && solid_->OutputCount() == before &&
            (inputAt_ < inputFill_ || bodyConsumed_ == bodyLength_)) {
            return BlockDamaged({"its data ends before its files do"});
        }
    }
    return true;
}

bool ContainerReader::FinishBlock() {
    // What is left of the body must be nothing but the end of its LZMA data.
    SummingSink summing(blockCrc_, nullptr);
    for (;;) {
        if (!solid_->Feed(input_ + inputAt_, inputFill_ - inputAt_, summing)) {
            return BlockDamaged({solid_->Problem()});
        }
        inputAt_ = inputFill_;
        if (bodyConsumed_ == bodyLength_) break;
        inputFill_ = inputAt_ = 0;
        if (!FetchInput()) return false;
        bodyConsumed_ += std::int64_t(inputFill_);
    }
    if (!solid_->Finish()) return BlockDamaged({solid_->Problem()});
    const SolidBlock& block = blocks_.blocks[std::size_t(block_)];
    if (solid_->OutputCount() != block.decoded) {
        return BlockDamaged(
            {"it decodes to more than its ", std::to_string(block.decoded), " bytes"});
    }
    if (blockCrc_.Value() != block.crc) return BlockDamaged({"its checksum differs"});
    block_ = -1;
    return true;
}

void ContainerReader::SetEntryTime(const FileEntry& entry) {
    SetFileLocalTimes(entry.path, ParseEntryTime(entry.timeText));
}

}  // namespace vesk
