// "Did you mean ...?" for names a project misspells: tokens, field names, text keys, task IDs.
#pragma once

#include <string>
#include <vector>

namespace vesk {

// The candidate closest to `word` when it is a near miss: letter case, spaces and underscores
// aside, at most one edit (an insertion, deletion, substitution or swap of neighbours) for
// words of up to five characters and two for longer ones. Empty when none is that close or the
// word equals a candidate.
std::string ClosestName(const std::string& word, const std::vector<std::string>& candidates);

// " (did you mean X?)" with the closest candidate; empty when there is none.
std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace vesk
