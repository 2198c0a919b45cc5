#include "command_request.h"

#include <charconv>

namespace velloran {
namespace {
constexpr std::string_view kCommand = "command\n";
constexpr std::string_view kArgument = "arg=";
} // namespace

std::string encodeCommandRequest(const std::vector<std::string>& arguments) {
    std::string message(kCommand);
    for (const std::string& argument : arguments) {
        message += kArgument;
        for (const char c : argument) {
            if (c == '\\')
                message += "\\\\";
            else if (c == '\n')
                message += "\\n";
            else
                message += c;
        }
        message += '\n';
    }
    return message + '\n';
}

std::optional<std::vector<std::string>> decodeCommandRequest(std::string_view received) {
    if (!received.starts_with(kCommand))
        return std::nullopt;
    received.remove_prefix(kCommand.size());
    std::vector<std::string> arguments;
    for (;;) {
        const std::size_t end = received.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt; // cut short
        const std::string_view line = received.substr(0, end);
        received.remove_prefix(end + 1);
        if (line.empty())
            return arguments;
        if (!line.starts_with(kArgument))
            return std::nullopt;
        std::string argument;
        for (std::size_t i = kArgument.size(); i < line.size(); ++i) {
            if (line[i] != '\\') {
                argument += line[i];
                continue;
            }
            if (++i == line.size() || (line[i] != '\\' && line[i] != 'n'))
                return std::nullopt;
            argument += line[i] == 'n' ? '\n' : '\\';
        }
        arguments.push_back(std::move(argument));
    }
}

std::string encodeCommandReply(const CommandReply& reply) {
    return std::to_string(reply.status) + '\n' + reply.text;
}

std::optional<CommandReply> decodeCommandReply(std::string_view received) {
    const std::size_t end = received.find('\n');
    CommandReply reply;
    if (end == std::string_view::npos)
        return std::nullopt;
    const auto [last, error] = std::from_chars(received.data(), received.data() + end, reply.status);
    if (error != std::errc() || last != received.data() + end)
        return std::nullopt;
    reply.text = received.substr(end + 1);
    return reply;
}

} // namespace velloran
