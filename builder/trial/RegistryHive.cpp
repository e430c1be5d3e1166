// Wine's registry file format, read line by line.
#include "builder/trial/RegistryHive.h"

#include <vector>

#include "builder/trial/WineText.h"

namespace vesk::trial {
namespace {

constexpr std::string_view kSignature = "WINE REGISTRY Version 2";

// The end of a text that started before `from` and ends at the first `close` not escaped by a
// backslash; npos when there is none.
std::size_t ClosingAt(std::string_view line, std::size_t from, char close) {
    for (std::size_t i = from; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == close) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::string_view TrimmedStart(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    return line;
}

// Hands out the lines of a text one by one.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = WithoutCarriageReturn(text_.substr(pos_, end - pos_));
        pos_ = end + 1;
        ++number_;
        return true;
    }
    std::size_t Number() const { return number_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

}  // namespace

std::string FoldedName(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    return folded;
}

bool RegistryHive::Parse(std::string_view text, std::string& error) {
    keys_.clear();
    Lines lines(text);
    std::string_view line;
    if (!lines.Next(line) || line != kSignature) {
        error = "line 1: not a Wine registry file (it does not start with \"" +
                std::string(kSignature) + "\")";
        return false;
    }
    HiveKey* key = nullptr;
    auto fail = [&](const char* what) {
        error = "line " + std::to_string(lines.Number()) + ": " + what;
        keys_.clear();
        return false;
    };
    while (lines.Next(line)) {
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = ClosingAt(line, 1, ']');
            if (close == std::string_view::npos) return fail("a key without its closing \"]\"");
            std::string path = UnescapeWineText(line.substr(1, close - 1));
            HiveKey& entry = keys_[FoldedName(path)];
            entry.path = std::move(path);
            key = &entry;
            continue;
        }
        if (!key) return fail("a value before the first key");
        std::size_t equals = 0;
        std::string name;
        if (line.front() == '@') {
            equals = 1;
        } else if (line.front() == '"') {
            const std::size_t close = ClosingAt(line, 1, '"');
            if (close == std::string_view::npos)
                return fail("a value name without its closing quote");
            name = UnescapeWineText(line.substr(1, close - 1));
            equals = close + 1;
        } else {
            return fail("neither a key, a value nor a comment");
        }
        if (equals >= line.size() || line[equals] != '=') return fail("a value name without \"=\"");
        std::string data(line.substr(equals + 1));
        // Long hex data goes on over lines that end in a backslash.
        while (!data.empty() && data.back() == '\\' && data.compare(0, 3, "hex") == 0) {
            data.pop_back();
            if (!lines.Next(line)) return fail("the file ends inside a value");
            data += TrimmedStart(line);
        }
        HiveValue& value = key->values[FoldedName(name)];
        value.name = std::move(name);
        value.data = std::move(data);
    }
    AddImpliedKeys();
    return true;
}

void RegistryHive::AddImpliedKeys() {
    std::vector<std::string> paths;
    for (const auto& [folded, key] : keys_) paths.push_back(key.path);
    for (const std::string& path : paths) {
        for (std::size_t end = path.rfind('\\'); end != std::string::npos && end > 0;
             end = path.rfind('\\', end - 1)) {
            HiveKey& parent = keys_[FoldedName(path.substr(0, end))];
            if (!parent.path.empty()) break;  // known, and so are the keys above it
            parent.path = path.substr(0, end);
        }
    }
}

}  // namespace vesk::trial
