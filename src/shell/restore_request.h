// The message a second start sends to the running instance: bring your window back. It carries the
// activation token that the desktop gave the second start, with which the running window may take the
// focus (Wayland XDG_ACTIVATION_TOKEN, X11 DESKTOP_STARTUP_ID).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velloran {

struct RestoreRequest {
    std::string activationToken; // Wayland; empty when the desktop gave none
    std::string startupId;       // X11 startup notification; empty when none
};

// Lines "restore", then "activation-token=..." and "startup-id=..." where present, then an empty line.
// A token that is empty, too long or not printable text is left out.
std::string encodeRestoreRequest(const RestoreRequest& request);

// The request with the launcher's tokens; where the launcher gave no Wayland token, the one a second
// start got from the compositor for its own window instead (empty when it got none).
RestoreRequest withFallbackActivationToken(RestoreRequest launch, std::string compositorToken);

// True once the message is whole (its empty line has arrived).
bool isWholeRestoreRequest(std::string_view received);

// The request in a received message; nullopt when it is not a restore request. Unknown lines and bad
// tokens are dropped, so a token never stops the window from coming back.
std::optional<RestoreRequest> decodeRestoreRequest(std::string_view received);

// The X server time of the user's action that a startup id ends with ("..._TIME<decimal>"); nullopt
// where it carries none.
std::optional<std::uint32_t> startupIdTime(std::string_view startupId);

} // namespace velloran
