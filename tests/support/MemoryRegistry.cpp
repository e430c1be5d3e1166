// In-memory registry tree behind the Registry interface.
#include "support/MemoryRegistry.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace vesk::test {

struct MemoryRegistry::Node {
    std::string name;
    std::vector<std::shared_ptr<Node>> children;
    std::vector<std::pair<std::string, RegistryValue>> values;
    bool readOnly = false;
    bool deleted = false;
};

namespace {

using Node = MemoryRegistry::Node;

// Registry names ignore ASCII letter case.
bool SameKeyName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
               return up(x) == up(y);
           });
}

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

std::shared_ptr<Node> Child(const Node& node, const std::string& name) {
    for (const auto& child : node.children) {
        if (SameKeyName(child->name, name)) return child;
    }
    return nullptr;
}

std::shared_ptr<Node> Walk(std::shared_ptr<Node> node, const std::string& path, bool create) {
    for (const std::string& part : Components(path)) {
        std::shared_ptr<Node> next = Child(*node, part);
        if (!next) {
            if (!create) return nullptr;
            next = std::make_shared<Node>();
            next->name = part;
            node->children.push_back(next);
        }
        node = next;
    }
    return node;
}

class MemoryKey : public RegistryHandle {
public:
    MemoryKey(std::shared_ptr<Node> node, RegistryAccess access, std::shared_ptr<int> counter)
        : node_(std::move(node)), access_(access), counter_(std::move(counter)) {
        ++*counter_;
    }
    ~MemoryKey() override { --*counter_; }

    std::unique_ptr<RegistryHandle> CreateSubKey(const std::string& name) override {
        if (!CanWrite() || Components(name).empty()) return nullptr;
        std::shared_ptr<Node> existing = Walk(node_, name, false);
        if (existing && existing->readOnly) return nullptr;
        std::shared_ptr<Node> child = Walk(node_, name, true);
        return std::make_unique<MemoryKey>(child, RegistryAccess::All, counter_);
    }

    std::optional<RegistryValue> QueryValue(const std::string& name) const override {
        if (node_->deleted || access_ == RegistryAccess::Write) return std::nullopt;
        for (const auto& value : node_->values) {
            if (SameKeyName(value.first, name)) return value.second;
        }
        return std::nullopt;
    }

    bool SetValue(const std::string& name, const RegistryValue& value) override {
        if (!CanWrite()) return false;
        for (auto& existing : node_->values) {
            if (SameKeyName(existing.first, name)) {
                existing.second = value;
                return true;
            }
        }
        node_->values.emplace_back(name, value);
        return true;
    }

    bool DeleteSubKey(const std::string& name) override {
        if (node_->deleted) return false;
        auto& children = node_->children;
        for (auto it = children.begin(); it != children.end(); ++it) {
            if (!SameKeyName((*it)->name, name)) continue;
            if (!(*it)->children.empty() || (*it)->readOnly) return false;  // NT: leaves only
            (*it)->deleted = true;
            children.erase(it);
            return true;
        }
        return false;
    }

    bool DeleteValue(const std::string& name) override {
        if (!CanWrite()) return false;
        auto& values = node_->values;
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (SameKeyName(it->first, name)) {
                values.erase(it);
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> SubKeyNames() const override {
        std::vector<std::string> names;
        for (const auto& child : node_->children) names.push_back(child->name);
        return names;
    }

    std::vector<std::string> ValueNames() const override {
        std::vector<std::string> names;
        for (const auto& value : node_->values) names.push_back(value.first);
        return names;
    }

private:
    bool CanWrite() const {
        return !node_->deleted && !node_->readOnly && access_ != RegistryAccess::Read;
    }

    std::shared_ptr<Node> node_;
    RegistryAccess access_;
    std::shared_ptr<int> counter_;
};

void DumpNode(const Node& node, const std::string& path, std::string& out) {
    out += path + "\n";
    std::vector<std::pair<std::string, RegistryValue>> values = node.values;
    std::sort(values.begin(), values.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& value : values) {
        out += "  " + value.first + " = " + std::to_string(value.second.type) + ":";
        static const char kHex[] = "0123456789abcdef";
        for (unsigned char byte : value.second.data) {
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
        out += "\n";
    }
    std::vector<std::shared_ptr<Node>> children = node.children;
    std::sort(children.begin(), children.end(),
              [](const auto& a, const auto& b) { return a->name < b->name; });
    for (const auto& child : children) DumpNode(*child, path + "\\" + child->name, out);
}

}  // namespace

static std::shared_ptr<Node> DeepCopy(const Node& node) {
    auto copy = std::make_shared<Node>();
    copy->name = node.name;
    copy->values = node.values;
    copy->readOnly = node.readOnly;
    for (const auto& child : node.children) copy->children.push_back(DeepCopy(*child));
    return copy;
}

void MemoryRegistry::CopyFrom(const MemoryRegistry& other) {
    for (int root = 0; root < 5; ++root) roots_[root] = DeepCopy(*other.roots_[root]);
}

std::string MemoryRegistry::Dump() const {
    std::string out;
    for (int root = 0; root < 5; ++root) DumpNode(*roots_[root], std::to_string(root), out);
    return out;
}

MemoryRegistry::MemoryRegistry() : openHandles_(std::make_shared<int>(0)) {
    for (auto& root : roots_) root = std::make_shared<Node>();
}

MemoryRegistry::~MemoryRegistry() = default;

std::unique_ptr<RegistryHandle> MemoryRegistry::Open(RegistryRoot root, const std::string& path,
                                                     RegistryAccess access) {
    std::shared_ptr<Node> node = Find(root, path);
    if (!node) return nullptr;
    if (node->readOnly && access != RegistryAccess::Read) return nullptr;
    return std::make_unique<MemoryKey>(node, access, openHandles_);
}

std::shared_ptr<Node> MemoryRegistry::Find(RegistryRoot root, const std::string& path) const {
    return Walk(roots_[int(root)], path, false);
}

std::shared_ptr<Node> MemoryRegistry::Make(RegistryRoot root, const std::string& path) {
    return Walk(roots_[int(root)], path, true);
}

void MemoryRegistry::AddKey(RegistryRoot root, const std::string& path) {
    Make(root, path);
}

void MemoryRegistry::PutString(RegistryRoot root, const std::string& path, const std::string& name,
                               const std::string& text) {
    std::shared_ptr<Node> node = Make(root, path);
    RegistryValue value{kRegistryString, text + '\0'};
    for (auto& existing : node->values) {
        if (SameKeyName(existing.first, name)) {
            existing.second = value;
            return;
        }
    }
    node->values.emplace_back(name, value);
}

void MemoryRegistry::MakeReadOnly(RegistryRoot root, const std::string& path) {
    Make(root, path)->readOnly = true;
}

bool MemoryRegistry::HasKey(RegistryRoot root, const std::string& path) const {
    return Find(root, path) != nullptr;
}

std::optional<RegistryValue> MemoryRegistry::Value(RegistryRoot root, const std::string& path,
                                                   const std::string& name) const {
    std::shared_ptr<Node> node = Find(root, path);
    if (!node) return std::nullopt;
    for (const auto& value : node->values) {
        if (SameKeyName(value.first, name)) return value.second;
    }
    return std::nullopt;
}

std::optional<std::string> MemoryRegistry::StringValue(RegistryRoot root, const std::string& path,
                                                       const std::string& name) const {
    std::optional<RegistryValue> value = Value(root, path, name);
    if (!value) return std::nullopt;
    std::string text = value->data;
    std::size_t nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

}  // namespace vesk::test
