// A registry held in memory: for tests, and for windows shown without touching the user's settings.
#pragma once

#include "registry_data.h"

namespace velloran {

class MemoryRegistry : public Registry {
public:
    bool keyExists(std::string_view key) override;
    std::optional<RegistryValue> readValue(std::string_view key, std::string_view name) override;
    Result<void> writeValue(std::string_view key, std::string_view name, const RegistryValue& value) override;
    Result<void> deleteValue(std::string_view key, std::string_view name) override;

    // From now on every write and delete fails, as on a full or read-only disk.
    void setFailing(bool failing) { failing_ = failing; }
    const RegistryData& data() const { return data_; }
    // Counts the writes and deletes that reached the store.
    int changes() const { return changes_; }

private:
    RegistryData data_;
    bool failing_ = false;
    int changes_ = 0;
};

} // namespace velloran
