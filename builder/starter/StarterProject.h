// The starter that `veskbuild init` writes: a commented project with every task, a licence and a
// readme, the header and welcome pictures and a small product folder, ready to build.
#pragma once

#include <string>
#include <vector>

#include "builder/checks/DefaultTasks.h"

namespace vesk {

class StarterProject {
public:
    // Writes the starter into `dir`, which must be missing or empty (nothing is overwritten).
    // False (see LastError) otherwise or when a file cannot be written; files written before the
    // failure are removed again.
    bool Write(const std::string& dir);

    // Paths of the files written, relative to the folder.
    const std::vector<std::string>& Files() const { return files_; }
    const std::string& LastError() const { return error_; }

    // The project file of a starter: every task in slot order, each after a comment that says
    // what it holds, CR LF line ends.
    static std::string ProjectText(const DefaultContent& content);
    // What the starter is made of.
    static DefaultContent Content();

    // The page-area width of the wizard at 96 dots per inch and the header band's height.
    static constexpr int kHeaderWidth = 548;
    static constexpr int kHeaderHeight = 64;
    // The welcome page's panel starts at x = 163; the page is 314 pixels high.
    static constexpr int kWelcomeWidth = 163;
    static constexpr int kWelcomeHeight = 314;

    static std::string HeaderPicture();
    static std::string WelcomePicture();

private:
    std::vector<std::string> files_;
    std::string error_;
};

}  // namespace vesk
