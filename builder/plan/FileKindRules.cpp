// Kind rules from tasks 2408 and 2412.
#include "builder/plan/FileKindRules.h"

#include <cctype>

#include "builder/plan/TargetPaths.h"
#include "container/FileEntry.h"
#include "project/NameCase.h"

namespace vesk {

bool WildcardMatch(const std::string& pattern, const std::string& text) {
    const std::string p = UpperName(pattern), t = UpperName(text);
    std::size_t pi = 0, ti = 0, starP = std::string::npos, starT = 0;
    while (ti < t.size()) {
        // A '*' in the pattern is a wildcard even where the text holds a '*' too.
        if (pi < p.size() && p[pi] == '*') {
            starP = pi++;
            starT = ti;
        } else if (pi < p.size() && (p[pi] == '?' || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (starP != std::string::npos) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

bool ReadMarkTime(const std::string& text, std::string& canonical) {
    static const char kSeparators[] = {'-', '-', ' ', ':', ':'};
    static const int kLimits[][2] = {{1601, 9999}, {1, 12}, {1, 31}, {0, 23}, {0, 59}, {0, 59}};
    int values[6] = {};
    std::size_t at = 0;
    for (int i = 0; i < 6; ++i) {
        std::size_t first = at;
        long value = 0;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) &&
               at - first < 5) {
            value = value * 10 + (text[at++] - '0');
        }
        if (at == first || value < kLimits[i][0] || value > kLimits[i][1]) return false;
        values[i] = int(value);
        if (i < 5) {
            if (at >= text.size() || text[at] != kSeparators[i]) return false;
            ++at;
        }
    }
    if (at != text.size()) return false;
    EntryTime time;
    time.year = values[0];
    time.month = values[1];
    time.day = values[2];
    time.hour = values[3];
    time.minute = values[4];
    time.second = values[5];
    canonical = FormatEntryTime(time);
    return true;
}

bool ReadKindMark(const std::string& text, KindMark& mark, std::string& why) {
    const std::optional<FileEntryFields> fields = SplitFileEntry(text);
    if (!fields || fields->path.empty()) {
        why = "not in the form \"target,,,KIND,\" (offset and size left empty for the builder)";
        return false;
    }
    mark.target = std::string(fields->path);
    const std::string_view offset = fields->offset, size = fields->size;
    const std::string letter(fields->kind), time(fields->time);
    if (!offset.empty() || !size.empty()) {
        why = "leave offset and size empty, the builder writes them";
        return false;
    }
    std::string upper = UpperName(letter);
    if (upper != "A" && upper != "L" && upper != "N" && upper != "R") {
        why =
            "the kind is A, L (run during the install), N (stored raw) or R (registry data "
            "file); K and U are the builder's";
        return false;
    }
    mark.kind = FileKindFromLetter(upper[0]);
    mark.timeText.clear();
    if (!time.empty() && !ReadMarkTime(time, mark.timeText)) {
        why = "the time is written year-month-day hour:minute:second";
        return false;
    }
    return true;
}

bool FileKindRules::Load(const Task& exclusions, const Task& extractFiles) {
    patterns_.clear();
    marks_.clear();
    markIndex_.clear();
    for (const SubTask& subtask : exclusions.SubTasks()) {
        if (subtask.Type() != SubTaskType::GetValue) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() == FieldKind::File && !field.Value().empty()) {
                patterns_.push_back(field.Value());
            }
        }
    }
    for (const SubTask& subtask : extractFiles.SubTasks()) {
        if (subtask.Type() != SubTaskType::FileList) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() != FieldKind::File) continue;
            const std::string& text = field.Value();
            Mark mark;
            std::string why;
            if (!ReadKindMark(text, mark, why)) {
                error_ = "task 2412: file entry \"" + text + "\": " + why;
                return false;
            }
            const std::string shown = "task 2412: file entry \"" + text + "\"";
            if (!markIndex_.emplace(TargetKey(mark.target), marks_.size()).second) {
                error_ = shown + ": the file is marked twice";
                return false;
            }
            mark.entry = text;
            marks_.push_back(mark);
        }
    }
    return true;
}

FileKind FileKindRules::KindFor(const std::string& target) {
    auto found = markIndex_.find(TargetKey(target));
    if (found != markIndex_.end()) {
        marks_[found->second].used = true;
        return marks_[found->second].kind;
    }
    std::string name = target.substr(target.rfind('\\') + 1);
    for (const std::string& pattern : patterns_) {
        bool whole = pattern.find('\\') != std::string::npos;
        if (WildcardMatch(pattern, whole ? target : name)) return FileKind::Raw;
    }
    return FileKind::Ordinary;
}

std::string FileKindRules::TimeFor(const std::string& target) const {
    auto found = markIndex_.find(TargetKey(target));
    return found == markIndex_.end() ? std::string() : marks_[found->second].timeText;
}

bool FileKindRules::CheckMarksUsed(std::string& error, std::string* entry) const {
    for (const Mark& mark : marks_) {
        if (!mark.used) {
            if (entry) *entry = mark.entry;
            error = "task 2412 gives " + mark.target + " the kind " + LetterOf(mark.kind) +
                    ", but no source folder of task 2402 holds that file";
            return false;
        }
    }
    return true;
}

}  // namespace vesk
