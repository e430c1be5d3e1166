// The resources of a PE image as a flat list (type, name, language, data), read from and written
// to the three-level resource directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

// A resource type or name: a number, or a string (UTF-16).
struct ResourceId {
    bool isName = false;
    std::uint16_t number = 0;
    std::u16string name;

    static ResourceId Number(std::uint16_t value) { return ResourceId{false, value, {}}; }
    bool operator==(const ResourceId& other) const {
        return isName == other.isName && (isName ? name == other.name : number == other.number);
    }
};

struct Resource {
    ResourceId type, name;
    std::uint16_t language = 0;
    std::uint32_t codePage = 0;
    std::string data;
};

constexpr std::uint16_t kResourceIcon = 3;
constexpr std::uint16_t kResourceDialog = 5;
constexpr std::uint16_t kResourceGroupIcon = 14;
constexpr std::uint16_t kResourceVersion = 16;

class ResourceTree {
public:
    // Reads the directory `directory` (the bytes of the resource section from the directory's
    // start, which lies at `rva`). False (see LastError) for a directory that is not three levels
    // deep or points outside the bytes. Resources keep the directory's order.
    bool Parse(const std::string& directory, std::uint32_t rva);

    const std::vector<Resource>& Resources() const { return resources_; }
    // Adds the resource, replacing one of the same type, name and language.
    void Set(Resource resource);
    // Removes every resource of `type` and `name` (any language).
    void Remove(const ResourceId& type, const ResourceId& name);
    // The highest number any resource of `type` has as its name (0 when none has one).
    std::uint16_t HighestNumber(const ResourceId& type) const;

    // The directory with every resource, for a section at `rva`: tables ordered as Windows
    // searches them (names before numbers, names by their upper-case form, numbers ascending).
    std::string Build(std::uint32_t rva) const;

    const std::string& LastError() const { return error_; }

private:
    bool Fail(std::string message);
    bool ReadId(const std::string& directory, std::uint32_t field, ResourceId& id);

    std::vector<Resource> resources_;
    std::string error_;
};

}  // namespace vesk
