// One of Wine's registry files (system.reg, user.reg, userdef.reg) read into keys and values, so
// two states of a prefix can be compared. Only content counts: the times Wine writes beside each
// key (its last write, "#time=") and other "#" lines are passed over.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace vesk::trial {

struct HiveValue {
    std::string name;  // decoded; "" for the key's default value ("@")
    std::string data;  // as Wine writes it after "=", continued lines joined without their breaks
};

struct HiveKey {
    std::string path;                         // decoded, relative to the hive's root
    std::map<std::string, HiveValue> values;  // by name in capitals: names ignore letter case
};

class RegistryHive {
public:
    // Reads the text of a registry file; false with "line N: what" when it is not one (the hive
    // is left empty then).
    bool Parse(std::string_view text, std::string& error);

    // Every key, by its path in capitals (key names ignore letter case as well), the keys that
    // only the paths of their subkeys name included.
    const std::map<std::string, HiveKey>& Keys() const { return keys_; }

private:
    // Wine writes a key without values only when it has no subkeys: the subkeys' paths imply
    // it. Those keys are added.
    void AddImpliedKeys();

    std::map<std::string, HiveKey> keys_;
};

// `text` with ASCII letters in capitals: how the registry compares names.
std::string FoldedName(std::string_view text);

}  // namespace vesk::trial
