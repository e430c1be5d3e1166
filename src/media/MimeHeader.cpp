// Header fields of MIME messages as web archives write them: folded lines, quoted parameters,
// either line end.
#include "media/MimeHeader.h"

#include <cstring>

namespace vesk {
namespace {

constexpr std::size_t kMaxFieldNameLength = 76;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return text;
}

std::string Trimmed(const std::string& text, std::size_t begin, std::size_t end) {
    while (begin < end && (IsBlank(text[begin]) || text[begin] == '\r')) ++begin;
    while (end > begin && (IsBlank(text[end - 1]) || text[end - 1] == '\r')) --end;
    return text.substr(begin, end - begin);
}

// The end of the line at `pos` (before CR LF or LF) and the start of the next one.
void LineAt(const std::string& text, std::size_t pos, std::size_t end, std::size_t& lineEnd,
            std::size_t& next) {
    std::size_t newline = text.find('\n', pos);
    if (newline == std::string::npos || newline >= end) {
        lineEnd = next = end;
        return;
    }
    next = newline + 1;
    lineEnd = (newline > pos && text[newline - 1] == '\r') ? newline - 1 : newline;
}

void AppendCapped(std::string& field, const std::string& part) {
    if (field.size() >= MimeHeader::kMaxFieldLength) return;
    field.append(part, 0, MimeHeader::kMaxFieldLength - field.size());
}

}  // namespace

MimeHeader ReadMimeHeader(const std::string& text, std::size_t& pos, std::size_t end) {
    MimeHeader header;
    std::string* field = nullptr;  // the field folded lines continue
    while (pos < end) {
        std::size_t lineEnd = 0;
        std::size_t next = 0;
        LineAt(text, pos, end, lineEnd, next);
        const std::size_t start = pos;
        pos = next;
        if (lineEnd == start) break;
        if (IsBlank(text[start])) {
            if (field) AppendCapped(*field, " " + Trimmed(text, start, lineEnd));
            continue;
        }
        field = nullptr;
        // Searched within the line only: a long run of lines without colons stays linear.
        const void* found = std::memchr(text.data() + start, ':', lineEnd - start);
        if (!found) continue;
        const std::size_t colon = std::size_t(static_cast<const char*>(found) - text.data());
        const std::string name = Lower(Trimmed(text, start, colon));
        const std::string value = Trimmed(text, colon + 1, lineEnd);
        if (name == "mime-version") {
            header.mimeVersion = true;
        } else if (name == "content-type") {
            header.contentType.clear();
            AppendCapped(header.contentType, value);
            field = &header.contentType;
        } else if (name == "content-transfer-encoding") {
            header.transferEncoding.clear();
            AppendCapped(header.transferEncoding, value);
            field = &header.transferEncoding;
        }
    }
    header.transferEncoding =
        Lower(Trimmed(header.transferEncoding, 0, header.transferEncoding.size()));
    return header;
}

bool StartsWithHeaderField(const std::string& text, std::size_t pos) {
    std::size_t at = pos;
    while (at < text.size() && at - pos <= kMaxFieldNameLength) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (c == ':') return at > pos;
        if (c <= ' ' || c >= 0x7F) return false;
        ++at;
    }
    return false;
}

ContentType ParseContentType(const std::string& value) {
    ContentType type;
    std::size_t pos = value.find(';');
    type.mediaType = Lower(Trimmed(value, 0, pos == std::string::npos ? value.size() : pos));
    while (pos != std::string::npos && pos < value.size()) {
        ++pos;  // past ';'
        const std::size_t equals = value.find_first_of("=;", pos);
        if (equals == std::string::npos) break;
        if (value[equals] == ';') {
            pos = equals;
            continue;
        }
        const std::string name = Lower(Trimmed(value, pos, equals));
        pos = equals + 1;
        while (pos < value.size() && IsBlank(value[pos])) ++pos;
        std::string parameter;
        if (pos < value.size() && value[pos] == '"') {
            for (++pos; pos < value.size() && value[pos] != '"'; ++pos) {
                if (value[pos] == '\\' && pos + 1 < value.size()) ++pos;
                parameter += value[pos];
            }
            pos = value.find(';', pos);
        } else {
            const std::size_t semicolon = value.find(';', pos);
            parameter =
                Trimmed(value, pos, semicolon == std::string::npos ? value.size() : semicolon);
            pos = semicolon;
        }
        if (name == "boundary") {
            type.boundary = parameter;
        } else if (name == "charset") {
            type.charset = Lower(Trimmed(parameter, 0, parameter.size()));
        }
    }
    return type;
}

}  // namespace vesk
