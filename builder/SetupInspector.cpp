// Reading finished setups for listing and extraction.
#include "SetupInspector.h"

#include <sstream>

#include "container/OutputFile.h"

namespace vesk {
namespace {

// The value of a one-line element "<Name>value</Name>" when the line is one, else nothing.
std::optional<std::string> ElementValue(const std::string& line, const std::string& name) {
    std::string open = "<" + name + ">";
    if (line.compare(0, open.size(), open) != 0) return std::nullopt;
    std::size_t end = line.find('<', open.size());
    return line.substr(open.size(), end == std::string::npos ? std::string::npos : end - open.size());
}

}  // namespace

SetupInspector::SetupInspector() : reader_(std::make_unique<ContainerReader>(stop_)) {}

bool SetupInspector::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool SetupInspector::Open(const std::string& setupPath) {
    if (!reader_->OpenContainer(setupPath)) return Fail(reader_->LastError());
    if (!reader_->ReadProjectText(projectText_)) {
        return Fail(setupPath + ": the project section cannot be read: " + reader_->LastError());
    }
    ScanProject();
    if (entries_.empty()) return Fail(setupPath + ": the project lists no files");
    reader_->SetVolumeSize(diskSize_);
    reader_->SetVolumeArithmetic(true);
    return true;
}

void SetupInspector::ScanProject() {
    entries_.clear();
    folders_.clear();
    diskSize_ = 0;
    bool haveDiskSize = false;
    std::istringstream lines(projectText_);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (auto value = ElementValue(line, "File")) {
            entries_.push_back(ParseFileEntry(*value));
        } else if (auto folder = ElementValue(line, "Folder")) {
            folders_.push_back(*folder);
        } else if (auto size = ElementValue(line, "DiskSize"); size && !haveDiskSize) {
            diskSize_ = LeadingInt(*size);
            haveDiskSize = true;
        }
    }
}

int SetupInspector::VolumeOfPosition(std::int64_t position) const {
    std::int64_t share = reader_->VolumeSize();
    return share > 0 && position >= 0 ? int(position / share + 1) : 1;
}

bool SetupInspector::ReadBody(const FileEntry& entry, std::string& bytes) {
    StringSink sink;
    stop_ = false;
    if (!reader_->ExtractTo(sink, entry.offset, entry.size, entry.IsRaw())) {
        return Fail(entry.rawPath + ": " + reader_->LastError());
    }
    bytes = std::move(sink.bytes);
    return true;
}

bool SetupInspector::ExtractBody(const FileEntry& entry, const std::string& outputPath) {
    stop_ = false;
    if (!reader_->ExtractEntry(outputPath, entry.offset, entry.size, entry.IsRaw())) {
        return Fail(entry.rawPath + ": " + reader_->LastError());
    }
    return true;
}

std::optional<std::string> ExtractionPathFor(const std::string& rawPath) {
    std::string path = rawPath;
    if (!path.empty() && path[0] == '[') {
        std::size_t close = path.find(']');
        if (close != std::string::npos) path = path.substr(1, close - 1) + "\\" + path.substr(close + 1);
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
