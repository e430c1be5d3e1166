// Writing the setup executable and its volume files.
#include "builder/writing/ContainerWriter.h"

#include <atomic>
#include <filesystem>
#include <limits>
#include <system_error>
#include <vector>

#include "builder/pe/PeChecksum.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/ContainerFormat.h"
#include "container/ContainerReader.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kMaxStream = std::numeric_limits<std::int32_t>::max();
// The name an earlier set's file has while the new set is put into place.
constexpr const char* kAsideSuffix = ".old";

std::string FolderOf(const std::string& path) {
    std::size_t at = path.find_last_of("\\/");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

void RemoveQuietly(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

}  // namespace

ContainerWriter::~ContainerWriter() {
    if (!finished_) Abandon();
}

bool ContainerWriter::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool ContainerWriter::Begin(const std::string& setupPath, const std::string& stubImage,
                            std::int32_t diskSize) {
    Abandon();
    finished_ = false;
    error_.clear();
    if (diskSize <= 0 || std::int64_t(diskSize) <= std::int64_t(stubImage.size())) {
        return Fail("the disk size (" + std::to_string(diskSize) +
                    " bytes) must be larger than the setup program (" +
                    std::to_string(stubImage.size()) + " bytes)");
    }
    setupPath_ = setupPath;
    diskSize_ = diskSize;
    streamLength_ = inCurrent_ = volumeOneStream_ = 0;
    digest_ = 14695981039346656037ull;
    imageFields_ = FindImageSigningFields(reinterpret_cast<const std::uint8_t*>(stubImage.data()),
                                          stubImage.size());
    if (!OpenNextVolume()) return false;
    return WriteStream(reinterpret_cast<const std::uint8_t*>(stubImage.data()), stubImage.size());
}

bool ContainerWriter::OpenNextVolume() {
    if (!CloseCurrent()) return false;
    int number = int(volumes_.size()) + 1;
    Volume volume;
    volume.finalPath =
        number == kFirstVolume ? setupPath_ : VolumePath(FolderOf(setupPath_), number);
    volume.partialPath = volume.finalPath + ".part";
    current_ = std::fopen(volume.partialPath.c_str(), "wb");
    if (!current_) return Fail("cannot create " + volume.partialPath);
    volumes_.push_back(volume);
    inCurrent_ = 0;
    return true;
}

bool ContainerWriter::CloseCurrent() {
    if (!current_) return true;
    bool ok = std::fclose(current_) == 0;
    current_ = nullptr;
    return ok ? true : Fail("cannot write " + volumes_.back().partialPath);
}

bool ContainerWriter::WriteStream(const std::uint8_t* data, std::size_t size) {
    if (streamLength_ + std::int64_t(size) > kMaxStream) {
        return Fail("the data stream would exceed 2 GiB, the most a setup can hold");
    }
    for (std::size_t i = 0; i < size; ++i) {
        digest_ = (digest_ ^ data[i]) * 1099511628211ull;
    }
    while (size > 0) {
        if (inCurrent_ == diskSize_ && !OpenNextVolume()) return false;
        std::size_t take =
            std::size_t(std::min<std::int64_t>(diskSize_ - inCurrent_, std::int64_t(size)));
        if (std::fwrite(data, 1, take, current_) != take) {
            return Fail("cannot write " + volumes_.back().partialPath);
        }
        ChecksumStream(data, take);
        inCurrent_ += std::int64_t(take);
        volumes_.back().streamBytes = inCurrent_;
        streamLength_ += std::int64_t(take);
        if (volumes_.size() == 1) volumeOneStream_ = inCurrent_;
        data += take;
        size -= take;
    }
    return true;
}

// The bytes at inCurrent_ of the current volume; in volume 1 the fields a signing tool rewrites
// count as zeros, as the reader takes them.
void ContainerWriter::ChecksumStream(const std::uint8_t* data, std::size_t size) {
    Sha256& sha = volumes_.back().sha256;
    if (volumes_.size() != 1) {
        sha.Update(data, size);
        return;
    }
    const std::int64_t start = inCurrent_, end = inCurrent_ + std::int64_t(size);
    std::int64_t at = start;
    const std::int64_t fields[][2] = {{imageFields_.checksumField, 4},
                                      {imageFields_.securityEntry, 8}};
    for (const auto& field : fields) {
        if (field[0] < 0) continue;
        const std::int64_t from = std::max(field[0], at), to = std::min(field[0] + field[1], end);
        if (from >= to) continue;
        sha.Update(data + (at - start), std::size_t(from - at));
        sha.UpdateZeros(std::size_t(to - from));
        at = to;
    }
    sha.Update(data + (at - start), std::size_t(end - at));
}

bool ContainerWriter::AddBody(const std::uint8_t* data, std::size_t size, std::int32_t& offset) {
    if (volumes_.empty() || finished_) return Fail("the container was not begun");
    offset = std::int32_t(streamLength_);
    return WriteStream(data, size);
}

ContainerWriter::Mark ContainerWriter::BodyStart() const {
    return Mark{streamLength_, volumes_.size(),
                inCurrent_,    volumeOneStream_,
                digest_,       volumes_.empty() ? Sha256() : volumes_.back().sha256};
}

bool ContainerWriter::AppendBody(const std::uint8_t* data, std::size_t size) {
    if (volumes_.empty() || finished_) return Fail("the container was not begun");
    return WriteStream(data, size);
}

bool ContainerWriter::RewindTo(const Mark& mark) {
    if (volumes_.empty() || finished_ || mark.volumes == 0 || mark.volumes > volumes_.size()) {
        return Fail("no body to take back");
    }
    if (!CloseCurrent()) return false;
    while (volumes_.size() > mark.volumes) {
        RemoveQuietly(volumes_.back().partialPath);
        volumes_.pop_back();
    }
    const std::string& path = volumes_.back().partialPath;
    std::error_code ec;
    fs::resize_file(path, std::uintmax_t(mark.inCurrent), ec);
    if (ec) return Fail("cannot shorten " + path + ": " + ec.message());
    current_ = std::fopen(path.c_str(), "ab");
    if (!current_) return Fail("cannot open " + path);
    streamLength_ = mark.stream;
    inCurrent_ = mark.inCurrent;
    volumeOneStream_ = mark.volumeOneStream;
    digest_ = mark.digest;
    volumes_.back().sha256 = mark.sha256;
    volumes_.back().streamBytes = mark.inCurrent;
    return true;
}

void ContainerWriter::RecordBody(std::int32_t offset, std::uint64_t length) {
    bodies_.push_back({std::uint32_t(offset), std::uint32_t(length)});
}

std::string ContainerWriter::ContentIdentity(const std::string& projectXml) const {
    std::uint64_t digest = digest_;
    for (unsigned char c : projectXml) digest = (digest ^ c) * 1099511628211ull;
    return std::to_string(digest);
}

bool ContainerWriter::AppendTail(const std::string& path, int volumeNumber,
                                 std::uint32_t projectOffset, std::uint32_t projectSize,
                                 const std::string& identity) {
    ContainerTail tail{};
    SetIdentityText(tail, identity);
    tail.projectOffset = projectOffset;
    tail.projectSize = projectSize;
    tail.volumeCounter = kVolumeCounterValue;
    tail.volumeNumber = std::uint32_t(volumeNumber);
    std::uint8_t bytes[kTailSize];
    EncodeTail(tail, bytes);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) return Fail("cannot open " + path);
    bool ok = std::fwrite(bytes, 1, kTailSize, file) == kTailSize;
    ok = std::fclose(file) == 0 && ok;
    return ok ? true : Fail("cannot write " + path);
}

bool ContainerWriter::Finish(const std::string& projectXml, const std::string& identity) {
    if (volumes_.empty() || finished_) return Fail("the container was not begun");
    if (identity.size() > kMaxIdentityLength) {
        return Fail("the set identity \"" + identity + "\" is longer than 59 characters");
    }
    if (!CloseCurrent()) return false;

    std::vector<std::uint8_t> section;
    LzssEncode(reinterpret_cast<const std::uint8_t*>(projectXml.data()), projectXml.size(),
               section);
    if (section.empty()) return Fail("the project is empty");
    if (volumeOneStream_ + std::int64_t(section.size()) > kMaxStream) {
        return Fail("the project section would end beyond 2 GiB");
    }
    if (volumes_.size() > kMaxChecksumVolumes) {
        return Fail("the set would have " + std::to_string(volumes_.size()) +
                    " volumes; a setup holds at most " + std::to_string(kMaxChecksumVolumes));
    }
    if (bodies_.size() > kMaxRecordedBodies) {
        return Fail("the set would have " + std::to_string(bodies_.size()) +
                    " file bodies; a setup holds at most " + std::to_string(kMaxRecordedBodies));
    }
    if (!AppendSectionAndChecksums(section)) return false;

    for (std::size_t i = 0; i < volumes_.size(); ++i) {
        if (!AppendTail(volumes_[i].partialPath, int(i) + 1, std::uint32_t(volumeOneStream_),
                        std::uint32_t(section.size()), identity)) {
            return false;
        }
    }
    if (checksumField_ != 0 && !WriteChecksum(volumes_.front().partialPath)) return false;
    if (signer_ && !SignAndCheck()) return false;
    if (!PutIntoPlace()) return false;
    finished_ = true;
    return true;
}

std::int64_t ContainerWriter::FinishedSetupLength(std::size_t sectionSize) const {
    const std::uint64_t length =
        std::uint64_t(volumeOneStream_) + sectionSize + blockIndex_.size() +
        ChecksumBlockSize(ChecksumKind::Sha256, volumes_.size(), bodies_.size()) + kTailSize;
    return std::int64_t(length + (kVolumeAlignment - length % kVolumeAlignment) % kVolumeAlignment);
}

// The project section, the block index of a solid set, the checksum block and the zero padding that
// lets volume 1's tail end at a multiple of kVolumeAlignment (a signing tool then appends its table
// right behind the tail).
bool ContainerWriter::AppendSectionAndChecksums(std::vector<std::uint8_t> section) {
    // A solid set's block index follows the section, and its digest covers both.
    section.insert(section.end(), blockIndex_.begin(), blockIndex_.end());
    ChecksumBlock sums;
    sums.projectSha256 = Sha256::Of(section.data(), section.size());
    for (Volume& volume : volumes_) {
        VolumeChecksum checksum;
        checksum.streamBytes = std::uint32_t(volume.streamBytes);
        checksum.sha256 = volume.sha256.Final();
        sums.volumes.push_back(checksum);
    }
    sums.bodies = bodies_;
    std::vector<std::uint8_t> gap = EncodeChecksumBlock(sums);
    const std::uint64_t length =
        std::uint64_t(volumeOneStream_) + section.size() + gap.size() + kTailSize;
    gap.resize(gap.size() + (kVolumeAlignment - length % kVolumeAlignment) % kVolumeAlignment, 0);

    const std::string& first = volumes_.front().partialPath;
    std::FILE* file = std::fopen(first.c_str(), "ab");
    if (!file) return Fail("cannot open " + first);
    bool ok = std::fwrite(section.data(), 1, section.size(), file) == section.size() &&
              std::fwrite(gap.data(), 1, gap.size(), file) == gap.size();
    ok = std::fclose(file) == 0 && ok;
    return ok ? true : Fail("cannot write " + first);
}

bool ContainerWriter::SignAndCheck() {
    const std::string& first = volumes_.front().partialPath;
    std::string why;
    if (!signer_(first, why)) return Fail("signing " + first + " failed: " + why);
    // The signed executable must still be this set, read the engine's way.
    std::atomic<bool> stop{false};
    ContainerReader reader(stop);
    std::string project;
    if (!reader.OpenContainer(first) || !reader.ReadProjectText(project)) {
        return Fail("the signed " + first +
                    " no longer reads as this setup: " + reader.LastError());
    }
    if (!reader.Checked()) return Fail("the signed " + first + " lost its checksum block");
    if (reader.CertificateSize() == 0) {
        return Fail("the signing command left " + first +
                    " without a certificate table: it is not signed (does the command write its "
                    "result back to {file}?)");
    }
    return true;
}

bool ContainerWriter::WriteChecksum(const std::string& path) {
    PeChecksum checksum(checksumField_);
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file) return Fail("cannot open " + path);
    std::vector<std::uint8_t> block(std::size_t(1) << 20);
    std::size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0)
        checksum.Add(block.data(), got);
    std::uint32_t value = checksum.Value();
    const std::uint8_t field[4] = {std::uint8_t(value), std::uint8_t(value >> 8),
                                   std::uint8_t(value >> 16), std::uint8_t(value >> 24)};
    bool ok = !std::ferror(file) && std::fseek(file, long(checksumField_), SEEK_SET) == 0 &&
              std::fwrite(field, 1, 4, file) == 4;
    ok = std::fclose(file) == 0 && ok;
    return ok ? true : Fail("cannot write the checksum into " + path);
}

// Moves the files of an earlier set aside (its volumes past the new count too), renames the new
// volumes into place, the executable last, and only then deletes the old files; on a failure the
// new files go and the old ones come back.
bool ContainerWriter::PutIntoPlace() {
    const std::string folder = FolderOf(setupPath_);
    std::vector<std::string> finals;
    for (const Volume& volume : volumes_) finals.push_back(volume.finalPath);
    for (int n = int(volumes_.size()) + 1;; ++n) {
        std::error_code ec;
        if (!fs::exists(VolumePath(folder, n), ec)) break;
        finals.push_back(VolumePath(folder, n));
    }
    for (const std::string& path : finals) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) return Fail("cannot replace " + path + ": it is a folder");
    }
    std::vector<std::string> movedAside, placed;
    auto undo = [&](const std::string& message) {
        for (const std::string& path : placed) RemoveQuietly(path);
        for (const std::string& path : movedAside) {
            std::error_code ec;
            fs::rename(path + kAsideSuffix, path, ec);
        }
        return Fail(message);
    };
    for (const std::string& path : finals) {
        std::error_code ec;
        if (!fs::exists(path, ec)) continue;
        fs::rename(path, path + kAsideSuffix, ec);
        if (ec) return undo("cannot move the earlier " + path + " aside: " + ec.message());
        movedAside.push_back(path);
    }
    for (std::size_t i = volumes_.size(); i-- > 0;) {
        std::error_code ec;
        fs::rename(volumes_[i].partialPath, volumes_[i].finalPath, ec);
        if (ec) {
            return undo("cannot move " + volumes_[i].partialPath + " into place: " + ec.message());
        }
        placed.push_back(volumes_[i].finalPath);
    }
    for (const std::string& path : movedAside) RemoveQuietly(path + kAsideSuffix);
    return true;
}

void ContainerWriter::Abandon() {
    if (current_) std::fclose(current_);
    current_ = nullptr;
    for (const Volume& volume : volumes_) RemoveQuietly(volume.partialPath);
    volumes_.clear();
    bodies_.clear();
}

std::vector<std::string> ContainerWriter::VolumePaths() const {
    std::vector<std::string> paths;
    for (const Volume& volume : volumes_) paths.push_back(volume.finalPath);
    return paths;
}

}  // namespace vesk
