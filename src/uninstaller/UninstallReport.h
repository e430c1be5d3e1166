// How the uninstall reaches the user while it works: the window implements it on its thread;
// a silent run and the tests implement it without one.
#pragma once

#include <string>

namespace vesk {

// Called from the thread that removes; every call returns once the user interface has taken it.
class UninstallReport {
public:
    virtual ~UninstallReport() = default;

    // The status line: what kind of item is being removed.
    virtual void SetStatus(const std::string& text) = 0;
    // The item being removed: a file, folder or registry path.
    virtual void SetItem(const std::string& text) = 0;
    // The progress bar, 0 to 100.
    virtual void SetProgress(int percent) = 0;
};

// A report that shows nothing: for /S.
class SilentReport : public UninstallReport {
public:
    void SetStatus(const std::string&) override {}
    void SetItem(const std::string&) override {}
    void SetProgress(int) override {}
};

}  // namespace vesk
