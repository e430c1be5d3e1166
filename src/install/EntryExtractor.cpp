// Writing a file-list entry's body to its file.
#include "install/EntryExtractor.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace vesk {
namespace {

// Makes the file when the first bytes come (or at the end, for an empty body), and writes it in
// blocks of the size of `block` whatever the pieces the decoder hands over: few system calls.
class ProductFileSink : public ByteSink {
public:
    ProductFileSink(FileSystem& files, const std::string& path, std::string& why,
                    std::vector<std::uint8_t>& block)
        : files_(files), path_(path), why_(why), block_(block) {}

    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (fill_ == 0 && size >= block_.size()) return Open() && file_->Write(data, size);
        while (size > 0) {
            const std::size_t take = std::min(size, block_.size() - fill_);
            std::memcpy(block_.data() + fill_, data, take);
            fill_ += take;
            data += take;
            size -= take;
            if (fill_ == block_.size() && !Drain()) return false;
        }
        return true;
    }
    bool Drain() {
        if (fill_ == 0) return true;
        const std::size_t size = fill_;
        fill_ = 0;
        return Open() && file_->Write(block_.data(), size);
    }
    bool Open() {
        if (!file_ && !failed_) file_ = files_.CreateAnew(path_, why_);
        failed_ = !file_;
        return !failed_;
    }
    // Closes a file that was begun; nothing is made for a body that was never found.
    void Abandon() {
        Drain();  // what was decoded is kept, as the reader keeps it
        if (file_) file_->Close();
    }
    bool Finish(const EntryTime& time) {
        if (!Open() || !Drain()) {
            Abandon();
            return false;
        }
        file_->SetLocalTime(time);
        if (file_->Close()) return true;
        why_ = path_ + ": cannot write the file";
        return false;
    }

private:
    FileSystem& files_;
    const std::string& path_;
    std::string& why_;
    std::vector<std::uint8_t>& block_;
    std::size_t fill_ = 0;
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
    if (block_.empty()) block_.resize(kWriteBlock);
    ProductFileSink file(files_, entry.path, error_, block_);
    if (!reader_.ExtractTo(file, entry.offset, entry.size, entry.IsRaw())) {
        file.Abandon();
        return false;
    }
    // A body read whole makes its file even when it is empty.
    return file.Finish(ParseEntryTime(entry.timeText));
}

}  // namespace vesk
