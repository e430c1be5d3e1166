// Fuzzes the exclusion patterns of task 2402 and the wildcard match behind them (and behind the
// compression exclusions of task 2408). The input is patterns, one a line, then after a line
// "--" a name and a target path. The match agrees with a plain dynamic-programming matcher on
// the upper-cased texts, in time linear in their product (no backtracking blow-up); a pattern
// with a backslash is matched against the whole target, others against the name; a "!NAME"
// pattern that matches takes the name back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "builder/plan/FileKindRules.h"
#include "builder/plan/SourceExcludes.h"
#include "project/NameCase.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// '*' any run, '?' one byte, anything else itself; both texts already upper-cased.
bool ReferenceMatch(const std::string& pattern, const std::string& text) {
    std::vector<char> row(text.size() + 1, 0), next(text.size() + 1, 0);
    row[0] = 1;
    for (std::size_t j = 1; j <= text.size(); ++j) row[j] = 0;
    for (char p : pattern) {
        next[0] = p == '*' && row[0];
        for (std::size_t j = 1; j <= text.size(); ++j) {
            next[j] =
                p == '*' ? (row[j] || next[j - 1]) : (row[j - 1] && (p == '?' || p == text[j - 1]));
        }
        row.swap(next);
    }
    return row[text.size()] != 0;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;  // the matcher is quadratic by nature; keep the runs short
    const std::vector<std::string> lines =
        Lines(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> patterns;
    std::string name, target;
    std::size_t at = 0;
    for (; at < lines.size() && lines[at] != "--"; ++at) patterns.push_back(lines[at]);
    if (at + 1 < lines.size()) name = lines[at + 1];
    if (at + 2 < lines.size()) target = lines[at + 2];

    vesk::SubTask subtask("1", vesk::SubTaskType::GetAllVar);
    for (const std::string& pattern : patterns) {
        const std::string upper = vesk::UpperName(pattern);
        for (const std::string& text : {name, target}) {
            Check(vesk::WildcardMatch(pattern, text) ==
                  ReferenceMatch(upper, vesk::UpperName(text)));
        }
        subtask.Add(vesk::FieldKind::File, pattern);
    }
    vesk::Task task("2402", vesk::TaskType::DataSetting, false);
    task.Add(subtask);
    vesk::SourceExcludes excludes;
    excludes.Load(task);

    // The rule, worked out from the matches: the first excluding pattern (the defaults first)
    // leaves the name out unless a "!" pattern takes it back.
    auto matches = [&](const std::string& pattern) {
        const bool whole = pattern.find('\\') != std::string::npos;
        return ReferenceMatch(vesk::UpperName(pattern), vesk::UpperName(whole ? target : name));
    };
    bool excluded = false, kept = false;
    for (const char* pattern : vesk::SourceExcludes::kDefaultExcludes) {
        excluded = excluded || matches(pattern);
    }
    for (const std::string& pattern : patterns) {
        if (pattern.empty()) continue;
        if (pattern[0] == '!') {
            kept = kept || matches(pattern.substr(1));
        } else {
            excluded = excluded || matches(pattern);
        }
    }
    Check(!excluded || kept ? excludes.RuleFor(name, target).empty()
                            : !excludes.RuleFor(name, target).empty());
    return 0;
}
