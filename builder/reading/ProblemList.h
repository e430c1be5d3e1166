// The errors one run finds in a project, each with the line it is about, so that every one of
// them is reported at once and in the order of the file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vesk {

struct Problem {
    std::size_t line = 0;  // in the project file, 1-based; 0: the file as a whole or no line
    std::string message;   // complete, starting with the file (and line): "p.xml:12: ..."
};

class ProblemList {
public:
    // A problem already listed (two steps may find the same) is not added again.
    void Add(std::size_t line, std::string message);
    void Add(const std::vector<Problem>& problems);

    // Whether a problem's message ends with `text`: the same problem, maybe with a line.
    bool Mentions(const std::string& text) const;

    bool Empty() const { return problems_.empty(); }
    std::size_t Count() const { return problems_.size(); }
    const std::vector<Problem>& Items() const { return problems_; }
    // Every message on a line of its own, in the order of the lines they are about; problems of
    // one line keep the order they were found in, and those without a line come last.
    std::string Text() const;
    void Clear() { problems_.clear(); }

private:
    std::vector<Problem> problems_;
};

}  // namespace vesk
