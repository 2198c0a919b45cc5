// A command-line request handed to the running instance through its socket, and its answer. The request
// is the line "command", one line "arg=..." per argument (a backslash written "\\", a line break "\n"),
// then an empty line; the answer is the exit status on a line of its own, then what to print.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloran {

std::string encodeCommandRequest(const std::vector<std::string>& arguments);
// The arguments of a whole received request; nullopt when it is not a command request.
std::optional<std::vector<std::string>> decodeCommandRequest(std::string_view received);

struct CommandReply {
    int status = 1;
    std::string text; // standard output when status is 0, standard error otherwise
    // For a refusal on the bus: the error's name in the interface, "InvalidTask" or "UnknownTask".
    std::string refusal;
};
std::string encodeCommandReply(const CommandReply& reply);
// nullopt when the answer is cut short (the instance ended meanwhile).
std::optional<CommandReply> decodeCommandReply(std::string_view received);

} // namespace velloran
