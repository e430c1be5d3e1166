// The list of text lines behind every line-oriented file (project, language file, path lists):
// split at CR LF, joined with CR LF, read and written as whole files in byte mode.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vesk {

class TextLineList {
public:
    // Mirrors the list in a view (a combo box on the Windows side). The list tells it about every
    // appended line and every clearing; the view decides what clearing means for its own state
    // (the combo box keeps the text of its edit field).
    class Observer {
    public:
        virtual void OnLineAdded(const std::string& line) = 0;
        virtual void OnCleared() = 0;

    protected:
        ~Observer() = default;
    };

    TextLineList() = default;
    // Copies and moves take the lines only: a binding belongs to the list it was made on.
    TextLineList(const TextLineList& other) : lines_(other.lines_) {}
    TextLineList(TextLineList&& other) noexcept : lines_(std::move(other.lines_)) {}
    TextLineList& operator=(const TextLineList& other);
    TextLineList& operator=(TextLineList&& other) noexcept;

    // Binds a view (nullptr unbinds). The observer must outlive the binding; lines already in
    // the list are not replayed.
    void Bind(Observer* observer) { observer_ = observer; }

    void Add(const std::string& text);
    void Clear();
    std::size_t Count() const { return lines_.size(); }
    bool Empty() const { return lines_.empty(); }
    // i must be below Count().
    const std::string& At(std::size_t i) const { return lines_[i]; }
    const std::vector<std::string>& Lines() const { return lines_; }
    std::vector<std::string>::const_iterator begin() const { return lines_.begin(); }
    std::vector<std::string>::const_iterator end() const { return lines_.end(); }

    // Adds the lines of text, clearing first unless append is set. Lines end at CR LF only (a
    // lone CR or LF is an ordinary byte); empty lines between two CR LF are kept, and a CR LF
    // at the very end adds no empty last line. An empty text adds nothing.
    void SplitAppend(const std::string& text, bool append);

    // Every line followed by CR LF.
    std::string Join() const;

    // Replaces the content with the lines of the file. The file is read in blocks of
    // kReadBlockSize bytes and each block ends at its first NUL (what follows it in that block is
    // dropped), so a stray NUL cannot hide the rest of the file. A file that cannot be opened or
    // read, or is empty, leaves the list as it was and gives false.
    bool ReadFile(const std::string& path);
    // The same for a file's bytes already in memory (decoded from the payload), read block by
    // block as ReadFile reads them; false and unchanged for no bytes.
    bool ReadFileBytes(const std::string& bytes);

    // Creates or truncates the file and writes every line followed by CR LF, byte for byte, after
    // a UTF-8 byte order mark when asked. False when the file cannot be created or not every
    // byte reached it.
    bool WriteFile(const std::string& path, bool byteOrderMark = false) const;

    // Decodes every line, stored in `codePage`, to UTF-8 (platform/TextDecoding.h); a UTF-8
    // byte order mark opening the first line overrides the code page and is removed.
    void Decode(unsigned codePage);

    static constexpr std::size_t kReadBlockSize = 2048;

private:
    std::vector<std::string> lines_;
    Observer* observer_ = nullptr;
};

}  // namespace vesk
