// Reading finished setups for listing and extraction.
#include "builder/inspection/SetupInspector.h"

#include <algorithm>

#include "container/VolumeFile.h"
#include "project/TaskSlots.h"

namespace vesk {
SetupInspector::SetupInspector() : reader_(std::make_unique<ContainerReader>(stop_)) {}

bool SetupInspector::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool SetupInspector::FailReading(const FileEntry& entry) {
    // A damaged set leads the message, as the engine's own message does.
    if (!reader_->DamagedVolume().empty()) {
        return Fail(reader_->LastError() + ", reading " + entry.rawPath);
    }
    return Fail(entry.rawPath + ": " + reader_->LastError());
}

bool SetupInspector::Open(const std::string& setupPath) {
    if (!reader_->OpenContainer(setupPath)) return Fail(reader_->LastError());
    if (!reader_->ReadProjectText(projectText_)) {
        if (!reader_->DamagedVolume().empty()) return Fail(reader_->LastError());
        return Fail(setupPath + ": the project section cannot be read: " + reader_->LastError());
    }
    const std::vector<std::string> entryTexts = ReadProjectModel();
    if (entries_.empty()) return Fail(setupPath + ": the project lists no files");
    const std::string method = project_.GetValue(TaskIdForSlot(kSlotProjectProperties),
                                                 SubTaskType::GetAllVar, FieldKind::CompressType);
    // The method says what an entry's offset names (a solid file's lies among its blocks').
    if (!reader_->SetBodyMethod(method)) return Fail(reader_->LastError());
    if (!reader_->CheckFileList(entryTexts)) return Fail(reader_->LastError());
    reader_->SetVolumeSize(diskSize_);
    reader_->SetVolumeArithmetic(true);
    return true;
}

std::vector<std::string> SetupInspector::ReadProjectModel() {
    project_.Parse(projectText_);
    const std::string kProperties = TaskIdForSlot(kSlotProjectProperties);
    const std::string kExtract = TaskIdForSlot(kSlotExtractFiles);
    diskSize_ =
        LeadingInt(project_.GetValue(kProperties, SubTaskType::GetAllVar, FieldKind::DiskSize));
    entries_.clear();
    std::vector<std::string> texts =
        project_.GetValues(kExtract, SubTaskType::FileList, FieldKind::File).Lines();
    for (const std::string& text : texts) entries_.push_back(ParseFileEntry(text));
    folders_ = project_.GetValues(kExtract, SubTaskType::FolderList, FieldKind::Folder).Lines();
    return texts;
}

int SetupInspector::VolumeOfPosition(std::int64_t position) const {
    std::int64_t share = reader_->VolumeSize();
    return share > 0 && position >= 0 ? int(position / share + 1) : 1;
}

std::int64_t SetupInspector::StreamStart(const FileEntry& entry) const {
    const BlockIndex& blocks = reader_->Blocks();
    const long block = reader_->Method() == BodyMethod::LzmaSolid && !entry.IsRaw() &&
                               entry.size > 0 && entry.offset >= 0
                           ? blocks.BlockOf(std::uint32_t(entry.offset), std::uint32_t(entry.size))
                           : -1;
    return block < 0 ? entry.offset : blocks.blocks[std::size_t(block)].offset;
}

std::int64_t SetupInspector::StreamLast(const FileEntry& entry) const {
    const std::int64_t start = StreamStart(entry);
    if (start == entry.offset) return start + std::max<std::int64_t>(entry.size - 1, 0);
    const BlockIndex& blocks = reader_->Blocks();
    const long block = blocks.BlockOf(std::uint32_t(entry.offset), std::uint32_t(entry.size));
    return start + std::int64_t(blocks.blocks[std::size_t(block)].stored) - 1;
}

bool SetupInspector::CheckVolume(int volumeNumber) {
    return reader_->OpenVolume(volumeNumber) ? true : Fail(reader_->LastError());
}

bool SetupInspector::ReadBody(const FileEntry& entry, std::string& bytes) {
    StringSink sink;
    stop_ = false;
    if (!reader_->ExtractTo(sink, entry.offset, entry.size, entry.IsRaw())) {
        return FailReading(entry);
    }
    bytes = std::move(sink.bytes);
    return true;
}

bool SetupInspector::ExtractBody(const FileEntry& entry, ByteSink& sink) {
    stop_ = false;
    if (!reader_->ExtractTo(sink, entry.offset, entry.size, entry.IsRaw())) {
        return FailReading(entry);
    }
    return true;
}

std::optional<ContainerTail> ReadVolumeTail(const std::string& path) {
    VolumeFile file;
    LocatedTail located;
    if (!file.Open(path) || !ReadContainerTail(file, located)) return std::nullopt;
    return located.tail;
}

std::optional<std::string> ExtractionPathFor(const std::string& rawPath) {
    std::string path = rawPath;
    if (!path.empty() && path[0] == '[') {
        std::size_t close = path.find(']');
        if (close != std::string::npos)
            path = path.substr(1, close - 1) + "\\" + path.substr(close + 1);
    } else if (path.size() >= 2 && path[1] == ':') {
        path = path.substr(0, 1) + "\\" + path.substr(2);
    }
    std::string result;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t stop = path.find_first_of("\\/", start);
        if (stop == std::string::npos) stop = path.size();
        std::string part = path.substr(start, stop - start);
        start = stop + 1;
        if (part.empty() || part == ".") continue;
        if (part == ".." || part.find(':') != std::string::npos) return std::nullopt;
        result += (result.empty() ? "" : "/") + part;
    }
    if (result.empty()) return std::nullopt;
    return result;
}

}  // namespace vesk
