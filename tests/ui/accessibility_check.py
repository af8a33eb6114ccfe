#!/usr/bin/python3
"""Starts the program the way a screen reader meets it, on a private session bus with the
desktop's accessibility bus, opens a job in the editor, and walks the program's accessible
objects over AT-SPI. Fails when a control has no name, or when a control of the editor
cannot be found by its name.

Usage: accessibility_check.py VANDRA DEMO_ROOT   (run under xvfb-run: it needs an X display)
"""

import base64
import os
import shutil
import subprocess
import sys
import tempfile
import time

import dbus

CONTROL_ROLES = {
    "push button", "check box", "combo box", "entry", "text", "spin button",
    "toggle button", "radio button", "password text", "slider", "menu button",
}
# Names a screen-reader user reaches the editor by.
EDITOR_NAMES = [
    "Kind", "Name", "Run", "Enabled", "Choose Program", "Save", "Discard", "Test", "Help",
    "Low priority I/O", "Session type", "User name", "Working folder", "Output file",
    "At startup and when saving", "Scheduled",
]
ATSPI_ACCESSIBLE = "org.a11y.atspi.Accessible"
PROPERTIES = "org.freedesktop.DBus.Properties"


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    sys.exit(f"accessibility check: timed out waiting for {what}")


def start_session_bus(processes):
    bus = subprocess.Popen(["dbus-daemon", "--session", "--print-address=1", "--nofork"],
                           stdout=subprocess.PIPE, text=True)
    processes.append(bus)
    address = bus.stdout.readline().strip()
    if not address:
        sys.exit("accessibility check: no session bus")
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    return address


def accessibility_bus():
    session = dbus.bus.BusConnection(os.environ["DBUS_SESSION_BUS_ADDRESS"])

    def address():
        try:
            launcher = session.get_object("org.a11y.Bus", "/org/a11y/bus")
            return str(launcher.GetAddress(dbus_interface="org.a11y.Bus"))
        except dbus.DBusException:
            return None

    return dbus.bus.BusConnection(wait_for(address, 20, "the accessibility bus"))


def prop(bus, name, path, key):
    obj = bus.get_object(name, path, introspect=False)
    return obj.Get(ATSPI_ACCESSIBLE, key, dbus_interface=PROPERTIES)


def children(bus, name, path):
    obj = bus.get_object(name, path, introspect=False)
    return [(str(n), str(p)) for n, p in obj.GetChildren(dbus_interface=ATSPI_ACCESSIBLE)]


def find_application(bus):
    def found():
        try:
            for name, path in children(bus, "org.a11y.atspi.Registry",
                                       "/org/a11y/atspi/accessible/root"):
                if str(prop(bus, name, path, "Name")).lower() == "vandra":
                    return (name, path)
        except dbus.DBusException:
            pass
        return None

    return wait_for(found, 30, "the program on the accessibility bus")


LABELLED_BY = 2


def label_of(bus, name, path, obj):
    """A control's name as a screen reader says it: its own, else that of its label. Qt names
    a combo box by its current text on Linux and leaves its name to the label relation."""
    for relation, targets in obj.GetRelationSet(dbus_interface=ATSPI_ACCESSIBLE):
        if relation == LABELLED_BY and targets:
            target_name, target_path = targets[0]
            return str(prop(bus, str(target_name), str(target_path), "Name")).rstrip(":")
    return str(prop(bus, name, path, "Name"))


def walk(bus, root):
    """Every object under root, as (role name, accessible name, where)."""
    seen, queue, found = set(), [(root, "")], []
    while queue:
        (name, path), where = queue.pop()
        if (name, path) in seen or path == "/org/a11y/atspi/null":
            continue
        seen.add((name, path))
        obj = bus.get_object(name, path, introspect=False)
        role = str(obj.GetRoleName(dbus_interface=ATSPI_ACCESSIBLE))
        label = label_of(bus, name, path, obj)
        here = f"{where} > {role} '{label}'" if where else f"{role} '{label}'"
        found.append((role, label, here))
        queue.extend((child, here) for child in children(bus, name, path))
    return found


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    program, demo = sys.argv[1], sys.argv[2]
    processes = []
    work = tempfile.mkdtemp()
    try:
        root = os.path.join(work, "root")
        shutil.copytree(demo, root, symlinks=True)
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        start_session_bus(processes)
        processes.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher"]))
        bus = accessibility_bus()

        job = os.path.join(root, "home/.config/vandra/LaunchAgents/org.example.backup.plist")
        url = "vandra-job://" + base64.urlsafe_b64encode(job.encode()).decode().rstrip("=")
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   XDG_RUNTIME_DIR=runtime, LANG="C.UTF-8")
        # The X keyboard library reads past a string's end on purpose; the program is ended
        # by a signal, so leaks are not looked at either.
        sanitizer = env.get("ASAN_OPTIONS", "")
        env["ASAN_OPTIONS"] = ":".join(filter(None, [sanitizer, "strict_string_checks=0",
                                                     "detect_leaks=0"]))
        processes.append(subprocess.Popen([program, "--root", root, url], env=env))

        app = find_application(bus)

        def editor_shown():
            objects = walk(bus, app)
            names = {label for role, label, _ in objects if role in CONTROL_ROLES}
            return objects if all(n in names for n in EDITOR_NAMES) else None

        deadline = time.monotonic() + 30
        objects = None
        while objects is None and time.monotonic() < deadline:
            objects = editor_shown()
            if objects is None:
                time.sleep(0.5)
        if objects is None:
            objects = walk(bus, app)
            names = {label for role, label, _ in objects if role in CONTROL_ROLES}
            missing = [n for n in EDITOR_NAMES if n not in names]
            sys.exit("accessibility check: controls not found by name: " + ", ".join(missing))

        unnamed = [where for role, label, where in objects
                   if role in CONTROL_ROLES and not label.strip()]
        controls = sum(1 for role, _, _ in objects if role in CONTROL_ROLES)
        if unnamed:
            sys.exit("accessibility check: unnamed controls:\n  " + "\n  ".join(unnamed))
        print(f"accessibility check: {controls} controls, all named")
    finally:
        for process in reversed(processes):
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
