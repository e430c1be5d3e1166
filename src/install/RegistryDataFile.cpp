// Reading registry data files in fixed blocks and applying them line by line.
#include "install/RegistryDataFile.h"

#include <cstring>
#include <memory>
#include <vector>

#include "platform/FileOpen.h"
#include "project/RegistryKey.h"
#include "project/ValueTokens.h"

namespace vesk {
namespace {

constexpr std::size_t kReadBlockSize = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Turns complete lines into registry writes; owns the current key between lines.
class DataFileApplier {
public:
    DataFileApplier(Registry& registry, const PathResolver* paths)
        : registry_(registry), paths_(paths) {}

    // One line without its line end. `passedOver` marks a line too long to keep, of which only
    // the first byte is known (`line` holds just that byte).
    void Apply(const std::string& line, bool passedOver) {
        using Kind = RegistryDataLine::Kind;
        if (passedOver) {
            if (!line.empty() && line.front() == '[') key_.reset();
            return;
        }
        const RegistryDataLine read = ReadRegistryDataLine(line);
        switch (read.kind) {
            case Kind::Key:
                key_.reset();
                key_ = OpenBracketedKey(registry_, read.key);
                break;
            case Kind::NoKey:
                key_.reset();
                break;
            case Kind::Value:
                if (key_) {
                    const std::string data =
                        paths_ ? ExpandValueTokens(read.data, paths_->Expander()) : read.data;
                    key_->SetValue(read.name, RegistryValue{kRegistryString, data + '\0'});
                }
                break;
            case Kind::Empty:
            case Kind::Other:
                break;
        }
    }

private:
    Registry& registry_;
    const PathResolver* paths_;
    std::unique_ptr<RegistryHandle> key_;
};

// Collects the bytes of one line, up to kLongestRegistryDataLine and a CR; beyond that it keeps
// only the line's first byte.
class LineCollector {
public:
    void Append(const char* bytes, std::size_t size) {
        if (size == 0) return;
        if (passedOver_) return;
        if (line_.size() + size > kLongestRegistryDataLine + 1) {
            const char first = line_.empty() ? bytes[0] : line_[0];
            line_.assign(1, first);
            line_.shrink_to_fit();
            passedOver_ = true;
            return;
        }
        line_.append(bytes, size);
    }

    // Hands the line without its CR to `applier` and starts the next one.
    void Finish(DataFileApplier& applier) {
        if (!passedOver_ && !line_.empty() && line_.back() == '\r') line_.pop_back();
        if (line_.size() > kLongestRegistryDataLine) {
            line_.resize(1);
            passedOver_ = true;
        }
        applier.Apply(line_, passedOver_);
        line_.clear();
        passedOver_ = false;
    }

private:
    std::string line_;
    bool passedOver_ = false;
};

}  // namespace

void ApplyRegistryData(Registry& registry, std::FILE* file, const PathResolver* paths) {
    DataFileApplier applier(registry, paths);
    LineCollector line;
    std::vector<char> block(kReadBlockSize);
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), file);
        if (got == 0) break;
        const char* at = block.data();
        const char* const end = at + got;
        while (at < end) {
            const void* lineFeed = std::memchr(at, '\n', std::size_t(end - at));
            const char* stop = lineFeed ? static_cast<const char*>(lineFeed) : end;
            line.Append(at, std::size_t(stop - at));
            if (!lineFeed) break;
            line.Finish(applier);
            at = stop + 1;
        }
    }
    // What is left has no line end: such a last line is not applied.
}

void ApplyRegistryDataFile(Registry& registry, const std::string& path, const PathResolver* paths) {
    std::unique_ptr<std::FILE, FileCloser> file(OpenFile(path, "rb"));
    if (file) ApplyRegistryData(registry, file.get(), paths);
}

}  // namespace vesk
