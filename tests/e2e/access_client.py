#!/usr/bin/python3
"""A screen reader's view of the running setup program, through AT-SPI.

Run by access_test on a private session bus with the accessibility bus on.
Finds the program's window, presses a key combination into the key box,
checks every control's name, role and states, walks the focus with Tab and
Shift+Tab, presses "Write in" through its accessible action, then sets two
pedals and picks pedal 2 through the count's and the tab's actions; the test
then checks what the pedal received. Prints "registry pid N" first, so the
test can end the registry by pid. Exit status 0 when every check held.
"""
import argparse
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402
import pyatspi  # noqa: E402

X_TAB, X_SHIFT_L, X_CONTROL_L, X_A = 23, 50, 37, 38
WAIT = 30.0

failures = []


def fail(text):
    failures.append(text)
    print("FAIL: " + text, flush=True)


def wait_for(condition, what, timeout=WAIT):
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = condition()
        except GLib.Error:
            # An object went away while it was read (a box closing): the
            # tree is changing, look again.
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            fail("timed out waiting for " + what)
            return None
        time.sleep(0.1)


def registry_pid():
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                None, None, Gio.DBusCallFlags.NONE, -1, None).unpack()[0]
    flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
             | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
    bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)
    reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                          "GetConnectionUnixProcessID", GLib.Variant("(s)", ("org.a11y.atspi.Registry",)),
                          None, Gio.DBusCallFlags.NONE, -1, None)
    return reply.unpack()[0]


def states(node):
    return set(node.getState().getStates())


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def showing(nodes):
    return [n for n in nodes if pyatspi.STATE_SHOWING in states(n)]


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def find_app(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def find(nodes, role, name):
    return next((n for n in nodes if n.getRole() == role and n.name == name), None)


def press(*keycodes):
    """Presses the keys in order and releases them in reverse, as a user does."""
    for code in keycodes:
        pyatspi.Registry.generateKeyboardEvent(code, None, pyatspi.KEY_PRESS)
    for code in reversed(keycodes):
        pyatspi.Registry.generateKeyboardEvent(code, None, pyatspi.KEY_RELEASE)


def walk_shown(node):
    """The showing nodes under `node`, not looking into what is not shown."""
    for child in node:
        if child is not None and pyatspi.STATE_SHOWING in states(child):
            yield child
            yield from walk_shown(child)


def move_focus(app, *keys):
    """Presses `keys` (the last one Tab) and holds them until the focus has
    moved, as a person does; the control now focused, or None."""
    before = focused(app)
    for code in keys:
        pyatspi.Registry.generateKeyboardEvent(code, None, pyatspi.KEY_PRESS)
    node = wait_for(lambda: (lambda f: f if f is not None and f != before else None)(focused(app)),
                    "the focus to leave %s on %s" % (describe(before), "+".join(map(str, keys))))
    for code in reversed(keys):
        pyatspi.Registry.generateKeyboardEvent(code, None, pyatspi.KEY_RELEASE)
    return node


def focused(app):
    """The control with the keyboard focus. The selected tab reports FOCUSED
    whether or not its tab row has the focus: it counts only when nothing
    else does."""
    candidates = [n for n in walk_shown(app) if pyatspi.STATE_FOCUSED in states(n)]
    others = [n for n in candidates if n.getRole() != pyatspi.ROLE_PAGE_TAB]
    return (others or candidates or [None])[0]


def describe(node):
    return "%s %r" % (node.getRoleName(), node.name) if node is not None else "nothing"


def do_action(node, action):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        fail("%s has no action %r (it has %s)" % (describe(node), action, names))
        return
    actions.doAction(names.index(action))


def check_controls(app, args):
    nodes = list(walk(app))
    shown = showing(nodes)
    expected = [
        (pyatspi.ROLE_FRAME, "Varnok setup program"),
        (pyatspi.ROLE_COMBO_BOX, args.pedal),
        (pyatspi.ROLE_LABEL, "1 foot switch is connected!"),
        (pyatspi.ROLE_IMAGE, "Foot switch connected"),
        (pyatspi.ROLE_LABEL, "Serial number: " + args.serial),
        (pyatspi.ROLE_PAGE_TAB, "Pedal 1"),
        (pyatspi.ROLE_TEXT, "Key combination of pedal 1"),
        (pyatspi.ROLE_LABEL, "Listening"),
        (pyatspi.ROLE_SPIN_BUTTON, "Pedal Number"),
        (pyatspi.ROLE_PUSH_BUTTON, "Write in"),
        (pyatspi.ROLE_PUSH_BUTTON, "Read out"),
    ]
    # A combo box is named by its choice and labelled by its label.
    choice = find(shown, pyatspi.ROLE_COMBO_BOX, args.pedal)
    if choice is not None:
        labels = [target.name for relation in choice.getRelationSet()
                  if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
                  for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
        if "Select" not in labels:
            fail("the pedal choice is labelled by %s" % labels)
    for role, name in expected:
        if find(shown, role, name) is None:
            fail("no %s named %r shown" % (Atspi.role_get_name(role), name))
    version = next((n for n in shown if n.getRole() == pyatspi.ROLE_LABEL and n.name.startswith("Version: ")), None)
    if version is None or len(version.name) <= len("Version: "):
        fail("no label names the version with its number")
    pictures = {n.name for n in shown if n.getRole() == pyatspi.ROLE_IMAGE}
    if pictures != {"Foot switch connected"}:
        fail("pictures shown: %s" % sorted(pictures))
    for name, picture in (("Write in", "Picture: a tick"), ("Read out", "Picture: a circular arrow")):
        button = find(shown, pyatspi.ROLE_PUSH_BUTTON, name)
        if button is not None and button.description != picture:
            fail("%r describes its picture as %r" % (name, button.description))
    key_box = find(shown, pyatspi.ROLE_TEXT, "Key combination of pedal 1")
    if key_box is not None:
        if text_of(key_box) != args.key_text:
            fail("key box reads %r, not %r" % (text_of(key_box), args.key_text))
        if pyatspi.STATE_READ_ONLY not in states(key_box):
            fail("key box is not read-only")
    for node in nodes:
        s = states(node)
        if pyatspi.STATE_EDITABLE in s and pyatspi.STATE_READ_ONLY in s:
            fail("%s is both editable and read-only" % describe(node))
        if "按键" in node.name:
            fail("%s keeps a caption the window no longer shows" % describe(node))
    for node in shown:
        if node.getRole() == pyatspi.ROLE_FILLER:
            fail("%s is a filler" % describe(node))
        if node.getRole() != pyatspi.ROLE_SEPARATOR and not node.name:
            fail("%s has no name" % describe(node))
    tabs = [n for n in nodes if n.getRole() == pyatspi.ROLE_PAGE_TAB]
    if [t.name for t in tabs] != ["Pedal %d" % i for i in range(1, 9)]:
        fail("tabs are named %s" % [t.name for t in tabs])
    shown_tabs = [t.name for t in tabs if pyatspi.STATE_SHOWING in states(t) or pyatspi.STATE_VISIBLE in states(t)]
    if shown_tabs != ["Pedal 1"]:
        fail("tabs shown: %s (the pedal count is 1)" % shown_tabs)


def check_keyboard(app, args):
    """Tab and Shift+Tab reach every control, and the key box keeps its text."""
    controls = {args.pedal, "Key combination of pedal 1", "Pedal Number", "Write in", "Read out",
                "Pedal 1"}
    forward = []
    for _ in range(len(controls) + 1):
        node = move_focus(app, X_TAB)
        if node is None:
            return
        forward.append(node.name)
    if set(forward) != controls:
        fail("Tab reached %s" % forward)
    backward = []
    for _ in range(len(controls)):
        node = move_focus(app, X_SHIFT_L, X_TAB)
        if node is None:
            return
        backward.append(node.name)
    # Tab went once round the ring and one step on; Shift+Tab walks the same
    # ring back from there.
    if backward != list(reversed(forward[:len(controls)])):
        fail("Shift+Tab went %s after Tab went %s" % (backward, forward))
    key_box = find(walk(app), pyatspi.ROLE_TEXT, "Key combination of pedal 1")
    if key_box is None or text_of(key_box) != args.key_text:
        fail("Tab and Shift+Tab changed the key box to %r" % (text_of(key_box) if key_box else None))


def write_in(app):
    button = find(walk(app), pyatspi.ROLE_PUSH_BUTTON, "Write in")
    if button is None:
        fail("no Write in button")
        return
    do_action(button, "Press")

    def alert():
        for node in walk(app):
            if node.getRole() == pyatspi.ROLE_ALERT and pyatspi.STATE_SHOWING in states(node):
                if any(n.getRole() == pyatspi.ROLE_LABEL and n.name.startswith("Setup Done!") for n in walk(node)):
                    return node
        return None

    box = wait_for(alert, 'an alert saying "Setup Done!"')
    if box is None:
        return
    print("alert: Setup Done!", flush=True)
    ok = next((n for n in walk(box) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON), None)
    if ok is None:
        fail("the alert has no button")
        return
    do_action(ok, "Press")
    wait_for(lambda: alert() is None, "the alert to close")


def choose_pedal_two(app):
    """Two pedals through the count's action, pedal 2 through its tab's:
    the key box is then named for pedal 2."""
    count = find(walk_shown(app), pyatspi.ROLE_SPIN_BUTTON, "Pedal Number")
    if count is None:
        fail("no pedal count")
        return
    do_action(count, "Increase")
    tab = wait_for(lambda: find(walk_shown(app), pyatspi.ROLE_PAGE_TAB, "Pedal 2"), "the tab of pedal 2")
    if tab is None:
        return
    do_action(tab, "Press")
    wait_for(lambda: find(walk_shown(app), pyatspi.ROLE_TEXT, "Key combination of pedal 2"),
             "the key box of pedal 2")


def dump(node, depth=0):
    """The tree as the client saw it, for the test's output."""
    names = sorted(pyatspi.stateToString(s) for s in states(node))
    print("  " * depth + "%s desc=%r text=%r %s" % (describe(node), node.description, text_of(node), names))
    for child in node:
        if child is not None:
            dump(child, depth + 1)


def run(app, args):
    frame = wait_for(lambda: find(walk(app), pyatspi.ROLE_FRAME, "Varnok setup program"), "the main window")
    if frame is None:
        return
    # Tab to the key box, as a user without a mouse does.
    key_box = None
    for _ in range(8):
        node = focused(app)
        if node is not None and node.getRole() == pyatspi.ROLE_TEXT:
            key_box = node
            break
        move_focus(app, X_TAB)
    if key_box is None:
        fail("Tab never reached the key box")
        return
    press(X_CONTROL_L, X_SHIFT_L, X_A)
    wait_for(lambda: text_of(key_box) == args.key_text, "%r in the key box" % args.key_text)

    check_controls(app, args)
    check_keyboard(app, args)
    write_in(app)
    choose_pedal_two(app)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--serial", required=True)
    parser.add_argument("--pedal", required=True, help="the pedal's entry in the pedal choice")
    parser.add_argument("--key-text", required=True)
    args = parser.parse_args()
    print("registry pid %d" % registry_pid(), flush=True)

    app = wait_for(lambda: find_app("varnok-setup"), "the program on the accessibility bus")
    if app is None:
        return 1
    run(app, args)
    if failures:
        dump(app)
    print("%d failed checks" % len(failures), flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
