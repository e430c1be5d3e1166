// Problems in file order.
#include "builder/reading/ProblemList.h"

#include <algorithm>

namespace vesk {

void ProblemList::Add(std::size_t line, std::string message) {
    for (const Problem& problem : problems_) {
        if (problem.line == line && problem.message == message) return;
    }
    problems_.push_back({line, std::move(message)});
}

void ProblemList::Add(const std::vector<Problem>& problems) {
    for (const Problem& problem : problems) Add(problem.line, problem.message);
}

bool ProblemList::Mentions(const std::string& text) const {
    for (const Problem& problem : problems_) {
        const std::string& message = problem.message;
        if (message.size() >= text.size() &&
            message.compare(message.size() - text.size(), text.size(), text) == 0) {
            return true;
        }
    }
    return false;
}

std::string ProblemList::Text() const {
    std::vector<Problem> ordered = problems_;
    std::stable_sort(ordered.begin(), ordered.end(), [](const Problem& a, const Problem& b) {
        // Line 0 sorts after every numbered line.
        return a.line - 1 < b.line - 1;
    });
    std::string text;
    for (const Problem& problem : ordered) {
        if (!text.empty()) text += '\n';
        text += problem.message;
    }
    return text;
}

}  // namespace vesk
