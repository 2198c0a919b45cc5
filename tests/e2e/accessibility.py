#!/usr/bin/python3
"""What a screen reader finds in Velloran through AT-SPI, for the end-to-end cases.

  accessibility.py walk WINDOW            every showing control of the window has a role and a name
  accessibility.py walk-pages WINDOW      the same for each page of the window's page tab list
  accessibility.py role WINDOW NAME ROLE  a control of that name in the window has that role
  accessibility.py window-role WINDOW     prints the window's role
  accessibility.py press WINDOW NAME      does the first action of the control of that name
  accessibility.py showing WINDOW NAME    the window shows a control of that name
  accessibility.py label WINDOW TEXT      the window shows a label of exactly that text
Windows are found by their whole name among the top-level windows of the applications "Velloran".
"""
import sys
import time

import pyatspi

# Containers and decoration that a person neither reads nor uses; everything else must be named. A
# frame inside a window is a border, a layered pane the stack of a page control's pages.
UNNAMED_ROLES = {
    "filler", "panel", "scroll pane", "viewport", "separator", "scroll bar", "frame", "layered pane",
}


def applications():
    """Every running Velloran: a second start has a window of its own."""
    return [app for app in pyatspi.Registry.getDesktop(0) if app is not None and app.name == "Velloran"]


def window(title):
    for _ in range(50):
        for app in applications():
            for child in app:
                if child is not None and child.name == title and child.getState().contains(pyatspi.STATE_SHOWING):
                    return child
        time.sleep(0.2)
    sys.exit(f"no showing window {title!r}")


def showing(node):
    state = node.getState()
    return state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_VISIBLE)


def descendants(node, path=()):
    for child in node:
        if child is None or not showing(child):
            continue
        place = path + (f"{child.getRoleName()} {child.name!r}",)
        yield child, place
        # A table's cells are its data, not controls; the table itself carries the name.
        if child.getRoleName() not in ("table", "tree table", "list"):
            yield from descendants(child, place)


def unnamed(top):
    found = []
    for node, place in descendants(top):
        role = node.getRoleName()
        if role in UNNAMED_ROLES:
            continue
        if role in ("unknown", "") or not node.name.strip():
            found.append(" > ".join(place))
    return found


def find(top, name):
    for node, _ in descendants(top):
        if node.name == name:
            return node
    sys.exit(f"no showing control {name!r} in {top.name!r}")


def report(title, found):
    for place in found:
        print(f"    unnamed in {title}: {place}")
    return 1 if found else 0


def press(node):
    action = node.queryAction()
    if action.nActions < 1:
        sys.exit(f"{node.name!r} has no action")
    if not action.doAction(0):
        sys.exit(f"{node.name!r} refused {action.getName(0)!r}")


def main(argv):
    command, title = argv[1], argv[2]
    top = window(title)
    if command == "walk":
        return report(title, unnamed(top))
    if command == "walk-pages":
        lists = [node for node, _ in descendants(top) if node.getRoleName() == "page tab list"]
        if len(lists) != 1:
            sys.exit(f"{len(lists)} page tab lists in {title!r}")
        tabs = [tab for tab in lists[0] if tab is not None and tab.getRoleName() == "page tab"]
        if not tabs:
            sys.exit(f"no page tabs in {title!r}")
        failed = 0
        for tab in tabs:
            press(tab)
            for _ in range(25):
                if tab.getState().contains(pyatspi.STATE_SELECTED):
                    break
                time.sleep(0.1)
            else:
                sys.exit(f"page {tab.name!r} was not selected")
            failed |= report(f"{title} ({tab.name})", unnamed(top))
        print("    pages: " + ", ".join(tab.name for tab in tabs))
        return failed
    if command == "role":
        roles = [node.getRoleName() for node, _ in descendants(top) if node.name == argv[3]]
        if argv[4] not in roles:
            print(f"    {argv[3]!r} in {title!r} is {roles}, no {argv[4]!r}")
            return 1
        return 0
    if command == "window-role":
        print(top.getRoleName())
        return 0
    if command == "label":
        texts = [node.name for node, _ in descendants(top) if node.getRoleName() == "label"]
        if argv[3] in texts:
            return 0
        print(f"    no label {argv[3]!r} in {title!r}: {texts}")
        return 1
    if command == "showing":
        return 0 if any(node.name == argv[3] for node, _ in descendants(top)) else 1
    if command == "press":
        press(find(top, argv[3]))
        return 0
    sys.exit(f"unknown command {command!r}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
