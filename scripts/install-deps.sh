#!/usr/bin/env bash
# Installs the Debian packages Velloran needs to build, test, fuzz and run; quick when all are present.
set -euo pipefail

packages=(
  # building
  build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgl-dev libpulse-dev
  libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fonts-liberation
  # running and testing the real program on a virtual display
  xvfb xauth x11-utils xdotool openbox trayer pulseaudio pulseaudio-utils faketime imagemagick strace
  dbus-daemon dbus-bin
  # the alarm's stream on Debian's own sound server, and a desktop notification service on X11
  pipewire pipewire-pulse wireplumber dunst
  # the accessibility case: the AT-SPI bus launcher and registry, and the Python bindings that read them
  at-spi2-core python3-pyatspi
  # the test session manager of the end-to-end tests
  libsm-dev
  # the help file, the install checks, the Debian package and the Wayland session of the end-to-end tests
  fp-utils desktop-file-utils appstream-util dpkg-dev fakeroot qt6-wayland weston
  # the desktop's file types that Browse offers
  shared-mime-info
  # the translations: lupdate and lrelease, and Qt's own German for the standard dialogs and buttons
  qt6-l10n-tools qt6-translations-l10n
  # the GNOME Shell cases: the shell, its tray extension and its notification service (a gjs program),
  # XWayland, and PipeWire for its remote desktop
  gnome-shell gnome-shell-extension-appindicator gjs xwayland pipewire-bin
  lintian # Debian's package checker, which the package test runs
  # the XFCE desktop of its own end-to-end cases: window manager, panel with its status tray, settings,
  # a terminal to type in, and GLib (python3-gi) to launch the desktop entry's actions
  xfwm4 xfce4-panel xfconf xterm python3-gi
  # a second start's activation token from the Wayland compositor: the protocol and Qt's Wayland objects
  libwayland-dev wayland-protocols qt6-base-private-dev
  # the sway desktop of the end-to-end tests: its panel with a tray, notifications, a terminal,
  # screenshots and typing
  sway waybar mako-notifier foot grim wtype
  # the KDE Plasma desktop of the end-to-end tests: the compositor, the panel with its tray and
  # notifications (plasmashell, kded5) and the shell's layout, Qt 5's Wayland platform for them
  kwin-wayland plasma-workspace plasma-desktop qtwayland5
  # fuzzing, sanitizers and formatting
  clang libclang-rt-14-dev clang-format
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
run_as_root=()
[ "$(id -u)" -eq 0 ] || run_as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -qq
"${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
