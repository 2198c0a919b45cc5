// A mouse for a headless wlroots desktop (sway), which has no input device: reads commands from its
// input, one a line, and plays them through zwlr_virtual_pointer_v1.
//   move X Y          the pointer to X, Y of the desktop (of the size given on the command line)
//   click BUTTON      press and release left, right or middle
//   press BUTTON, release BUTTON
// It prints "ready" once the compositor has the pointer, and "ok" after each command has reached it.
// Usage: virtual_pointer WIDTH HEIGHT
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <linux/input-event-codes.h>
#include <sstream>
#include <string>
#include <thread>
#include <wayland-client.h>

namespace {

zwlr_virtual_pointer_manager_v1* manager = nullptr;

void global(void*, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void globalRemoved(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener{global, globalRemoved};

std::uint32_t now() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int buttonCode(const std::string& name) {
    if (name == "left")
        return BTN_LEFT;
    if (name == "right")
        return BTN_RIGHT;
    if (name == "middle")
        return BTN_MIDDLE;
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const auto width = static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10));
    const auto height = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "virtual_pointer: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (manager == nullptr) {
        std::fprintf(stderr, "virtual_pointer: the compositor has no zwlr_virtual_pointer_manager_v1\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
    wl_display_roundtrip(display);
    // The windows learn that their seat now has a pointer and ask for it before the first move counts.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::cout << "ready" << std::endl;

    const auto button = [&](int code, bool pressed) {
        zwlr_virtual_pointer_v1_button(pointer, now(), static_cast<std::uint32_t>(code),
                                       pressed ? WL_POINTER_BUTTON_STATE_PRESSED
                                               : WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(pointer);
    };
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command, name;
        words >> command;
        bool understood = true;
        if (command == "move") {
            long x = -1, y = -1;
            words >> x >> y;
            understood = x >= 0 && y >= 0 && x <= long(width) && y <= long(height);
            if (understood) {
                zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), std::uint32_t(x), std::uint32_t(y),
                                                        width, height);
                zwlr_virtual_pointer_v1_frame(pointer);
            }
        } else if (command == "click" || command == "press" || command == "release") {
            words >> name;
            const int code = buttonCode(name);
            understood = code >= 0;
            if (understood && command != "release")
                button(code, true);
            if (understood && command != "press") {
                wl_display_flush(display);
                std::this_thread::sleep_for(std::chrono::milliseconds(40));
                button(code, false);
            }
        } else if (!command.empty()) {
            understood = false;
        }
        if (wl_display_roundtrip(display) < 0) {
            std::fprintf(stderr, "virtual_pointer: the compositor went away\n");
            return 1;
        }
        std::cout << (understood ? "ok" : "unknown: " + line) << std::endl;
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
