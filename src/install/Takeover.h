// An install taking over the installed version of its product (an upgrade, a repair, or with the
// user's word a return to an older version): what the installed version made and this one does
// not is removed, and the rest becomes this install's, so one record and one entry remain and
// removing the product later leaves nothing of either version.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "install/InstallContext.h"
#include "session/ProductRecord.h"

namespace vesk {

class Takeover {
public:
    Takeover(InstallContext& context, const ProductRecord& installed)
        : context_(context), installed_(installed) {}

    // Whether the installed version counted `path` as a shared file: the product holds its
    // count already, and a new install of it does not count it again.
    static bool CountedBy(const ProductRecord& installed, const std::string& path);

    // Called in the last phase, once this install's own record values are written. Of what the
    // installed version made and this install did not make again, in this order: components
    // are unregistered; fonts leave the table and their listings get their earlier state back;
    // files go, unless someone changed them since (their size or time differs from the record:
    // they stay, and are no longer the product's); shared files lose the product's count and go
    // at zero; registry values are deleted or given their earlier data back (unless someone
    // changed them), keys the version made go when empty (not the keys it removes whole at the
    // uninstall: they hold the user's settings); folders it made go when empty, unless this
    // install uses them. Everything goes through the journal, so a rollback gives the
    // installed version back whole. Each removal is logged.
    void RemoveLeftovers();

    // The record's changes for this install: `fresh` (RecordedChanges of its journal) with what
    // stands of the installed version's folded in, that version's first: its folders and keys
    // that are still there, its shared counts of files this install wrote again; a file it
    // made that this install wrote again counts as made by the install, and a value, listing or
    // count written again keeps the state from before the installed version.
    std::vector<Change> Merge(const std::vector<Change>& fresh) const;

private:
    // The installed version's record of the file at `path` (with its stamp), made or found.
    Change MadeOrFound(const std::string& path) const;
    // Removes the file of `made` unless it changed since (its stamp differs).
    void TakeOverFile(const Change& made);
    void UndoValue(const Change& value);
    bool Touched(const std::string& identity) const { return touched_.count(identity) != 0; }

    InstallContext& context_;
    const ProductRecord& installed_;
    std::set<std::string> touched_;  // what this install's journal changed, by identity
};

}  // namespace vesk
