// Edit distances between names.
#include "builder/reading/NearMiss.h"

#include <algorithm>
#include <cctype>

namespace vesk {
namespace {

// Upper case, without the separators people leave out or add ("Program Files", "ProgramFiles").
std::string Folded(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c != ' ' && c != '_') out += char(std::toupper(c));
    }
    return out;
}

// Edits turning a into b, a swap of neighbours counting as one.
std::size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

std::string ClosestName(const std::string& word, const std::vector<std::string>& candidates) {
    const std::string folded = Folded(word);
    const std::size_t allowed = folded.size() <= 5 ? 1 : 2;
    std::string best;
    std::size_t bestDistance = allowed + 1;
    for (const std::string& candidate : candidates) {
        if (candidate == word) return "";
        std::size_t distance = EditDistance(folded, Folded(candidate));
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates) {
    std::string closest = ClosestName(word, candidates);
    return closest.empty() ? "" : " (did you mean " + closest + "?)";
}

}  // namespace vesk
