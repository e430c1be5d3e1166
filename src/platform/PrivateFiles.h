// The run's private temporary folder and the files the setup unpacks into it: made so that
// nothing planted beforehand is written through, and nothing written can be swapped before use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vesk {

// A file this run created new. Nobody else may write, rename or delete it while it is written;
// once sealed it stays as it was written until the object goes: others may read and run it, but
// not write, rename or delete it. The file itself stays when the object goes.
class HeldFile {
public:
    virtual ~HeldFile() = default;

    // False when not every byte reached the file, and after Seal.
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    // Ends the writing and holds the file as written. False when a write failed, or when what
    // the name leads to is no longer the bytes written (replaced between the two).
    virtual bool Seal() = 0;
};

// A folder made by PrivateFiles::CreatePrivateFolder, held so that it can neither be renamed
// nor removed while the object lives. The folder itself stays when the object goes.
class PrivateFolder {
public:
    virtual ~PrivateFolder() = default;

    const std::string& Path() const { return path_; }
    // Lets go of the folder and removes it with everything in it. A link inside is removed
    // itself where the system allows, never followed; a process whose current folder lies
    // inside is moved to the parent first. False when something stayed.
    virtual bool RemoveWithContents() = 0;

protected:
    explicit PrivateFolder(std::string path) : path_(std::move(path)) {}

private:
    std::string path_;
};

class PrivateFiles {
public:
    virtual ~PrivateFiles() = default;

    // A new folder inside `parent` named `prefix` and random characters no one can predict,
    // created exclusively (a name that is taken, by anything, is never used) and open to the
    // current user and the administrators only; its path is parent + "\" + name. nullptr when
    // no folder could be made.
    virtual std::unique_ptr<PrivateFolder> CreatePrivateFolder(const std::string& parent,
                                                               const std::string& prefix) = 0;

    // Creates `path`, which must not exist: a file, a folder or a link of that name, dangling or
    // not, makes it fail and is left as it is. nullptr on failure.
    virtual std::unique_ptr<HeldFile> CreateNewFile(const std::string& path) = 0;
};

// The running system's files. Natively a backslash in a path counts as a folder separator, so
// the engine's paths mean the same on the build host.
PrivateFiles& HostPrivateFiles();

}  // namespace vesk
