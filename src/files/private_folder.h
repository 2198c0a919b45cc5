// A folder that only this user can enter, for the lock and socket that keep one instance per user. In a
// shared place such as /tmp another user may have made the name first, as a folder or as a link.
#pragma once

#include <string>

namespace velloran {

// Makes the folder with mode 0700 where it is missing, without following a link. True when the path is
// then a real folder owned by this user that no one else may enter; a folder of this user's that others
// could enter is closed. Nothing that belongs to another user, and nothing a link points at, is changed.
bool makePrivateFolder(const std::string& path);

// True when the path is a real folder (no link) owned by this user that no one else may enter; nothing is
// made or changed.
bool isPrivateFolder(const std::string& path);

} // namespace velloran
