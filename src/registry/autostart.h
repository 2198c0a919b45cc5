// Starting at logon on a Linux desktop: the Run value "Corvantis Task Scheduler" is kept as the XDG
// autostart entry <config folder>/autostart/velloran.desktop, whose Exec line is the value's command line.
#pragma once

#include "common/result.h"

#include <optional>
#include <string>
#include <string_view>

namespace velloran {

inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kStartAtLogonValue = "Corvantis Task Scheduler";

std::string autostartEntryPath(const std::string& configFolder);

// Exec carries the command line as it is; only '%' and, between double quotes, '\', '`' and '$' get the
// escapes that desktop entries require, so that no launcher expands or drops part of a path.
std::string encodeExec(std::string_view commandLine);
std::string decodeExec(std::string_view exec);

std::string desktopEntryText(std::string_view commandLine);
// The program that a command line starts: its first word, quoted or not.
std::string programOfCommandLine(std::string_view commandLine);
// The command line of an entry that starts something at logon: nothing for an entry without Exec or one
// that the desktop's settings switched off (Hidden=true, X-GNOME-Autostart-enabled=false).
std::optional<std::string> commandLineOfDesktopEntry(std::string_view text);

// A missing or unreadable entry reads as nothing.
std::optional<std::string> readAutostartEntry(const std::string& path);
// Removing an entry that is not there succeeds.
Result<void> writeAutostartEntry(const std::string& path, std::string_view commandLine);
Result<void> removeAutostartEntry(const std::string& path);

} // namespace velloran
