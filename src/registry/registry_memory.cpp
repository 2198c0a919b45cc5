#include "registry_memory.h"

namespace velloran {

bool MemoryRegistry::keyExists(std::string_view key) {
    return data_.hasKey(currentUserKey(key));
}

std::optional<RegistryValue> MemoryRegistry::readValue(std::string_view key, std::string_view name) {
    const RegistryValue* value = data_.find(currentUserKey(key), name);
    if (value == nullptr)
        return std::nullopt;
    return *value;
}

Result<void> MemoryRegistry::writeValue(std::string_view key, std::string_view name,
                                        const RegistryValue& value) {
    if (failing_ || !isStorableName(key) || !isStorableName(name))
        return failure(failedToSetDataError(name));
    data_.set(currentUserKey(key), name, value);
    ++changes_;
    return {};
}

Result<void> MemoryRegistry::deleteValue(std::string_view key, std::string_view name) {
    if (data_.find(currentUserKey(key), name) == nullptr)
        return {};
    if (failing_)
        return failure(failedToDeleteDataError(name));
    data_.erase(currentUserKey(key), name);
    ++changes_;
    return {};
}

} // namespace velloran
