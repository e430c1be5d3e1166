// What a run leaves on disk and must take away again: the temporary files, and the journal of
// every change the run made to the machine, in order, with what was there before, for a
// rollback and for the uninstall record.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Lock.h"
#include "session/Change.h"

namespace vesk {

// A user's file that the install was about to overwrite, and the copy that keeps it.
struct KeptFile {
    std::string original;
    std::string copy;  // "" once the file is back under its own name
};

// The worker appends while the user-interface thread may read, so every access takes the lock;
// readers get copies.
class InstallRecords {
public:
    // Removed by the final clean-up whatever happens.
    void AddTempFile(const std::string& path);
    std::vector<std::string> TakeTempFiles();
    std::vector<std::string> TempFiles() const;

    // The journal. A change is added once it is made (a file or link just before it is
    // written, so a write that fails half-way is undone too).
    void Add(Change change);
    // How many changes the journal holds: a mark for KeepAtUninstall.
    std::size_t ChangeCount() const;
    // The changes from the `first`-th on are left in place by the uninstall.
    void KeepAtUninstall(std::size_t first);
    // The key `keyPath`, when the run created it, goes with everything in it at the uninstall.
    void RemoveWholeAtUninstall(RegistryRoot root, const std::string& keyPath);
    // The newest change to the file `path` notes how the install left it.
    void NoteStamp(const std::string& path, const FileStamp& stamp);
    // The changes so far, in the order made, emptying the journal: a later clean-up finds
    // nothing left to do.
    std::vector<Change> TakeChanges();
    std::vector<Change> Changes() const;

    // The journal in the words of the file rollback. A file the install wrote (FileCreated),
    // a folder it made (FolderCreated), and a user's file it kept as `copy` before writing
    // over it (FileReplaced).
    void AddInstalledFile(const std::string& path);
    void AddCreatedFolder(const std::string& path);
    void AddKeptFile(const std::string& original, const std::string& copy);
    // The kept file is back under its own name (the install deleted its own file there): the
    // clean-up leaves that name alone.
    void MarkPutBack(const std::string& original);
    // The paths of the file changes, the folders made, the files still kept, in the order made.
    std::vector<std::string> InstalledFiles() const;
    std::vector<std::string> CreatedFolders() const;
    std::vector<KeptFile> KeptFiles() const;
    // The file changes alone, taken out of the journal.
    std::vector<std::string> TakeInstalledFiles();
    // The copies of the files the run kept or removed, once: a completed install lets go of
    // them; the rest of the journal stays.
    std::vector<std::string> TakeKeptCopies();

private:
    mutable Lock lock_;
    std::vector<std::string> tempFiles_;
    std::vector<Change> changes_;
};

}  // namespace vesk
