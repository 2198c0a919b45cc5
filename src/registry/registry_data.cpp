#include "registry_data.h"

#include <algorithm>

namespace velloran {

std::string_view trimKeyPath(std::string_view key) {
    while (!key.empty() && key.front() == '\\')
        key.remove_prefix(1);
    while (!key.empty() && key.back() == '\\')
        key.remove_suffix(1);
    return key;
}

std::string currentUserKey(std::string_view key) {
    key = trimKeyPath(key);
    std::string path(kCurrentUserRoot);
    if (!key.empty())
        path += '\\' + std::string(key);
    return path;
}

bool isStorableName(std::string_view name) {
    return name.find('\n') == std::string_view::npos;
}

bool RegistryData::hasKey(std::string_view path) const {
    path = trimKeyPath(path);
    return std::any_of(keys_.begin(), keys_.end(), [&](const Key& key) {
        const std::string_view name = key.name;
        return equalsIgnoringAsciiCase(name.substr(0, path.size()), path) &&
               (name.size() == path.size() || name[path.size()] == '\\');
    });
}

const RegistryValue* RegistryData::find(std::string_view path, std::string_view name) const {
    const Key* key = findKey(path);
    if (key == nullptr)
        return nullptr;
    for (const auto& [valueName, value] : key->values)
        if (equalsIgnoringAsciiCase(valueName, name))
            return &value;
    return nullptr;
}

void RegistryData::set(std::string_view path, std::string_view name, RegistryValue value) {
    if (value.isText())
        value = RegistryValue::text(value.data, value.type);
    Key& key = addKey(path);
    for (auto& [valueName, stored] : key.values) {
        if (equalsIgnoringAsciiCase(valueName, name)) {
            stored = std::move(value);
            return;
        }
    }
    key.values.emplace_back(std::string(name), std::move(value));
}

bool RegistryData::erase(std::string_view path, std::string_view name) {
    Key* key = findKey(path);
    if (key == nullptr)
        return false;
    const auto found = std::find_if(key->values.begin(), key->values.end(), [&](const auto& entry) {
        return equalsIgnoringAsciiCase(entry.first, name);
    });
    if (found == key->values.end())
        return false;
    key->values.erase(found);
    return true;
}

RegistryData::Key& RegistryData::addKey(std::string_view path) {
    if (Key* key = findKey(path))
        return *key;
    keys_.push_back({std::string(trimKeyPath(path)), {}});
    return keys_.back();
}

RegistryData::Key* RegistryData::findKey(std::string_view path) {
    return const_cast<Key*>(std::as_const(*this).findKey(path));
}

const RegistryData::Key* RegistryData::findKey(std::string_view path) const {
    path = trimKeyPath(path);
    for (const Key& key : keys_)
        if (equalsIgnoringAsciiCase(key.name, path))
            return &key;
    return nullptr;
}

} // namespace velloran
