// Walking the bound source folders.
#include "builder/plan/SourceScanner.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>

#include "builder/plan/TargetPaths.h"
#include "platform/FileTimes.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

// "[Windows Directory]" and the like: folders every system has, which the install must not
// record as its own. "[InstallDir]" alone is the product's folder and is created.
bool IsBareSystemToken(const std::string& target) {
    std::string token = target;
    if (!token.empty() && token.back() == '\\') token.pop_back();
    if (token.size() < 2 || token.front() != '[' || token.back() != ']') return false;
    if (token.find(']') != token.size() - 1) return false;
    return TargetKey(token) != "[INSTALLDIR]";
}

// Whether the canonical path `inner` lies below the canonical folder `outer`.
bool LiesBelow(const fs::path& outer, const fs::path& inner) {
    auto mismatch = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return mismatch.first == outer.end() && mismatch.second != inner.end();
}

}  // namespace

bool SourceScanner::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool SourceScanner::ReadBindings(const Task& folderBinding, const std::string& baseDir) {
    bool pending = false;
    SourceBinding binding;
    for (const SubTask& subtask : folderBinding.SubTasks()) {
        if (subtask.Type() != SubTaskType::GetAllVar) continue;
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() == FieldKind::PathDesc) {
                if (pending) {
                    return Fail("task 2402: PathDesc \"" + binding.target +
                                "\" has no PathValue (a source folder) after it");
                }
                binding.target = field.Value();
                pending = true;
            } else if (field.Kind() == FieldKind::PathValue) {
                if (!pending) {
                    return Fail("task 2402: PathValue \"" + field.Value() +
                                "\" has no PathDesc (a target folder) before it");
                }
                binding.source = field.Value();
                binding.hostPath = HostPathFor(baseDir, binding.source);
                if (binding.target.empty()) {
                    return Fail("task 2402: the PathDesc for \"" + binding.source + "\" is empty");
                }
                bindings_.push_back(binding);
                pending = false;
            }
        }
    }
    if (pending) {
        return Fail("task 2402: PathDesc \"" + binding.target +
                    "\" has no PathValue (a source folder) after it");
    }
    return true;
}

bool SourceScanner::AddFolder(const std::string& target) {
    if (folderKeys_.insert(TargetKey(target)).second) folders_.push_back(target);
    return true;
}

bool SourceScanner::Scan(const Task& folderBinding, const std::string& baseDir) {
    bindings_.clear();
    files_.clear();
    folders_.clear();
    folderKeys_.clear();
    fileKeys_.clear();
    excluded_.clear();
    warnings_.clear();
    error_.clear();
    excludes_.Load(folderBinding);
    if (!ReadBindings(folderBinding, baseDir)) return false;
    for (const SourceBinding& binding : bindings_) {
        std::error_code ec;
        if (!fs::is_directory(binding.hostPath, ec)) {
            return Fail("task 2402: the source folder \"" + binding.source + "\" of " +
                        binding.target + " " +
                        (fs::exists(binding.hostPath, ec) ? "is not a folder" : "does not exist") +
                        " (" + binding.hostPath + ")");
        }
        fs::path root = fs::canonical(binding.hostPath, ec);
        if (ec) return Fail(binding.hostPath + ": " + ec.message());
        std::string target = binding.target;
        while (target.size() > 1 && target.back() == '\\') target.pop_back();
        if (!IsBareSystemToken(target)) AddFolder(target);
        if (!Walk(binding.hostPath, target, root.string())) return false;
    }
    return true;
}

// Decides about a symbolic link: true when it is a file inside the source folder, to be packed;
// false with `why` (for the warning) when it is left out.
bool SourceScanner::FollowLink(const std::string& hostPath, const std::string& root,
                               std::string& resolvedPath, std::string& why) {
    std::error_code ec;
    fs::path resolved = fs::canonical(hostPath, ec);
    if (ec)
        return Fail(hostPath + ": cannot be read: a symbolic link that cannot be followed (" +
                    ec.message() + ")");
    if (resolved != fs::path(root) && !LiesBelow(root, resolved)) {
        why = "a symbolic link to " + resolved.string() + ", outside the source folder";
        return false;
    }
    if (fs::is_directory(resolved, ec)) {
        why = "a symbolic link to the folder " + resolved.string() +
              ", not followed (a folder inside the source folder goes in under its own name)";
        return false;
    }
    resolvedPath = resolved.string();
    return true;
}

bool SourceScanner::AddFile(const std::string& hostPath, const std::string& readPath,
                            const std::string& target) {
    SourceFile file;
    file.hostPath = hostPath;
    file.readPath = readPath;
    file.target = target;
    std::string why;
    if (!ReadFileIdentity(readPath, file.identity, why)) {
        return Fail(hostPath + ": neither a file nor a folder (" + why + ")");
    }
    file.size = file.identity.size;
    if (file.size > std::uint64_t(std::numeric_limits<std::int32_t>::max())) {
        return Fail(hostPath + ": 2 GiB or larger; a setup holds files below 2 GiB");
    }
    if (!GetFileLocalWriteTime(readPath, file.time))
        return Fail(hostPath + ": cannot read its time");
    auto [known, added] = fileKeys_.emplace(TargetKey(file.target), hostPath);
    if (!added) {
        return Fail("both " + known->second + " and " + hostPath + " would be installed as " +
                    file.target);
    }
    files_.push_back(std::move(file));
    return true;
}

bool SourceScanner::Walk(const std::string& hostDir, const std::string& targetDir,
                         const std::string& root) {
    std::error_code ec;
    std::vector<std::pair<std::string, std::string>> entries;  // name, host path
    fs::directory_iterator it(hostDir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        entries.emplace_back(it->path().filename().string(), it->path().string());
    }
    if (ec) return Fail(hostDir + ": cannot list the folder: " + ec.message());
    std::sort(entries.begin(), entries.end());

    std::vector<std::pair<std::string, std::string>> subfolders;
    for (const auto& [name, hostPath] : entries) {
        std::string target = JoinTarget(targetDir, name);
        std::string rule = excludes_.RuleFor(name, target);
        if (!rule.empty()) {
            excluded_.push_back({hostPath, rule});
            continue;
        }
        std::string why, readPath = hostPath;
        if (!CheckTargetName(name, why)) return Fail(hostPath + ": unusable name: " + why);
        fs::file_status status = fs::symlink_status(hostPath, ec);
        if (ec || !fs::exists(status)) return Fail(hostPath + ": cannot be read");
        if (fs::is_symlink(status)) {
            if (!FollowLink(hostPath, root, readPath, why)) {
                if (!error_.empty()) return false;
                excluded_.push_back({hostPath, why});
                warnings_.push_back(hostPath + " left out: " + why);
                continue;
            }
        } else if (fs::is_directory(status)) {
            subfolders.emplace_back(name, hostPath);
            continue;
        }
        if (!AddFile(hostPath, readPath, target)) return false;
    }
    for (const auto& [name, hostPath] : subfolders) {
        std::string target = JoinTarget(targetDir, name);
        AddFolder(target);
        if (!Walk(hostPath, target, root)) return false;
    }
    return true;
}

}  // namespace vesk
