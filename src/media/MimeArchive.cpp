// A walk over the parts of a MIME message that remembers where the first HTML and the first
// plain text part lie and decodes only the one it picks.
#include "media/MimeArchive.h"

#include <cstddef>

#include "media/MimeHeader.h"
#include "media/TransferEncoding.h"

namespace vesk {
namespace {

// Multiparts inside multiparts followed this deep (an archive nests one or two).
constexpr int kMaxNesting = 8;

struct Candidate {
    bool found = false;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string mediaType;
    std::string charset;
    std::string transferEncoding;
};

bool IsHtmlType(const std::string& mediaType) {
    return mediaType == "text/html" || mediaType == "application/xhtml+xml";
}

class MimePartFinder {
public:
    explicit MimePartFinder(const std::string& text) : text_(text) {}

    // Looks at the part [begin, end): header block, then body or nested parts.
    void Part(std::size_t begin, std::size_t end, int depth);

    const Candidate& Chosen() const { return html_.found ? html_ : plain_; }

private:
    void Multipart(std::size_t begin, std::size_t end, const std::string& boundary, int depth);
    bool IsDelimiter(std::size_t lineStart, std::size_t lineEnd, const std::string& delimiter,
                     bool& closing) const;

    const std::string& text_;
    Candidate html_;
    Candidate plain_;
};

void MimePartFinder::Part(std::size_t begin, std::size_t end, int depth) {
    if (html_.found) return;
    std::size_t body = begin;
    const MimeHeader header = ReadMimeHeader(text_, body, end);
    const ContentType type = ParseContentType(header.contentType);
    if (type.mediaType.compare(0, 10, "multipart/") == 0) {
        if (depth < kMaxNesting && !type.boundary.empty()) {
            Multipart(body, end, type.boundary, depth + 1);
        }
        return;
    }
    const bool html = IsHtmlType(type.mediaType);
    const bool plain = type.mediaType.empty() || type.mediaType == "text/plain";
    if (!html && !(plain && !plain_.found)) return;
    Candidate& candidate = html ? html_ : plain_;
    candidate.found = true;
    candidate.begin = body;
    candidate.end = end;
    candidate.mediaType = type.mediaType;
    candidate.charset = type.charset;
    candidate.transferEncoding = header.transferEncoding;
}

void MimePartFinder::Multipart(std::size_t begin, std::size_t end, const std::string& boundary,
                               int depth) {
    const std::string delimiter = "--" + boundary;
    std::size_t partStart = std::string::npos;
    std::size_t lineStart = begin;
    while (lineStart < end && !html_.found) {
        const std::size_t newline = text_.find('\n', lineStart);
        const std::size_t lineEnd =
            (newline == std::string::npos || newline >= end) ? end : newline;
        const std::size_t next = lineEnd == end ? end : lineEnd + 1;
        bool closing = false;
        if (IsDelimiter(lineStart, lineEnd, delimiter, closing)) {
            if (partStart != std::string::npos) {
                // The line end before a delimiter belongs to the delimiter.
                std::size_t partEnd = lineStart;
                if (partEnd > partStart && text_[partEnd - 1] == '\n') --partEnd;
                if (partEnd > partStart && text_[partEnd - 1] == '\r') --partEnd;
                Part(partStart, partEnd, depth);
            }
            if (closing) return;
            partStart = next;
        }
        lineStart = next;
    }
    if (partStart != std::string::npos && partStart < end) Part(partStart, end, depth);
}

bool MimePartFinder::IsDelimiter(std::size_t lineStart, std::size_t lineEnd,
                                 const std::string& delimiter, bool& closing) const {
    if (lineEnd - lineStart < delimiter.size() ||
        text_.compare(lineStart, delimiter.size(), delimiter) != 0) {
        return false;
    }
    std::size_t rest = lineStart + delimiter.size();
    closing = text_.compare(rest, 2, "--") == 0 && rest + 2 <= lineEnd;
    if (closing) rest += 2;
    for (; rest < lineEnd; ++rest) {
        const char c = text_[rest];
        if (c != ' ' && c != '\t' && c != '\r') return false;
    }
    return true;
}

}  // namespace

std::optional<MimeDocument> ReadMimeDocument(const std::string& bytes) {
    if (!StartsWithHeaderField(bytes, 0)) return std::nullopt;
    std::size_t body = 0;
    const MimeHeader header = ReadMimeHeader(bytes, body, bytes.size());
    if (!header.mimeVersion && header.contentType.empty()) return std::nullopt;

    MimePartFinder finder(bytes);
    finder.Part(0, bytes.size(), 0);
    const Candidate& chosen = finder.Chosen();
    if (!chosen.found) return std::nullopt;
    MimeDocument document;
    document.body =
        DecodeTransferEncoding(bytes, chosen.begin, chosen.end, chosen.transferEncoding);
    document.mediaType = chosen.mediaType;
    document.charset = chosen.charset;
    return document;
}

}  // namespace vesk
