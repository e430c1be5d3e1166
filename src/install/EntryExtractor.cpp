// Writing a file-list entry's body to its file.
#include "install/EntryExtractor.h"

#include <memory>

namespace vesk {
namespace {

// Makes the file when the first bytes come (or at the end, for an empty body).
class ProductFileSink : public ByteSink {
public:
    ProductFileSink(FileSystem& files, const std::string& path, std::string& why)
        : files_(files), path_(path), why_(why) {}

    bool Write(const std::uint8_t* data, std::size_t size) override {
        return Open() && file_->Write(data, size);
    }
    bool Open() {
        if (!file_ && !failed_) file_ = files_.CreateAnew(path_, why_);
        failed_ = !file_;
        return !failed_;
    }
    // Closes a file that was begun; nothing is made for a body that was never found.
    void Abandon() {
        if (file_) file_->Close();
    }
    bool Finish(const EntryTime& time) {
        if (!Open()) return false;
        file_->SetLocalTime(time);
        if (file_->Close()) return true;
        why_ = path_ + ": cannot write the file";
        return false;
    }

private:
    FileSystem& files_;
    const std::string& path_;
    std::string& why_;
    std::unique_ptr<NewFile> file_;
    bool failed_ = false;
};

}  // namespace

bool ReaderExtractor::Extract(const FileEntry& entry) {
    error_.clear();
    if (runFolder_.Contains(entry.path)) {
        return runFolder_.WriteNewFile(entry.path, [this, &entry](ByteSink& sink) {
            return reader_.ExtractTo(sink, entry.offset, entry.size, entry.IsRaw());
        });
    }
    ProductFileSink file(files_, entry.path, error_);
    if (!reader_.ExtractTo(file, entry.offset, entry.size, entry.IsRaw())) {
        file.Abandon();
        return false;
    }
    // A body read whole makes its file even when it is empty.
    return file.Finish(ParseEntryTime(entry.timeText));
}

}  // namespace vesk
