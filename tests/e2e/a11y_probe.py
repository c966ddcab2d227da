#!/usr/bin/python3
"""Reads the running program's accessibility tree over AT-SPI.

a11y_probe.py tabs           prints the page tab names, one a line
a11y_probe.py press NAME     presses the page tab NAME by its action
a11y_probe.py selected NAME  succeeds when the page tab NAME is selected
Every wait is bounded; a failure says what was seen.
"""
import sys
import time

import pyatspi

LIMIT = 30.0


def wait_for(what, find):
    end = time.monotonic() + LIMIT
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    sys.exit("a11y_probe: no %s within %d s" % (what, LIMIT))


def tab_list():
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != "Kartolino":
            continue
        found = pyatspi.findDescendant(app, lambda a: a is not None and a.getRole() == pyatspi.ROLE_PAGE_TAB_LIST)
        if found is not None:
            return found
    return None


def tabs():
    row = wait_for("page tab list in an application Kartolino", tab_list)
    return [row.getChildAtIndex(i) for i in range(row.childCount)
            if row.getChildAtIndex(i).getRole() == pyatspi.ROLE_PAGE_TAB]


def tab_named(name):
    return wait_for("page tab %r" % name, lambda: next((t for t in tabs() if t.name == name), None))


def press(tab):
    action = tab.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if not names:
        sys.exit("a11y_probe: tab %r has no action" % tab.name)
    index = next((i for i, n in enumerate(names) if n.lower() == "press"), 0)
    action.doAction(index)


def selected(tab):
    try:
        tab.clear_cache()
    except AttributeError:
        pass
    return tab.getState().contains(pyatspi.STATE_SELECTED)


command = sys.argv[1]
if command == "tabs":
    print("\n".join(t.name for t in tabs()))
elif command == "press":
    press(tab_named(sys.argv[2]))
elif command == "selected":
    sys.exit(0 if selected(tab_named(sys.argv[2])) else 1)
else:
    sys.exit("a11y_probe: unknown command %r" % command)
