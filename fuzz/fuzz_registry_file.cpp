// Arbitrary bytes as the registry file and as an autostart entry: nothing may crash, and whatever is read
// must be written so that it reads back the same.
#include "registry/autostart.h"
#include "registry/registry_text.h"

#include <cstdint>
#include <string>

using namespace velloran;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const RegistryTextRead first = parseRegistryText(input);
    const std::string written = formatRegistryText(first.data);
    const RegistryTextRead second = parseRegistryText(written);
    if (second.damagedLines != 0 || !(second.data == first.data) ||
        formatRegistryText(second.data) != written)
        __builtin_trap();

    if (decodeExec(encodeExec(input)) != input)
        __builtin_trap();
    commandLineOfDesktopEntry(input);
    if (commandLineOfDesktopEntry(desktopEntryText(input)) != std::string(input))
        __builtin_trap();
    return 0;
}
