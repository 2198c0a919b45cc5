// The program's name on the desktop, and where the project can be reached: the web page (also where
// updates are announced) and the support mail.
#pragma once

namespace velloran {

inline constexpr const char* kProgramName = "Velloran";
// The name of the program's icon in the icon theme, and of its desktop entry.
inline constexpr const char* kProgramIconName = "velloran";

inline constexpr const char* kProductWebPage = "https://velloran.org/";
inline constexpr const char* kSupportMailAddress = "support@velloran.org";

} // namespace velloran
