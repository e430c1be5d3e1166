// The run's temporary folder.
#include "session/RunFolder.h"

#include <algorithm>

#include "project/PathParts.h"
#include "project/WindowsNames.h"

namespace vesk {
namespace {

// Passes the bytes on to the held file.
class HeldFileSink : public ByteSink {
public:
    explicit HeldFileSink(HeldFile& file) : file_(file) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        return file_.Write(data, size);
    }

private:
    HeldFile& file_;
};

}  // namespace

Status RunFolder::Create(const std::string& systemTemp, const std::string& prefix) {
    LockGuard hold(lock_);
    if (folder_) return Status::Failure("the run's folder is made already: " + folder_->Path());
    folder_ = files_.CreatePrivateFolder(systemTemp, prefix);
    if (!folder_) return Status::Failure("cannot make the run's folder in " + systemTemp);
    return Status();
}

std::string RunFolder::Path() const {
    LockGuard hold(lock_);
    return folder_ ? folder_->Path() : std::string();
}

bool RunFolder::Contains(const std::string& path) const {
    const std::string folder = Path();
    if (folder.empty() || path.size() <= folder.size() + 1 ||
        path.compare(0, folder.size(), folder) != 0 || path[folder.size()] != '\\') {
        return false;
    }
    const std::string inside = path.substr(folder.size() + 1);
    // Every part must be a name of its own: an empty part ("\\") or a trailing backslash would
    // let the system read the rest differently.
    const std::vector<std::string> parts = PathComponents(inside);
    std::string rebuilt;
    std::string why;
    for (const std::string& part : parts) {
        if (!CheckWindowsName(part, why)) return false;
        if (!rebuilt.empty()) rebuilt += '\\';
        rebuilt += part;
    }
    return rebuilt == inside;
}

bool RunFolder::WriteNewFile(const std::string& path, const FileProducer& produce) {
    if (!Contains(path)) return false;
    std::unique_ptr<HeldFile> file = files_.CreateNewFile(path);
    if (!file) return false;
    HeldFileSink sink(*file);
    const bool written = produce(sink) && file->Seal();
    LockGuard hold(lock_);
    held_.push_back(std::move(file));
    if (written) written_.push_back(path);
    return written;
}

bool RunFolder::Wrote(const std::string& path) const {
    LockGuard hold(lock_);
    return std::find(written_.begin(), written_.end(), path) != written_.end();
}

void RunFolder::Remove() {
    LockGuard hold(lock_);
    held_.clear();
    written_.clear();
    if (folder_) folder_->RemoveWithContents();
    folder_.reset();
}

}  // namespace vesk
