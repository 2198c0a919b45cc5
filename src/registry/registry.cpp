#include "registry.h"

namespace velloran {

RegistryValue RegistryValue::text(std::string_view text, std::uint32_t type) {
    // A stored text ends at its first NUL, as it would for any reader of the value.
    return {type, std::string(text.substr(0, text.find('\0')))};
}

RegistryValue RegistryValue::binary(std::string_view bytes) {
    return {kRegBinary, std::string(bytes)};
}

RegistryValue RegistryValue::number(std::uint32_t number) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    return {kRegNumber, bytes};
}

Message invalidDataTypeError(std::string_view valueName) {
    return Message("Registry", QT_TRANSLATE_NOOP("Registry", "Invalid data type for '%1'"),
                   {std::string(valueName)});
}

Message failedToSetDataError(std::string_view valueName) {
    return Message("Registry", QT_TRANSLATE_NOOP("Registry", "Failed to set data for '%1'"),
                   {std::string(valueName)});
}

Message failedToDeleteDataError(std::string_view valueName) {
    return Message("Registry", QT_TRANSLATE_NOOP("Registry", "Failed to delete data for '%1'"),
                   {std::string(valueName)});
}

bool Registry::valueExists(std::string_view key, std::string_view name) {
    return readValue(key, name).has_value();
}

Result<std::string> Registry::readBinary(std::string_view key, std::string_view name, std::size_t maxSize) {
    const std::optional<RegistryValue> value = readValue(key, name);
    if (!value)
        return std::string();
    if (value->isText() || value->type == kRegNumber || value->data.size() > maxSize)
        return failure(invalidDataTypeError(name));
    return value->data;
}

Result<void> Registry::writeBinary(std::string_view key, std::string_view name, std::string_view bytes) {
    return writeValue(key, name, RegistryValue::binary(bytes));
}

Result<std::string> Registry::readText(std::string_view key, std::string_view name) {
    const std::optional<RegistryValue> value = readValue(key, name);
    if (!value)
        return std::string();
    if (!value->isText())
        return failure(invalidDataTypeError(name));
    return value->data;
}

Result<void> Registry::writeText(std::string_view key, std::string_view name, std::string_view text) {
    return writeValue(key, name, RegistryValue::text(text));
}

} // namespace velloran
