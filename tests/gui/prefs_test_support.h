// Stand-ins for the preferences window's tests: a registry that refuses one value.
#pragma once

#include "registry/registry_memory.h"
#include "stand_ins.h"

#include <string>

namespace velloran::test {

// A memory registry in which writes and deletes of one value name fail, as on a disk that fills up
// between two writes.
class RefusingRegistry final : public Registry {
public:
    explicit RefusingRegistry(std::string refusedName) : refused_(std::move(refusedName)) {}

    MemoryRegistry memory;

    bool keyExists(std::string_view key) override { return memory.keyExists(key); }
    std::optional<RegistryValue> readValue(std::string_view key, std::string_view name) override {
        return memory.readValue(key, name);
    }
    Result<void> writeValue(std::string_view key, std::string_view name,
                            const RegistryValue& value) override {
        if (name == refused_)
            return failure(failedToSetDataError(name));
        return memory.writeValue(key, name, value);
    }
    Result<void> deleteValue(std::string_view key, std::string_view name) override {
        if (name == refused_)
            return failure(failedToDeleteDataError(name));
        return memory.deleteValue(key, name);
    }

private:
    std::string refused_;
};

} // namespace velloran::test
