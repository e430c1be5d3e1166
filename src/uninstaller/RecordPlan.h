// The uninstall plan of an install that left its product record: made from the record alone,
// so nothing outside what that install made can be in it.
#pragma once

#include <string>

#include "project/PathResolver.h"
#include "session/ProductRecord.h"
#include "uninstaller/UninstallPlan.h"

namespace vesk {

// The plan for the install of `record` (kept at `recordPath`). `paths` reads the registry as it
// is now. In order:
// - components registered, unregistered while their files are still there (not one whose file
//   another product still counts);
// - fonts out of the font table, their listings back to what they were (gone when new);
// - files the install made (never one that was there before, nor one marked to stay); a
//   counted shared file only when its count comes down to zero, whoever put it there first
//   (the count says who still needs it), else its count goes down by one and it stays;
// - registry values the install wrote, when they still hold what it wrote (else they are left
//   as someone set them): deleted when they were new, given their earlier data back; then keys
//   the install made, the deepest first, only when empty, or whole where the install made one
//   for a key-only item with IsToDelete;
// - the log, then the record;
// - folders the install made, the deepest first, only when empty (never one a path variable
//   names, one above it, or one in the Windows folder).
// Changes marked to stay (kept at the uninstall) stay; `kept` says what stays and why.
UninstallPlan PlanFromRecord(const ProductRecord& record, const std::string& recordPath,
                             const PathResolver& paths);

}  // namespace vesk
