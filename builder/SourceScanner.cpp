// Walking the bound source folders.
#include "SourceScanner.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>

#include "TargetPaths.h"
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
    error_.clear();
    if (!ReadBindings(folderBinding, baseDir)) return false;
    for (const SourceBinding& binding : bindings_) {
        std::error_code ec;
        if (!fs::is_directory(binding.hostPath, ec)) {
            return Fail("task 2402: the source folder \"" + binding.source + "\" of " +
                        binding.target + " " +
                        (fs::exists(binding.hostPath, ec) ? "is not a folder" : "does not exist") +
                        " (" + binding.hostPath + ")");
        }
        std::string target = binding.target;
        while (target.size() > 1 && target.back() == '\\') target.pop_back();
        if (!IsBareSystemToken(target)) AddFolder(target);
        std::vector<std::string> openFolders;
        if (!Walk(binding.hostPath, target, openFolders)) return false;
    }
    return true;
}

bool SourceScanner::Walk(const std::string& hostDir, const std::string& targetDir,
                         std::vector<std::string>& openFolders) {
    std::error_code ec;
    fs::path canonical = fs::canonical(hostDir, ec);
    if (ec) return Fail(hostDir + ": " + ec.message());
    if (std::find(openFolders.begin(), openFolders.end(), canonical.string()) !=
        openFolders.end()) {
        return Fail(hostDir + ": the folder links back into a folder that contains it");
    }
    openFolders.push_back(canonical.string());

    std::vector<std::pair<std::string, std::string>> entries;  // name, host path
    fs::directory_iterator it(hostDir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        entries.emplace_back(it->path().filename().string(), it->path().string());
    }
    if (ec) return Fail(hostDir + ": cannot list the folder: " + ec.message());
    std::sort(entries.begin(), entries.end());

    std::vector<std::pair<std::string, std::string>> subfolders;
    for (const auto& [name, hostPath] : entries) {
        std::string why;
        if (!CheckTargetName(name, why)) return Fail(hostPath + ": unusable name: " + why);
        fs::file_status status = fs::status(hostPath, ec);
        if (ec || !fs::exists(status)) {
            return Fail(hostPath + ": cannot be read (a broken link?)");
        }
        if (fs::is_directory(status)) {
            subfolders.emplace_back(name, hostPath);
            continue;
        }
        if (!fs::is_regular_file(status)) {
            return Fail(hostPath + ": neither a file nor a folder");
        }
        SourceFile file;
        file.hostPath = hostPath;
        file.target = JoinTarget(targetDir, name);
        file.size = fs::file_size(hostPath, ec);
        if (ec) return Fail(hostPath + ": " + ec.message());
        if (file.size > std::uint64_t(std::numeric_limits<std::int32_t>::max())) {
            return Fail(hostPath + ": 2 GiB or larger; a setup holds files below 2 GiB");
        }
        if (!GetFileLocalWriteTime(hostPath, file.time)) {
            return Fail(hostPath + ": cannot read its time");
        }
        auto [known, added] = fileKeys_.emplace(TargetKey(file.target), hostPath);
        if (!added) {
            return Fail("both " + known->second + " and " + hostPath + " would be installed as " +
                        file.target);
        }
        files_.push_back(std::move(file));
    }
    for (const auto& [name, hostPath] : subfolders) {
        std::string target = JoinTarget(targetDir, name);
        AddFolder(target);
        if (!Walk(hostPath, target, openFolders)) return false;
    }
    openFolders.pop_back();
    return true;
}

}  // namespace vesk
