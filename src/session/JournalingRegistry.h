// The registry as the run changes it: every key made, value written or deleted and key deleted
// goes into the run's journal with what was there before, so the rollback can give it back and
// the uninstall record can tell what the install made from what it found.
#pragma once

#include <memory>
#include <string>

#include "platform/Registry.h"
#include "session/InstallRecords.h"

namespace vesk {

// Reads pass straight through. Each change is journalled once the system has made it, with the
// state it found: a value's earlier type and data (or that it was absent), each level of a key
// that did not exist, a deleted key's values. A key deleted with subkeys below it (where the
// platform allows that) is journalled with its own values only.
class JournalingRegistry : public Registry {
public:
    JournalingRegistry(Registry& inner, InstallRecords& records)
        : inner_(inner), records_(records) {}

    std::unique_ptr<RegistryHandle> Open(RegistryRoot root, const std::string& path,
                                         RegistryAccess access) override;

    // The registry underneath, whose changes go into no journal (the rollback's own).
    Registry& Inner() const { return inner_; }

private:
    Registry& inner_;
    InstallRecords& records_;
};

}  // namespace vesk
