// The folders an uninstall may remove: collected as the plan names them, guarded against the
// system's own folders, and put in the order they can go (the deepest first).
#pragma once

#include <string>
#include <vector>

namespace vesk {

class RemovableFolders {
public:
    // No folder in `guarded` is ever given back, nor one above any of them, nor a drive root,
    // nor `windowsFolder` or anything inside it. Letter case is ignored throughout.
    RemovableFolders(const std::vector<std::string>& guarded, const std::string& windowsFolder);

    // Adds `folder` (a full path; trailing backslashes are dropped).
    void Add(const std::string& folder);
    // Adds `folder` and each folder above it that still lies below `top`, `top` itself not;
    // nothing when `folder` does not lie below `top`.
    void AddChainBelow(const std::string& top, const std::string& folder);

    // The folders added, each once as first written, the deepest first (then by name), without
    // the guarded ones.
    std::vector<std::string> InRemovalOrder() const;

    // Whether `inner` lies below `outer` (letter case ignored, whole names only).
    static bool Below(const std::string& inner, const std::string& outer);

private:
    bool Guarded(const std::string& folder) const;

    std::vector<std::string> guarded_;
    std::string windowsFolder_;
    std::vector<std::string> folders_;
};

}  // namespace vesk
