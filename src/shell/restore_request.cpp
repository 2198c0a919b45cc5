#include "restore_request.h"

#include <algorithm>

namespace velloran {
namespace {

constexpr std::string_view kRestore = "restore";
constexpr std::string_view kActivationToken = "activation-token=";
constexpr std::string_view kStartupId = "startup-id=";
constexpr std::size_t kLongestToken = 512;

// Tokens are printable ASCII without blanks; anything else could break the message's lines.
bool usableToken(std::string_view token) {
    return !token.empty() && token.size() <= kLongestToken &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

} // namespace

std::string encodeRestoreRequest(const RestoreRequest& request) {
    std::string message(kRestore);
    message += '\n';
    if (usableToken(request.activationToken))
        message.append(kActivationToken).append(request.activationToken).append("\n");
    if (usableToken(request.startupId))
        message.append(kStartupId).append(request.startupId).append("\n");
    message += '\n';
    return message;
}

RestoreRequest withFallbackActivationToken(RestoreRequest launch, std::string compositorToken) {
    // A launcher's token speaks for the user's action that started this program, which came first.
    if (launch.activationToken.empty())
        launch.activationToken = std::move(compositorToken);
    return launch;
}

bool isWholeRestoreRequest(std::string_view received) {
    return received.find("\n\n") != std::string_view::npos;
}

std::optional<RestoreRequest> decodeRestoreRequest(std::string_view received) {
    std::size_t lineEnd = received.find('\n');
    if (lineEnd == std::string_view::npos || received.substr(0, lineEnd) != kRestore)
        return std::nullopt;
    RestoreRequest request;
    // Only whole lines count: a token cut short by a lost connection is no token.
    for (std::size_t start = lineEnd + 1; (lineEnd = received.find('\n', start)) != std::string_view::npos;
         start = lineEnd + 1) {
        const std::string_view line = received.substr(start, lineEnd - start);
        if (line.empty())
            break;
        const auto valueAfter = [line](std::string_view key) -> std::optional<std::string_view> {
            if (line.substr(0, key.size()) != key || !usableToken(line.substr(key.size())))
                return std::nullopt;
            return line.substr(key.size());
        };
        if (const auto token = valueAfter(kActivationToken))
            request.activationToken = *token;
        else if (const auto id = valueAfter(kStartupId))
            request.startupId = *id;
    }
    return request;
}

std::optional<std::uint32_t> startupIdTime(std::string_view startupId) {
    const std::size_t mark = startupId.rfind("_TIME");
    if (mark == std::string_view::npos)
        return std::nullopt;
    const std::string_view digits = startupId.substr(mark + 5);
    if (digits.empty() || digits.size() > 10)
        return std::nullopt;
    std::uint64_t time = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        time = time * 10 + static_cast<std::uint64_t>(digit - '0');
    }
    // 0 means "now" to the window manager, which is no user action at all.
    if (time == 0 || time > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(time);
}

} // namespace velloran
