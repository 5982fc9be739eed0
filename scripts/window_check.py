"""The editor's real window under a window manager, as a user and a screen
reader meet it: titles from the window system, keys typed through it, names,
descriptions, states and actions through the accessibility bus.
Run by scripts/window-test inside its X server and D-Bus session."""
import os
import subprocess
import sys
import time

import pyatspi

EDITOR, OUT = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def wait_for(probe, seconds=20.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = probe()
        if value:
            return value
        time.sleep(0.1)
    return None


def window_titles():
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], capture_output=True, text=True).stdout
    titles = {}
    for wid in out.split():
        prop = subprocess.run(["xprop", "-id", wid, "_NET_WM_NAME"], capture_output=True, text=True).stdout
        if "=" in prop:
            titles[prop.split("=", 1)[1].strip().strip('"')] = wid
    return titles


def screenshot(name):
    subprocess.run(["import", "-window", "root", os.path.join(OUT, name + ".png")], check=False)


def find(node, predicate):
    if node is None:
        return None
    try:
        if predicate(node):
            return node
        for i in range(node.childCount):
            found = find(node.getChildAtIndex(i), predicate)
            if found:
                return found
    except Exception:
        pass
    return None


def editor_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "qrn4480-editor":
            return app
    return None


def named(name, role=None):
    app = wait_for(editor_app, 10)
    return find(app, lambda n: n.name == name and (role is None or n.getRoleName() == role))


def enabled(node):
    return node.getState().contains(pyatspi.STATE_SENSITIVE)


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def toggle(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Toggle") if "Toggle" in names else 0)


def start(arguments):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    return subprocess.Popen([EDITOR] + arguments, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def demo_session():
    editor = start(["--demo"])
    caption = "QRN4480 - feedback eliminator - demo mode"
    check(wait_for(lambda: caption in window_titles()) is not None, "demo caption exactly as written: " + caption)
    screenshot("demo")

    status = wait_for(lambda: named("Connection status"))
    check(status is not None and status.description == "Demo mode", "status label says Demo mode on the bus")
    bar = find(editor_app(), lambda n: n.getRoleName() == "menu bar")
    menus = [bar.getChildAtIndex(i).name.replace("&", "") for i in range(bar.childCount)] if bar else []
    check(menus == ["File", "Device", "Edit", "View", "Help"], "menu bar File Device Edit View Help: %s" % menus)
    gain = named("Left notch 12 gain slider")
    check(gain is not None and gain.description == "0 dB", "a gain bar is spoken with its unit")

    # A screen reader's Toggle must make the program act: the search locks
    # the toolbar, and toggling back unlocks it.
    search = named("Search Feedback L")
    load = named("Load Preset from PC", "push button")
    check(search is not None and load is not None and enabled(load), "search box and load button found")
    if search is not None and load is not None:
        toggle(search)
        check(wait_for(lambda: checked(search) and not enabled(load), 5) is not None,
              "Toggle starts the search and locks the toolbar")
        screenshot("demo-search")
        toggle(search)
        check(wait_for(lambda: not checked(search) and enabled(load), 5) is not None,
              "Toggle again stops it and unlocks the toolbar")

    main = window_titles().get(caption)
    subprocess.run(["xdotool", "windowactivate", "--sync", main], check=False)

    # An edit marks the title as the window manager shows it; Ctrl+Z takes
    # the edit and the mark back.
    gain = named("Left notch 12 gain slider")
    if gain is not None:
        gain.queryValue().currentValue = 40.0
        check(wait_for(lambda: caption + " *" in window_titles(), 5) is not None, "an edit adds ' *' to the title")
        screenshot("unsaved")
        subprocess.run(["xdotool", "key", "--window", main, "ctrl+z"], check=False)
        check(wait_for(lambda: caption in window_titles() and gain.description == "0 dB", 5) is not None,
              "Ctrl+Z undoes the edit and the title loses its mark")
    subprocess.run(["xdotool", "key", "--window", main, "ctrl+q"], check=False)
    check(wait_for(lambda: "Exit" in window_titles(), 5) is not None, "Ctrl+Q shows a box titled exactly Exit")
    screenshot("exit-question")
    subprocess.run(["xdotool", "key", "Escape"], check=False)
    check(wait_for(lambda: "Exit" not in window_titles(), 5) is not None, "Escape answers No and the box goes")
    check(editor.poll() is None, "the editor still runs after No")

    subprocess.run(["xdotool", "key", "--window", main, "F1"], check=False)
    check(wait_for(lambda: "Keyboard shortcuts" in window_titles(), 5) is not None, "F1 opens Keyboard shortcuts")
    screenshot("keyboard-shortcuts")
    editor.terminate()
    editor.wait(10)


def device_session():
    editor = start(["--simulate"])
    caption = "QRN4480 - feedback eliminator"
    check(wait_for(lambda: caption in window_titles(), 30) is not None, "caption exactly as written: " + caption)
    check(not any(t.startswith(caption + " -") for t in window_titles()), "no sub-window name appended")
    status = wait_for(lambda: named("Connection status"))
    check(status is not None and status.description.startswith("Connected: port 1 ("),
          "status label says Connected: %s" % (status.description if status else None))
    screenshot("connected")
    editor.terminate()
    editor.wait(10)


demo_session()
device_session()
if failures:
    print("window-test: %d failed" % len(failures), file=sys.stderr)
    sys.exit(1)
