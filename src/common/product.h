// Where the project can be reached: the web page (also where updates are announced) and the support mail.
#pragma once

namespace velloran {

inline constexpr const char* kProductWebPage = "https://velloran.org/";
inline constexpr const char* kSupportMailAddress = "support@velloran.org";

} // namespace velloran
