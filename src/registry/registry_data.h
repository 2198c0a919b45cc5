// The keys and values of a registry, in the order they were first created. Names are kept as first
// spelled and compared without regard to letter case.
#pragma once

#include "common/text.h"

#include "registry.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velloran {

inline constexpr std::string_view kCurrentUserRoot = "HKEY_CURRENT_USER";

// A key path with its leading and trailing '\' removed.
std::string_view trimKeyPath(std::string_view key);

// The full path of a key below HKEY_CURRENT_USER.
std::string currentUserKey(std::string_view key);

// Key and value names are stored on one line of the registry file, so a line break cannot be part of them.
bool isStorableName(std::string_view name);

class RegistryData {
public:
    struct Key {
        std::string name; // full path, root included
        std::vector<std::pair<std::string, RegistryValue>> values;
        friend bool operator==(const Key&, const Key&) = default;
    };

    // True for a key that is present or has a key below it.
    bool hasKey(std::string_view path) const;
    const RegistryValue* find(std::string_view path, std::string_view name) const;
    // Creates the key when needed.
    void set(std::string_view path, std::string_view name, RegistryValue value);
    // True when a value was removed; the key stays, as an empty key.
    bool erase(std::string_view path, std::string_view name);
    Key& addKey(std::string_view path);

    const std::vector<Key>& keys() const { return keys_; }
    bool empty() const { return keys_.empty(); }
    friend bool operator==(const RegistryData&, const RegistryData&) = default;

private:
    Key* findKey(std::string_view path);
    const Key* findKey(std::string_view path) const;

    std::vector<Key> keys_;
};

} // namespace velloran
