// Reading and writing product records.
#include "session/ProductRecord.h"

#include <cstring>
#include <iterator>
#include <map>
#include <utility>

#include "container/Crc32.h"
#include "platform/TextDecoding.h"
#include "project/NameCase.h"
#include "project/TextLineList.h"

namespace vesk {
namespace {

constexpr char kFirstLine[] = "VeskInstall record 2";
// The first line of the records of earlier engines, whose texts are in the ANSI code page.
constexpr char kAnsiFirstLine[] = "VeskInstall record 1";

bool IsStringType(std::uint32_t type) {
    return type == kRegistryString || type == kRegistryExpandString || type == kRegistryMultiString;
}

// A string value of an earlier engine's record in UTF-8, as the registry now gives it.
void DecodeStringValue(std::optional<RegistryValue>& value) {
    if (value && IsStringType(value->type)) value->data = DecodeToUtf8(value->data, kAnsiCodePage);
}
constexpr char kLastLine[] = "End";
constexpr char kSeparator = '|';
constexpr int kChangeFields = 9;
const char kHex[] = "0123456789ABCDEF";

struct KindName {
    ChangeKind kind;
    const char* name;
};
// FileReplaced stands for every file that was there before the install.
const KindName kKindNames[] = {
    {ChangeKind::FolderCreated, "folder"},     {ChangeKind::FileCreated, "file"},
    {ChangeKind::FileReplaced, "existing"},    {ChangeKind::RegistryKeyCreated, "key"},
    {ChangeKind::RegistryValueSet, "value"},   {ChangeKind::FontAdded, "font"},
    {ChangeKind::FontListed, "listing"},       {ChangeKind::ComponentRegistered, "component"},
    {ChangeKind::SharedFileCounted, "shared"},
};

// Folds a later change of the same thing into the recorded one; false when the thing drops out.
bool Fold(Change& recorded, const Change& later) {
    switch (later.kind) {
        case ChangeKind::RegistryValueDeleted:
        case ChangeKind::RegistryKeyDeleted:
        case ChangeKind::ComponentUnregistered:
        case ChangeKind::FolderRemoved:
            return false;
        case ChangeKind::RegistryValueSet:
        case ChangeKind::FontListed:
        case ChangeKind::SharedFileCounted:
            recorded.after = later.after;
            recorded.keepAtUninstall = later.keepAtUninstall;
            return true;
        default:
            if (later.stamp) recorded.stamp = later.stamp;
            recorded.keepAtUninstall = recorded.keepAtUninstall || later.keepAtUninstall;
            recorded.wholeTree = recorded.wholeTree || later.wholeTree;
            return true;
    }
}

// The change as the record keeps it, or false when the record keeps nothing of it.
bool Recorded(const Change& change, Change& recorded) {
    switch (change.kind) {
        case ChangeKind::FolderCreated:
        case ChangeKind::FileCreated:
        case ChangeKind::RegistryKeyCreated:
        case ChangeKind::RegistryValueSet:
        case ChangeKind::FontAdded:
        case ChangeKind::FontListed:
        case ChangeKind::ComponentRegistered:
        case ChangeKind::SharedFileCounted:
            recorded = change;
            break;
        case ChangeKind::FileReplaced:
        case ChangeKind::FileOverwritten:
            recorded = change;
            recorded.kind = ChangeKind::FileReplaced;
            break;
        default:
            return false;
    }
    recorded.copy = change.kind == ChangeKind::ComponentRegistered ? change.copy : std::string();
    recorded.values.clear();
    return true;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%' || c == kSeparator) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescaped(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return false;
        out += char(high * 16 + low);
        i += 2;
    }
    return true;
}

std::string HexBytes(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    }
    return out;
}

bool ReadNumber(const std::string& text, std::uint64_t& number) {
    if (text.empty() || text.size() > 20) return false;
    number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + std::uint64_t(c - '0');
    }
    return true;
}

std::string ValueField(const std::optional<RegistryValue>& value) {
    if (!value) return "-";
    return std::to_string(value->type) + ":" + HexBytes(value->data);
}

bool ReadValueField(const std::string& text, std::optional<RegistryValue>& value) {
    value.reset();
    if (text == "-") return true;
    const std::size_t colon = text.find(':');
    std::uint64_t type = 0;
    if (colon == std::string::npos || !ReadNumber(text.substr(0, colon), type) ||
        type > 0xFFFFFFFFu || (text.size() - colon - 1) % 2 != 0) {
        return false;
    }
    RegistryValue read{std::uint32_t(type), std::string()};
    for (std::size_t i = colon + 1; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return false;
        read.data += char(high * 16 + low);
    }
    value = std::move(read);
    return true;
}

std::string StampField(const std::optional<FileStamp>& stamp) {
    if (!stamp) return "-";
    return std::to_string(stamp->size) + ":" + std::to_string(stamp->writeTime);
}

bool ReadStampField(const std::string& text, std::optional<FileStamp>& stamp) {
    stamp.reset();
    if (text == "-") return true;
    const std::size_t colon = text.find(':');
    FileStamp read;
    if (colon == std::string::npos || !ReadNumber(text.substr(0, colon), read.size) ||
        !ReadNumber(text.substr(colon + 1), read.writeTime)) {
        return false;
    }
    stamp = read;
    return true;
}

std::string ChangeLine(const Change& change) {
    const char* kind = nullptr;
    for (const KindName& entry : kKindNames) {
        if (entry.kind == change.kind) kind = entry.name;
    }
    std::string flags;
    if (change.keepAtUninstall) flags += 'k';
    if (change.wholeTree) flags += 't';
    const std::string fields[kChangeFields] = {
        kind ? kind : "",
        flags,
        std::to_string(int(change.root)),
        Escaped(change.path),
        Escaped(change.name),
        Escaped(change.copy),
        ValueField(change.before),
        ValueField(change.after),
        StampField(change.stamp),
    };
    std::string line;
    for (int i = 0; i < kChangeFields; ++i) {
        if (i) line += kSeparator;
        line += fields[i];
    }
    return line;
}

bool ReadChangeLine(const std::string& line, Change& change) {
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == kSeparator) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    if (fields.size() != std::size_t(kChangeFields)) return false;
    bool known = false;
    for (const KindName& entry : kKindNames) {
        if (fields[0] == entry.name) {
            change.kind = entry.kind;
            known = true;
        }
    }
    std::uint64_t root = 0;
    if (!known || fields[1].find_first_not_of("kt") != std::string::npos ||
        !ReadNumber(fields[2], root) || root > std::uint64_t(RegistryRoot::CurrentConfig)) {
        return false;
    }
    change.keepAtUninstall = fields[1].find('k') != std::string::npos;
    change.wholeTree = fields[1].find('t') != std::string::npos;
    change.root = RegistryRoot(root);
    return Unescaped(fields[3], change.path) && Unescaped(fields[4], change.name) &&
           Unescaped(fields[5], change.copy) && ReadValueField(fields[6], change.before) &&
           ReadValueField(fields[7], change.after) && ReadStampField(fields[8], change.stamp);
}

struct HeaderField {
    const char* name;
    std::string ProductRecord::*text;
};
// Written after Entry; a record without it is one of an install for the machine.
constexpr char kScopePrefix[] = "Scope=";

const HeaderField kHeader[] = {
    {"Identity", &ProductRecord::identity},
    {"Product", &ProductRecord::product},
    {"Version", &ProductRecord::version},
    {"Title", &ProductRecord::title},
    {"InstallFolder", &ProductRecord::installFolder},
    {"Log", &ProductRecord::logPath},
};

}  // namespace

std::vector<Change> RecordedChanges(const std::vector<Change>& journal, const FileSystem& files) {
    std::vector<Change> recorded;
    std::vector<bool> dropped;
    std::map<std::string, std::size_t> at;
    for (const Change& change : journal) {
        const std::string identity = ChangeIdentity(change);
        const auto known = at.find(identity);
        if (known != at.end()) {
            if (!dropped[known->second] && !Fold(recorded[known->second], change)) {
                dropped[known->second] = true;
            }
            continue;
        }
        Change kept;
        if (!Recorded(change, kept)) continue;
        at[identity] = recorded.size();
        recorded.push_back(std::move(kept));
        dropped.push_back(false);
    }
    std::vector<Change> result;
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        const Change& change = recorded[i];
        const bool gone =
            (change.kind == ChangeKind::FileCreated && !files.FileExists(change.path)) ||
            (change.kind == ChangeKind::FolderCreated && !files.FolderExists(change.path));
        if (!dropped[i] && !gone) result.push_back(change);
    }
    return result;
}

std::string RecordText(const ProductRecord& record) {
    TextLineList lines;
    lines.Add(kFirstLine);
    for (const HeaderField& field : kHeader) {
        lines.Add(std::string(field.name) + "=" + Escaped(record.*field.text));
    }
    lines.Add("LogDigest=" + std::to_string(record.logCrc) + "/" + std::to_string(record.logSize));
    lines.Add("Entry=" + Escaped(record.entryKey));
    lines.Add(std::string(kScopePrefix) + InstallScopeName(record.scope));
    for (const Change& change : record.changes) lines.Add(ChangeLine(change));
    lines.Add(kLastLine);
    return lines.Join();
}

bool ReadRecordText(const std::string& text, ProductRecord& record) {
    TextLineList lines;
    lines.SplitAppend(text, false);
    const std::size_t headerLines = std::size(kHeader) + 3;
    const bool ansi = lines.Count() > 0 && lines.At(0) == kAnsiFirstLine;
    if (ansi) lines.Decode(kAnsiCodePage);
    if (lines.Count() < headerLines + 1 || (lines.At(0) != kFirstLine && !ansi)) return false;
    std::size_t line = 1;
    auto field = [&](const char* name, std::string& value) {
        const std::string prefix = std::string(name) + "=";
        const std::string& held = lines.At(line++);
        return held.compare(0, prefix.size(), prefix) == 0 &&
               Unescaped(held.substr(prefix.size()), value);
    };
    for (const HeaderField& header : kHeader) {
        if (!field(header.name, record.*header.text)) return false;
    }
    std::string digest;
    std::uint64_t crc = 0;
    if (!field("LogDigest", digest) || digest.find('/') == std::string::npos ||
        !ReadNumber(digest.substr(0, digest.find('/')), crc) || crc > 0xFFFFFFFFu ||
        !ReadNumber(digest.substr(digest.find('/') + 1), record.logSize) ||
        !field("Entry", record.entryKey)) {
        return false;
    }
    record.logCrc = std::uint32_t(crc);
    record.scope = InstallScope::Machine;
    if (line < lines.Count() && lines.At(line).rfind(kScopePrefix, 0) == 0) {
        const std::optional<InstallScope> scope =
            InstallScopeFromName(lines.At(line++).substr(std::strlen(kScopePrefix)));
        if (!scope) return false;
        record.scope = *scope;
    }
    record.changes.clear();
    for (; line < lines.Count(); ++line) {
        if (lines.At(line) == kLastLine) return line + 1 == lines.Count();
        Change change;
        if (!ReadChangeLine(lines.At(line), change)) return false;
        if (ansi) {
            DecodeStringValue(change.before);
            DecodeStringValue(change.after);
        }
        record.changes.push_back(std::move(change));
    }
    return false;
}

void DigestOf(const std::string& bytes, std::uint32_t& crc, std::uint64_t& size) {
    crc = Crc32::Of(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    size = bytes.size();
}

}  // namespace vesk
