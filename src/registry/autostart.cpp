#include "autostart.h"

#include "common/text.h"

#include "files/atomic_file.h"
#include "files/file_io.h"

namespace velloran {
namespace {

constexpr std::size_t kMaxEntrySize = 1 << 20;

// The desktop entry's escapes for string values: \s \n \t \r \\.
std::string escapeString(std::string_view text) {
    std::string out;
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' && (first == std::string_view::npos || i < first || i > last))
            out += "\\s"; // readers trim spaces at either end of a value
        else if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else
            out.push_back(c);
    }
    return out;
}

std::string unescapeString(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char next = text[++i];
        if (next == 's')
            out.push_back(' ');
        else if (next == 'n')
            out.push_back('\n');
        else if (next == 't')
            out.push_back('\t');
        else if (next == 'r')
            out.push_back('\r');
        else if (next == '\\')
            out.push_back('\\');
        else
            out += {'\\', next};
    }
    return out;
}

bool escapedInQuotes(char c) {
    return c == '\\' || c == '`' || c == '$' || c == '"';
}

} // namespace

std::string autostartEntryPath(const std::string& configFolder) {
    return configFolder + "/autostart/velloran.desktop";
}

std::string encodeExec(std::string_view commandLine) {
    std::string exec;
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"')
            quoted = !quoted;
        else if (c == '%')
            exec.push_back('%');
        else if (quoted && escapedInQuotes(c))
            exec.push_back('\\');
        exec.push_back(c);
    }
    return escapeString(exec);
}

std::string decodeExec(std::string_view exec) {
    const std::string text = unescapeString(exec);
    std::string commandLine;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
        } else if (quoted && c == '\\' && i + 1 < text.size() && escapedInQuotes(text[i + 1])) {
            commandLine.push_back(text[++i]);
            continue;
        } else if (c == '"') {
            quoted = !quoted;
        }
        commandLine.push_back(c);
    }
    return commandLine;
}

std::string programOfCommandLine(std::string_view commandLine) {
    commandLine = trimBlanks(commandLine);
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t end = commandLine.find('"', 1);
        return end == std::string_view::npos ? std::string() : std::string(commandLine.substr(1, end - 1));
    }
    return std::string(commandLine.substr(0, commandLine.find_first_of(" \t")));
}

std::string desktopEntryText(std::string_view commandLine) {
    // A session skips the entry once the program is gone (its package removed), instead of failing to
    // start it at every logon.
    const std::string program = programOfCommandLine(commandLine);
    const std::string tryExec = program.starts_with('/') ? "TryExec=" + escapeString(program) + "\n" : "";
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Velloran\n"
           "Name[de]=Velloran\n"
           "Comment=Runs scheduled tasks from the notification area\n"
           "Comment[de]=Führt geplante Aufgaben aus dem Infobereich aus\n" +
           tryExec + "Exec=" + encodeExec(commandLine) +
           "\n"
           "Icon=velloran\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::optional<std::string> commandLineOfDesktopEntry(std::string_view text) {
    std::optional<std::string> exec;
    bool inEntry = false;
    bool switchedOff = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inEntry || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimBlanks(line.substr(0, equals));
        const std::string_view value = trimBlanks(line.substr(equals + 1));
        if (key == "Exec" && !exec)
            exec = decodeExec(value);
        else if ((key == "Hidden" && value == "true") ||
                 (key == "X-GNOME-Autostart-enabled" && value == "false"))
            switchedOff = true;
    }
    if (switchedOff)
        return std::nullopt;
    return exec;
}

std::optional<std::string> readAutostartEntry(const std::string& path) {
    const Result<std::optional<std::string>> content = readWholeFile(path, kMaxEntrySize);
    if (!content || !*content)
        return std::nullopt;
    return commandLineOfDesktopEntry(**content);
}

Result<void> writeAutostartEntry(const std::string& path, std::string_view commandLine) {
    if (Result<void> made = makeFolders(parentFolder(path), 0700); !made)
        return made;
    return writeFileAtomically(path, desktopEntryText(commandLine), 0644);
}

Result<void> removeAutostartEntry(const std::string& path) {
    return removeFileIfPresent(path);
}

} // namespace velloran
