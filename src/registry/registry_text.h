// The registry file's text: the format of exported registry files, readable and editable by hand.
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\SOFTWARE\Corvantis Software\Velloran]
//   "Settings"=hex:01,00,00,00,...
//   "Name"="text with \"quotes\" and \\ backslashes"
//   "Count"=dword:0000002a
//   "Path"=hex(2):25,48,4f,4d,45,25,00
//
// Texts are UTF-8. A line ending in '\' continues on the next one.
#pragma once

#include "registry_data.h"

#include <string>
#include <string_view>

namespace velloran {

struct RegistryTextRead {
    RegistryData data;
    // Lines that could not be understood and were skipped, with the values they held.
    int damagedLines = 0;
};

// Never fails: whatever can be understood is kept, the rest is counted as damaged.
RegistryTextRead parseRegistryText(std::string_view text);

// Reading the result back gives the same keys and values.
std::string formatRegistryText(const RegistryData& data);

} // namespace velloran
