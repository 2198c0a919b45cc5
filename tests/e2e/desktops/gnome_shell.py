#!/usr/bin/python3
"""What a test sees and does in a headless GNOME Shell, through the shell's and mutter's own D-Bus
interfaces on the session bus.

  gnome_shell.py input            a pointer and keyboard (mutter's RemoteDesktop with a linked ScreenCast
                                  stream): reads "move X Y", "click BUTTON [COUNT]", "key [MOD+]NAME",
                                  "type TEXT" lines on stdin and answers each with "ok" once the shell has it
  gnome_shell.py eval CODE        the value of a JavaScript expression in the shell
  gnome_shell.py windows          one line per window: state, focus, client, geometry, title
  gnome_shell.py indicator TEXT   centre "X Y" of the AppIndicator icon whose id or title holds TEXT, and
                                  the state of its menu and whether it was activated
  gnome_shell.py menu             the open panel menu's items, one "X Y label" line each ("-" a separator)
  gnome_shell.py notifications    the message tray's notifications: "urgency|title|body|actions"
  gnome_shell.py banner-button L  centre "X Y" of the button labelled L on the notification banner shown
  gnome_shell.py ready            true once the shell has started up and shows no overview (it leaves the
                                  overview it starts in)
  gnome_shell.py screenshot FILE  the whole screen as the user sees it, into FILE (PNG)
  gnome_shell.py display-manager  stands in for GDM (and holds logind's name) on the system bus, where
                                  the shell asks for GDM's version before it offers a screen lock; says
                                  "ready", then serves

Eval and Screenshot answer only in the shell's unsafe mode, which the tests' own extension turns on.
"""
import json
import sys
import time

from gi.repository import Gio, GLib

BUS = Gio.bus_get_sync(Gio.BusType.SESSION, None)
SHELL = "org.gnome.Shell"
REMOTE = "org.gnome.Mutter.RemoteDesktop"
CAST = "org.gnome.Mutter.ScreenCast"
# Linux input event codes (linux/input-event-codes.h) and X keysyms, as mutter takes them.
BUTTONS = {"left": 0x110, "right": 0x111, "middle": 0x112}
KEYSYMS = {"Return": 0xFF0D, "Escape": 0xFF1B, "Tab": 0xFF09, "space": 0x20, "Down": 0xFF54, "Up": 0xFF52,
           "alt": 0xFFE9, "ctrl": 0xFFE3, "shift": 0xFFE1}


def call(dest, path, interface, method, args=None, reply=None):
    result = BUS.call_sync(dest, path, interface, method, args,
                           GLib.VariantType(reply) if reply else None, Gio.DBusCallFlags.NONE, 10000, None)
    return result.unpack() if result is not None else None


def shell_eval(code):
    ok, result = call(SHELL, "/org/gnome/Shell", SHELL, "Eval", GLib.Variant("(s)", (code,)), "(bs)")
    if not ok:
        raise RuntimeError(f"the shell refused: {result}")
    return json.loads(result) if result else None


# The shell's own view of each window, in stacking order from the bottom up.
WINDOWS_JS = """
(() => {
  const Meta = imports.gi.Meta;
  const focus = global.display.get_focus_window();
  const windows = global.display.sort_windows_by_stacking(
      global.get_window_actors().map(actor => actor.meta_window));
  return windows.map(w => {
    const r = w.get_frame_rect();
    const state = w.minimized ? 'minimised' : (w.showing_on_its_workspace() ? 'shown' : 'hidden');
    return [state, w === focus ? 'focused' : 'unfocused',
            w.get_client_type() === Meta.WindowClientType.X11 ? 'x11' : 'wayland',
            `${r.x},${r.y},${r.width},${r.height}`, w.get_title() || ''].join('\\t');
  }).join('\\n');
})()
"""

# The AppIndicator extension's icons in the top bar, each with its item's id and title.
INDICATOR_JS = """
(() => {
  const Main = imports.ui.main;
  return Object.entries(Main.panel.statusArea).filter(([key]) => key.startsWith('appindicator-')).map(([key, item]) => {
    const [x, y] = item.get_transformed_position();
    const [w, h] = item.get_transformed_size();
    return {x: Math.round(x + w / 2), y: Math.round(y + h / 2), visible: item.visible && item.mapped,
            text: [key, item._indicator.id, item._indicator.title, item._indicator.accessibleName].join(' '),
            state: `menu ${item.menu.isOpen ? 'open' : 'closed'} with ${item.menu.numMenuItems} items, ` +
                   `activation ${item._indicator.supportsActivation}`};
  });
})()
"""

# The items of the panel menu that is open now, with the centre of each on screen.
MENU_JS = """
(() => {
  const Main = imports.ui.main;
  const menu = Main.panel.menuManager.activeMenu;
  if (!menu || !menu.isOpen)
    return null;
  return menu._getMenuItems().filter(item => item.actor.visible).map(item => {
    const [x, y] = item.actor.get_transformed_position();
    const [w, h] = item.actor.get_transformed_size();
    const label = item instanceof imports.ui.popupMenu.PopupSeparatorMenuItem ? '-' : item.label.text;
    return `${Math.round(x + w / 2)} ${Math.round(y + h / 2)} ${label}`;
  }).join('\\n');
})()
"""

# The centre of the button of the notification banner on screen now that is labelled as given.
BANNER_BUTTON_JS = """
(label => {
  const St = imports.gi.St;
  const find = actor => {
    if (actor instanceof St.Button && actor.label === label && actor.mapped)
      return actor;
    for (const child of actor.get_children()) {
      const found = find(child);
      if (found)
        return found;
    }
    return null;
  };
  const button = find(imports.ui.main.messageTray._bannerBin);
  if (!button)
    return null;
  const [x, y] = button.get_transformed_position();
  const [w, h] = button.get_transformed_size();
  return `${Math.round(x + w / 2)} ${Math.round(y + h / 2)}`;
})
"""

READY_JS = """
(() => {
  const Main = imports.ui.main;
  if (Main.layoutManager._startingUp)
    return 'starting';
  if (Main.overview.visible) {
    Main.overview.hide();
    return 'in the overview';
  }
  return 'ready';
})()
"""

NOTIFICATIONS_JS = """
(() => {
  const Main = imports.ui.main;
  return Main.messageTray.getSources().flatMap(source => source.notifications.map(n =>
    [n.urgency, n.title || '', n.bannerBodyText || '',
     (n.actions || []).map(action => action.label).join(',')].join('|'))).join('\\n');
})()
"""


def serve_input():
    session = call(REMOTE, "/org/gnome/Mutter/RemoteDesktop", REMOTE, "CreateSession", None, "(o)")[0]
    session_id = call(REMOTE, session, "org.freedesktop.DBus.Properties", "Get",
                      GLib.Variant("(ss)", (REMOTE + ".Session", "SessionId")), "(v)")[0]
    # Absolute pointer positions are given on a screen-cast stream of the monitor, linked to the session.
    cast = call(CAST, "/org/gnome/Mutter/ScreenCast", CAST, "CreateSession",
                GLib.Variant("(a{sv})", ({"remote-desktop-session-id": GLib.Variant("s", session_id)},)),
                "(o)")[0]
    monitor = sys.argv[2] if len(sys.argv) > 2 else "Meta-0"
    stream = call(CAST, cast, CAST + ".Session", "RecordMonitor",
                  GLib.Variant("(sa{sv})", (monitor, {})), "(o)")[0]
    call(REMOTE, session, REMOTE + ".Session", "Start")

    def send(method, signature, *args):
        call(REMOTE, session, REMOTE + ".Session", method, GLib.Variant(signature, args))

    # Mutter makes the session's pointer and keyboard at their first events, and a client learns of a
    # keyboard only then: both exist before any program of the test starts.
    send("NotifyPointerMotionAbsolute", "(sdd)", stream, 640.0, 400.0)
    send("NotifyKeyboardKeysym", "(ub)", KEYSYMS["shift"], True)
    send("NotifyKeyboardKeysym", "(ub)", KEYSYMS["shift"], False)
    shell_eval("0")
    print("ready", flush=True)
    for line in sys.stdin:
        words = line.split()
        if not words:
            continue
        if words[0] == "move":
            send("NotifyPointerMotionAbsolute", "(sdd)", stream, float(words[1]), float(words[2]))
        elif words[0] == "click":
            # A person holds the button down a moment: the AppIndicator extension opens the icon's menu
            # on the first press and sees the double click only on the second release.
            for _ in range(int(words[2]) if len(words) > 2 else 1):
                send("NotifyPointerButton", "(ib)", BUTTONS[words[1]], True)
                time.sleep(0.05)
                send("NotifyPointerButton", "(ib)", BUTTONS[words[1]], False)
                time.sleep(0.06)
        elif words[0] == "type":
            # Printable ASCII characters are their own keysyms; mutter adds the shift a character needs.
            for character in line.rstrip("\n").split(" ", 1)[1]:
                send("NotifyKeyboardKeysym", "(ub)", ord(character), True)
                send("NotifyKeyboardKeysym", "(ub)", ord(character), False)
        elif words[0] == "key":
            # "alt+r": the modifiers held down around the key, as a person types it.
            keysyms = [KEYSYMS.get(name) or ord(name) for name in words[1].split("+")]
            for keysym in keysyms:
                send("NotifyKeyboardKeysym", "(ub)", keysym, True)
            for keysym in reversed(keysyms):
                send("NotifyKeyboardKeysym", "(ub)", keysym, False)
        else:
            print(f"unknown command: {line.strip()}", flush=True)
            continue
        # A round trip to the shell, so that the events are in before the answer.
        shell_eval("0")
        print("ok", flush=True)


DISPLAY_MANAGER_XML = """
<node><interface name="org.gnome.DisplayManager.Manager">
  <property name="Version" type="s" access="read"/>
</interface></node>
"""


def serve_display_manager():
    system = Gio.bus_get_sync(Gio.BusType.SYSTEM, None)
    interface = Gio.DBusNodeInfo.new_for_xml(DISPLAY_MANAGER_XML).interfaces[0]
    system.register_object("/org/gnome/DisplayManager/Manager", interface, None,
                           lambda *_: GLib.Variant("s", "43.0"), None)
    loop = GLib.MainLoop()

    def acquired(*_):
        print("ready", flush=True)

    Gio.bus_own_name_on_connection(system, "org.gnome.DisplayManager", Gio.BusNameOwnerFlags.NONE,
                                   acquired, lambda *_: loop.quit())
    # The seats folder tells the shell that logind runs: its name is held, so that the shell's questions
    # to it fail at once instead of starting a logind that cannot run here.
    Gio.bus_own_name_on_connection(system, "org.freedesktop.login1", Gio.BusNameOwnerFlags.NONE, None, None)
    loop.run()


def main():
    command = sys.argv[1]
    if command == "input":
        serve_input()
    elif command == "display-manager":
        serve_display_manager()
    elif command == "eval":
        value = shell_eval(sys.argv[2])
        print(value if isinstance(value, str) else json.dumps(value))
    elif command == "windows":
        print(shell_eval(WINDOWS_JS) or "")
    elif command == "indicator":
        found = [i for i in shell_eval(INDICATOR_JS) if sys.argv[2].lower() in i["text"].lower() and i["visible"]]
        if not found:
            return 1
        print(found[0]["x"], found[0]["y"], found[0]["state"])
    elif command == "menu":
        items = shell_eval(MENU_JS)
        if items is None:
            return 1
        print(items)
    elif command == "banner-button":
        centre = shell_eval(f"{BANNER_BUTTON_JS}({json.dumps(sys.argv[2])})")
        if centre is None:
            return 1
        print(centre)
    elif command == "notifications":
        print(shell_eval(NOTIFICATIONS_JS) or "")
    elif command == "ready":
        state = shell_eval(READY_JS)
        if state != "ready":
            print(state, file=sys.stderr)
            return 1
    elif command == "screenshot":
        ok, _ = call(SHELL, "/org/gnome/Shell/Screenshot", SHELL + ".Screenshot", "Screenshot",
                     GLib.Variant("(bbs)", (False, False, sys.argv[2])), "(bs)")
        return 0 if ok else 1
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
