// Extraction of container bodies: volume arithmetic, volume changes, LZSS and raw bodies.
#include "container/ContainerReader.h"

#include <algorithm>
#include <limits>

#include "container/OutputFile.h"
#include "platform/FileTimes.h"

namespace vesk {
namespace {

// The folder part of a path, up to and including its last separator.
std::string FolderWithSeparator(const std::string& path) {
    std::size_t at = path.find_last_of("\\/");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

}  // namespace

ContainerReader::ContainerReader(std::atomic<bool>& setupFinished)
    : setupFinished_(setupFinished) {}

bool ContainerReader::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool ContainerReader::OpenContainer(const std::string& modulePath) {
    if (!volume_.Open(modulePath)) return Fail("cannot open " + modulePath);
    std::uint8_t bytes[kTailSize];
    if (volume_.Length() < std::int64_t(kTailSize) || !volume_.Seek(volume_.Length() - kTailSize) ||
        !volume_.Read(bytes, kTailSize) || !volume_.Seek(0)) {
        volume_.Close();
        return Fail(modulePath + " is too short to hold a setup container");
    }
    tail_ = DecodeTail(bytes);
    setupPath_ = modulePath;
    setupLength_ = volume_.Length();
    volumeFolder_ = FolderWithSeparator(modulePath);
    volumeNumber_ = kFirstVolume;
    tail_.volumeNumber = kFirstVolume;  // the executable is volume 1, whatever its tail says
    streamLimit_ = setupLength_ - std::int64_t(kTailSize);
    position_ = 0;
    arithmetic_ = false;
    return true;
}

bool ContainerReader::ReadProjectText(std::string& text) {
    StringSink sink;
    std::int64_t end = std::int64_t(tail_.projectOffset) + tail_.projectSize;
    if (volumeNumber_ != kFirstVolume || setupPath_.empty()) return Fail("no setup executable is open");
    if (tail_.projectSize == 0 || end > setupLength_ - std::int64_t(kTailSize) ||
        tail_.projectOffset > std::uint32_t(std::numeric_limits<std::int32_t>::max()) ||
        tail_.projectSize > std::uint32_t(std::numeric_limits<std::int32_t>::max())) {
        return Fail(setupPath_ + " holds no setup container (no project section in its tail)");
    }
    arithmetic_ = false;
    if (!ExtractTo(sink, std::int32_t(tail_.projectOffset), std::int32_t(tail_.projectSize), false)) {
        return false;
    }
    arithmetic_ = true;
    text = std::move(sink.bytes);
    return true;
}

bool ContainerReader::ReadProject(const std::string& xmlPath) {
    std::string text;
    if (!ReadProjectText(text)) return false;
    OutputFile out;
    if (!out.Create(xmlPath)) return Fail("cannot create " + xmlPath);
    bool ok = out.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return out.Close() && ok ? true : Fail("cannot write " + xmlPath);
}

void ContainerReader::SetVolumeSize(std::int32_t diskSize) {
    // A missing or non-positive size would divide by zero: it means one volume holds it all.
    volumeSize_ = diskSize > 0 ? diskSize : std::numeric_limits<std::int32_t>::max();
}

bool ContainerReader::ExtractEntry(const std::string& outputPath, std::int32_t offset,
                                   std::int32_t size, bool raw) {
    // Find the body before creating the file: a missing volume leaves no empty file behind.
    std::int64_t inVolume = 0;
    if (!LocateBody(offset, size, inVolume)) return false;
    OutputFile out;
    if (!out.Create(outputPath)) return Fail("cannot create " + outputPath);
    bool ok = ReadBody(out, inVolume, size, raw);
    if (!out.Close() && ok) return Fail("cannot write " + outputPath);
    return ok;
}

bool ContainerReader::ExtractTo(ByteSink& sink, std::int32_t offset, std::int32_t size, bool raw) {
    std::int64_t inVolume = 0;
    return LocateBody(offset, size, inVolume) && ReadBody(sink, inVolume, size, raw);
}

bool ContainerReader::LocateBody(std::int32_t offset, std::int32_t size, std::int64_t& inVolume) {
    if (offset < 0 || size < 0) return Fail("negative offset or size in a file entry");
    inVolume = offset;
    if (arithmetic_) {
        if (volumeSize_ <= 0) SetVolumeSize(0);
        // With a tiny volume size the number can pass the range of volume numbers.
        std::int64_t volume = std::int64_t(offset) / volumeSize_ + 1;
        if (volume >= std::numeric_limits<int>::max()) {
            return Fail("offset " + std::to_string(offset) + " lies beyond the last possible volume");
        }
        inVolume = offset % volumeSize_;
        if (!MoveToVolume(int(volume))) {
            setupFinished_ = true;
            return false;
        }
    }
    return volume_.IsOpen() ? true : Fail("no volume is open");
}

bool ContainerReader::ReadBody(ByteSink& sink, std::int64_t inVolume, std::int32_t size, bool raw) {
    if (size == 0) return true;
    if (!volume_.Seek(inVolume)) {
        return Fail(volume_.Path() + " ends before offset " + std::to_string(inVolume));
    }
    // Without volume arithmetic the body is read where it lies, all of it in this file.
    position_ = arithmetic_ ? inVolume : 0;
    if (!arithmetic_) streamLimit_ = std::min<std::int64_t>(volume_.Length() - inVolume, size);
    bool ok = raw ? CopyRaw(sink, size) : ExtractLzss(sink, size);
    if (!arithmetic_) streamLimit_ = volume_.Length() - std::int64_t(kTailSize);
    return ok;
}

bool ContainerReader::CopyRaw(ByteSink& sink, std::int32_t size) {
    std::int64_t left = size;
    while (left > 0) {
        if (setupFinished_) return Fail("the setup was stopped");
        std::size_t block = std::size_t(std::min<std::int64_t>(left, kCopyBlock));
        if (!ReadStream(copyBlock_, block)) return false;
        if (!sink.Write(copyBlock_, block)) return Fail("cannot write the extracted file");
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

bool ContainerReader::ExtractLzss(ByteSink& sink, std::int32_t size) {
    bodyLength_ = size;
    bodyConsumed_ = 0;
    inputFill_ = 0;
    inputFailed_ = false;
    decoder_.Reset();
    bool written = true;
    // A stop request ends the body at the next input block; what was decoded is still written.
    while (written && !setupFinished_ && FetchInput()) {
        bodyConsumed_ += std::int64_t(inputFill_);
        written = decoder_.Feed(input_, inputFill_, sink);
    }
    written = decoder_.Finish(sink) && written;
    if (!written) return Fail("cannot write the extracted file");
    if (inputFailed_) return false;  // a short volume or a cancelled disk request
    return !setupFinished_;
}

bool ContainerReader::ReadStream(std::uint8_t* buffer, std::size_t count) {
    while (count > 0) {
        std::int64_t share = arithmetic_ ? std::int64_t(volumeSize_) : streamLimit_;
        std::int64_t available = share - position_;
        if (available <= 0) {
            if (!arithmetic_) return Fail(volume_.Path() + " is shorter than its entries claim");
            if (!ChangeVolume()) {
                setupFinished_ = true;
                return false;
            }
            continue;
        }
        std::size_t take = std::size_t(std::min<std::int64_t>(available, std::int64_t(count)));
        if (position_ + std::int64_t(take) > streamLimit_ || !volume_.Read(buffer, take)) {
            return Fail(volume_.Path() + " is shorter than its entries claim");
        }
        position_ += std::int64_t(take);
        buffer += take;
        count -= take;
    }
    return true;
}

bool ContainerReader::AcceptVolume(const std::string& path, int volumeNumber) {
    if (!volume_.Open(path)) return Fail("cannot open " + path);
    std::uint8_t bytes[kTailSize];
    if (volume_.Length() < std::int64_t(kTailSize) || !volume_.Seek(volume_.Length() - kTailSize) ||
        !volume_.Read(bytes, kTailSize)) {
        volume_.Close();
        return Fail(path + " is too short to be a volume file");
    }
    ContainerTail candidate = DecodeTail(bytes);
    if (IdentityOf(candidate) != IdentityOf(tail_)) {
        volume_.Close();
        return Fail(path + " belongs to another setup (identity \"" + IdentityOf(candidate) +
                    "\", expected \"" + IdentityOf(tail_) + "\")");
    }
    volume_.Seek(0);
    volumeNumber_ = volumeNumber;
    tail_.volumeNumber = tail_.volumeCounter = std::uint32_t(volumeNumber);
    position_ = 0;
    streamLimit_ = volume_.Length() - std::int64_t(kTailSize);
    return true;
}

bool ContainerReader::ChangeVolume() {
    int next = volumeNumber_ + 1;
    std::string expected = VolumePath(volumeFolder_, next);
    if (AcceptVolume(expected, next)) return true;
    if (!prompt_) return false;
    for (;;) {
        std::string answer = prompt_->AskForVolume(expected, next);
        if (answer.empty()) return Fail("the request for " + VolumeFileName(next) + " was cancelled");
        if (AcceptVolume(answer, next)) return true;
    }
}

bool ContainerReader::MoveToVolume(int volumeNumber) {
    if (volumeNumber == volumeNumber_ && volume_.IsOpen()) return true;
    if (volumeNumber < volumeNumber_ || !volume_.IsOpen()) {
        // Going back happens only in tools that extract out of order; the engine moves forward.
        if (volumeNumber == kFirstVolume) {
            if (!volume_.Open(setupPath_)) return Fail("cannot open " + setupPath_);
            volumeNumber_ = kFirstVolume;
            tail_.volumeNumber = tail_.volumeCounter = kFirstVolume;
            position_ = 0;
            streamLimit_ = volume_.Length() - std::int64_t(kTailSize);
            return true;
        }
        return AcceptVolume(VolumePath(volumeFolder_, volumeNumber), volumeNumber);
    }
    while (volumeNumber_ < volumeNumber) {
        if (!ChangeVolume()) return false;
    }
    return true;
}

void ContainerReader::SetEntryTime(const FileEntry& entry) {
    SetFileLocalTimes(entry.path, ParseEntryTime(entry.timeText));
}

}  // namespace vesk
