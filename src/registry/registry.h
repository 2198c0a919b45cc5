// The per-user registry: keys under HKEY_CURRENT_USER holding typed values. Key and value names compare
// without regard to letter case ("SOFTWARE" and "Software" are one key). Failures come back as the texts
// that the user sees.
#pragma once

#include "common/result.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velloran {

// The stored type codes; any other code is kept as it came and treated as binary data.
enum RegistryType : std::uint32_t {
    kRegNone = 0,
    kRegText = 1,
    kRegExpandText = 2,
    kRegBinary = 3,
    kRegNumber = 4, // 32-bit, little-endian
};

struct RegistryValue {
    std::uint32_t type = kRegBinary;
    // Text types: the text up to, without, its terminating NUL. A number: four little-endian bytes.
    // Anything else: the bytes as stored.
    std::string data;

    static RegistryValue text(std::string_view text, std::uint32_t type = kRegText);
    static RegistryValue binary(std::string_view bytes);
    static RegistryValue number(std::uint32_t number);

    bool isText() const { return type == kRegText || type == kRegExpandText; }
    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// "Invalid data type for '<name>'": a value of the wrong type or size.
Message invalidDataTypeError(std::string_view valueName);
// "Failed to set data for '<name>'": a write that did not reach the store.
Message failedToSetDataError(std::string_view valueName);
// "Failed to delete data for '<name>'": a value that is there and could not be removed.
Message failedToDeleteDataError(std::string_view valueName);

class Registry {
public:
    virtual ~Registry() = default;

    // Key paths are relative to HKEY_CURRENT_USER, parts separated by '\'.
    virtual bool keyExists(std::string_view key) = 0;
    // The stored value, or nothing when the key or the value is missing.
    virtual std::optional<RegistryValue> readValue(std::string_view key, std::string_view name) = 0;
    // Creates the key when it is missing; the value keeps the spelling of its name if it exists.
    virtual Result<void> writeValue(std::string_view key, std::string_view name,
                                    const RegistryValue& value) = 0;
    // A value that is not there is no error.
    virtual Result<void> deleteValue(std::string_view key, std::string_view name) = 0;

    bool valueExists(std::string_view key, std::string_view name);
    // Any type but text, expandable text or number, at most maxSize bytes; else "Invalid data type".
    // A missing value reads as no bytes.
    Result<std::string> readBinary(std::string_view key, std::string_view name, std::size_t maxSize);
    Result<void> writeBinary(std::string_view key, std::string_view name, std::string_view bytes);
    // Text or expandable text; a missing value reads as empty text; any other type is "Invalid data type".
    Result<std::string> readText(std::string_view key, std::string_view name);
    Result<void> writeText(std::string_view key, std::string_view name, std::string_view text);
};

} // namespace velloran
