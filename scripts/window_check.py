"""The editor's real window under a window manager, as a user and a screen
reader meet it: titles from the window system, keys typed through it, names,
descriptions, states and actions through the accessibility bus.
Run by scripts/window-test inside its X server and D-Bus session."""
import json
import os
import re
import subprocess
import sys
import time

import pyatspi

from simulated_device import commands_in, fault_arguments, frames_in, start_simulator

EDITOR, OUT = sys.argv[1], sys.argv[2]
# "full": every check, on the X server's screen; "fit WxH": the layout on
# a screen of that size; "dark": under a dark desktop theme.
MODE = sys.argv[3:] or ["full"]
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


def settled(probe, seconds=10.0):
    """The probe's value once two readings in a row agree: a layout the
    window manager or the bus is still moving is not read."""
    last = [None]

    def same():
        value = probe()
        stable = value is not None and value == last[0]
        last[0] = value
        return value if stable else None

    return wait_for(same, seconds)


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
    # Under a GTK platform theme GTK registers the program a second time,
    # with no windows: the one with windows is Qt's.
    apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "qrn4480-editor"]
    apps.sort(key=lambda a: -a.childCount)
    return apps[0] if apps and apps[0].childCount > 0 else None


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


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press") if "Press" in names else 0)


def all_nodes(node, predicate):
    found = []
    try:
        if predicate(node):
            found.append(node)
        for i in range(node.childCount):
            found += all_nodes(node.getChildAtIndex(i), predicate)
    except Exception:
        pass
    return found


def text_of(node):
    """The node's text, or "" for a node that holds none."""
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except Exception:
        return ""


def home_of(name):
    """A home of its own for each user of the program; a second start on
    the same name finds what the first one left behind."""
    home = os.path.join(os.environ["HOME"], name)
    os.makedirs(home, exist_ok=True)
    return home


def home_env(home, **extra):
    return dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb", HOME=home,
                XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_DATA_HOME=os.path.join(home, "data"), **extra)


def start(arguments, home, **extra_env):
    return subprocess.Popen([EDITOR] + arguments, env=home_env(home, **extra_env), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def kept_settings(home):
    return os.path.join(home, "data", "qrn4480", "qrn4480-editor", "kept-settings.qrna")


def map_state(caption):
    """What the window system says of the program's window with this exact
    title, visible or not: IsViewable, IsUnMapped, or None when no such
    window exists."""
    out = subprocess.run(["xdotool", "search", "--name", "^%s$" % caption.replace("*", "\\*")],
                         capture_output=True, text=True).stdout
    states = []
    for wid in out.split():
        info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
        states += [line.split(":", 1)[1].strip() for line in info.splitlines() if "Map State:" in line]
    return "IsViewable" if "IsViewable" in states else (states[0] if states else None)


def window_size(wid):
    info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
    size = {k: int(v) for k, v in (l.strip().split(": ") for l in info.splitlines() if l.strip().startswith(("Width:", "Height:")))}
    return size.get("Width", 0), size.get("Height", 0)


def listed_by_window_manager(caption):
    return caption in subprocess.run(["wmctrl", "-l"], capture_output=True, text=True).stdout


def key_until_window(main, key, title):
    """Types `key` into the window `main` until a window titled `title`
    shows; its id, or None. A key typed while the window manager is still
    handing the focus over is lost, as it would be for a user: type it
    again."""
    for _ in range(3):
        subprocess.run(["xdotool", "windowactivate", "--sync", main], check=False)
        subprocess.run(["xdotool", "key", key], check=False)
        shown = wait_for(lambda: window_titles().get(title), 3)
        if shown is not None:
            return shown
    return None


def quit_with_yes(editor, caption):
    """Ctrl+Q, then Yes in the Exit box: the normal end a user makes."""
    box = key_until_window(window_titles().get(caption), "ctrl+q", "Exit")
    check(box is not None, "Ctrl+Q asks Exit")
    answer_yes_and_end(editor, box)


def answer_yes_and_end(editor, box):
    """Yes in the Exit box `box`: the program must end, and end well."""
    if box is not None:
        subprocess.run(["xdotool", "windowactivate", "--sync", box], check=False)
        subprocess.run(["xdotool", "key", "alt+y"], check=False)
    try:
        editor.wait(15)
    except subprocess.TimeoutExpired:
        screenshot("quit-failed")
        editor.kill()
        editor.wait(10)
    check(editor.returncode == 0, "Yes ends the program normally (exit %s)" % editor.returncode)


def second_start(arguments, home, caption, what):
    """The program started again on a home an earlier run left behind: its
    window must come back, mapped, and the window manager must list it."""
    editor = start(arguments, home)
    shown = wait_for(lambda: map_state(caption) == "IsViewable" and listed_by_window_manager(caption), 30)
    check(shown is not None, "second start %s: the main window is mapped and listed (%s)" % (what, map_state(caption)))
    return editor


def find_all(node, predicate, found=None):
    found = [] if found is None else found
    try:
        if predicate(node):
            found.append(node)
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                find_all(child, predicate, found)
    except Exception:
        pass
    return found


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def area_scroll_bars():
    """The scroll bars a user would see around the editor: the notch rows'
    and settings' bars all have names, a scroll area's have none."""
    bars = find_all(editor_app(), lambda n: n.getRoleName() == "scroll bar" and not n.name and showing(n))
    return ["horizontal" if extents(b)[2] > extents(b)[3] else "vertical" for b in bars]


def pixels(path, x, y, w, h):
    """The (r, g, b) of every pixel in a rectangle of a screenshot."""
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8", "txt:-"],
                         capture_output=True, text=True).stdout
    values = []
    for line in out.splitlines()[1:]:
        rgb = line.split("(", 1)[1].split(")", 1)[0].split(",")[:3]
        values.append(tuple(int(float(v)) for v in rgb))
    return values


def lightness(rgb):
    return (max(rgb) + min(rgb)) / 510.0


def maximize(caption):
    main = wait_for(lambda: window_titles().get(caption), 30)
    if main:
        subprocess.run(["wmctrl", "-i", "-r", main, "-b", "add,maximized_vert,maximized_horz"], check=False)
    return main


def fit_session(size):
    """Maximized on a laptop's or a netbook's screen: every row, both graphs
    and every automatic setting in sight; no scroll bar on the laptop, no
    horizontal one on the netbook; the search status whole; a bar's single
    steps by Shift-drag and wheel; every window inside the screen with its
    buttons in sight."""
    width, height = (int(v) for v in size.split("x"))
    home = home_of("fit-" + size)
    editor = start(["--demo"], home)
    caption = "QRN4480 - feedback eliminator - demo mode"
    main = maximize(caption)
    check(main is not None, "%s: the main window is shown" % size)
    wait_for(lambda: main and window_size(main)[1] >= height - 80, 10)
    settled(lambda: (lambda a: extents(a) if a else None)(find(editor_app(), lambda n: n.getRoleName() == "scroll pane")))
    screenshot("fit-%s" % size)
    inner = find_all(editor_app(), lambda n: n.getRoleName() == "internal frame")
    check(not inner, "%s: no window inside the window (%d inner frames)" % (size, len(inner)))
    bars = area_scroll_bars()
    if width >= 1366:
        check(not bars, "%s: no scroll bar around the editor: %s" % (size, bars))
        area = find(editor_app(), lambda n: n.getRoleName() == "scroll pane")
        ax, ay, aw, ah = extents(area) if area else (0, 0, width, height)
        names = ["%s notch %d %s" % (c, k, w) for c in ("Left", "Right") for k in range(1, 13)
                 for w in ("frequency", "width slider")]
        names += ["%s response graph" % c for c in ("Left", "Right")]
        names += ["%s %s" % (c, s) for c in ("Left", "Right") for s in
                  ("Num notch automatic", "Q notch automatic", "Attenuation notch", "Release notch", "Mode search",
                   "Sensitivity value")]
        hidden = []
        for name in names:
            node = named(name)
            x, y, w, h = extents(node) if node else (0, 0, 0, 0)
            if node is None or not (ax <= x and ay <= y and x + w <= ax + aw and y + h <= ay + ah):
                hidden.append(name)
        check(not hidden, "%s: every row, graph and setting in sight (%s)" % (size, hidden[:4]))
    else:
        check("horizontal" not in bars, "%s: no horizontal scroll bar: %s" % (size, bars))
    status_text_whole(size, main)
    fine_steps(size)
    editor.kill()
    editor.wait(10)
    every_window_fits(size, width, height)


def ink_columns(path, box, background):
    """The columns of a screenshot's rectangle that hold anything but the
    background colour."""
    x, y, w, h = box
    values = pixels(path, x, y, w, h)
    return sorted({i % w for i, p in enumerate(values) if max(abs(a - b) for a, b in zip(p, background)) > 60})


def status_text_whole(size, main):
    """A search running on the netbook's screen, and on a window 1000 pixels
    wide: its status says which channels in full, inside the screen, with
    nothing cut at its end and the preset's source clear of it."""
    search = named("Search Feedback L&R", "check box")
    check(search is not None, "%s: the L&R search box is on the bus" % size)
    if search is None:
        return
    toggle(search)
    text = "Search running: Left & Right"
    label = wait_for(lambda: (lambda n: n if n and showing(n) else None)(named(text, "label")), 5)
    check(label is not None, "%s: the search status is shown" % size)
    for width in (None, 1000):
        if width and main:
            subprocess.run(["wmctrl", "-i", "-r", main, "-b", "remove,maximized_vert,maximized_horz"], check=False)
            subprocess.run(["wmctrl", "-i", "-r", main, "-e", "0,0,0,%d,560" % width], check=False)
            wait_for(lambda: window_size(main)[0] == width, 5)
        where = "%s%s" % (size, " at 1000 px" if width else "")
        box = settled(lambda: extents(label)) if label else None
        shot = os.path.join(OUT, "status-%s%s.png" % (size, "-1000" if width else ""))
        subprocess.run(["import", "-window", "root", shot], check=False)
        if not box:
            continue
        x, y, w, h = box
        back = pixels(shot, x + w - 1, y + 1, 1, 1)
        ink = ink_columns(shot, box, back[0]) if back else []
        source = named("Preset loaded from Device", "label")
        clear = source is None or not showing(source) or extents(source)[0] >= x + w
        check(x >= 0 and x + w <= int(size.split("x")[0]) and ink and ink[-1] < w - 4 and clear,
              "%s: \"%s\" shown whole: label %s, ink to column %s" % (where, text, box, ink[-1] if ink else None))
    toggle(search)
    check(wait_for(lambda: not checked(search), 5) is not None, "%s: the search stops" % size)
    if main:
        maximize_id(main)


def maximize_id(wid):
    subprocess.run(["wmctrl", "-i", "-r", wid, "-b", "add,maximized_vert,maximized_horz"], check=False)


def fine_steps(size):
    """A drag with Shift held moves a bar one step for a short drag; one
    notch of the wheel over a bar without the focus moves it one step."""
    bar = named("Left notch 12 frequency slider")
    check(bar is not None, "%s: the Left row 12 frequency bar is on the bus" % size)
    if bar is not None:
        x, y, w, h = settled(lambda: extents(bar))
        before = bar.queryValue().currentValue
        cx, cy = x + w // 2, y + h // 2
        for command in (["mousemove", str(cx), str(cy)], ["keydown", "shift"], ["mousedown", "1"],
                        ["mousemove", str(cx + 5), str(cy)], ["mousemove", str(cx + 10), str(cy)],
                        ["mouseup", "1"], ["keyup", "shift"]):
            subprocess.run(["xdotool"] + command, check=False)
        after = wait_for(lambda: (lambda v: v if v != before else None)(bar.queryValue().currentValue), 3)
        check(after == before + 1, "%s: a Shift-drag of 10 px moves one step: %s -> %s" % (size, before, after))
    gain = named("Left notch 12 gain slider")
    if gain is not None:
        focused = gain.getState().contains(pyatspi.STATE_FOCUSED)
        x, y, w, h = extents(gain)
        before = gain.queryValue().currentValue
        subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2)], check=False)
        subprocess.run(["xdotool", "click", "5"], check=False)
        after = wait_for(lambda: (lambda v: v if v != before else None)(gain.queryValue().currentValue), 3)
        check(not focused and after == before - 1,
              "%s: one wheel notch over an unfocused bar moves one step: %s -> %s" % (size, before, after))
        check(gain.description == "-1 dB", "%s: and says so: %s" % (size, gain.description))


def outer_geometry(wid):
    """The window on the screen with the window manager's frame around it."""
    info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
    fields = {}
    for line in info.splitlines():
        if ":" in line:
            key, value = line.strip().split(":", 1)
            fields[key] = value.strip()
    x, y = int(fields.get("Absolute upper-left X", 0)), int(fields.get("Absolute upper-left Y", 0))
    w, h = int(fields.get("Width", 0)), int(fields.get("Height", 0))
    frame = subprocess.run(["xprop", "-id", wid, "_NET_FRAME_EXTENTS"], capture_output=True, text=True).stdout
    left, right, top, bottom = ([int(v) for v in frame.split("=", 1)[1].split(",")] if "=" in frame else [0] * 4)
    return x - left, y - top, w + left + right, h + top + bottom


def window_fits(size, width, height, title, wid, buttons=True):
    """The window's frame inside the screen, and each of its buttons
    showing and inside too; then it is closed."""
    box = settled(lambda: outer_geometry(wid))
    x, y, w, h = box or (0, 0, 0, 0)
    check(box is not None and x >= 0 and y >= 0 and x + w <= width and y + h <= height,
          "%s: the %s window fits the screen: %s" % (size, title, box))
    screenshot("fit-%s-%s" % (size, title.lower().replace(" ", "-")))
    if buttons:
        node = find(editor_app(), lambda n: n.getRoleName() in ("dialog", "frame", "window", "filler") and n.name == title
                    and showing(n))
        found = find_all(node, lambda n: n.getRoleName() == "push button") if node else []

        def reachable(b):
            bx, by, bw, bh = extents(b)
            return showing(b) and bw > 0 and bh > 0 and bx >= 0 and by >= 0 and bx + bw <= width and by + bh <= height

        hidden = [b.name for b in found if not reachable(b)]
        check(found and not hidden, "%s: the %s window's %d buttons are in sight: %s hidden" %
              (size, title, len(found), hidden))
    subprocess.run(["wmctrl", "-i", "-c", wid], check=False)
    check(wait_for(lambda: wid not in windows_titled(title), 10) is not None, "%s: %s closes" % (size, title))


def menu_item(text):
    return find(editor_app(), lambda n: n.getRoleName() == "menu item" and n.name.replace("&", "") == text)


def every_window_fits(size, width, height):
    """Every window the program opens, on the device, on this screen."""
    home = home_of("fit-windows-" + size)
    programs = os.path.dirname(EDITOR)
    log = os.path.join(home, "device-frames.log")
    memory = os.path.join(home, "device-memory.bin")
    filler = start_simulator(programs, log, "--memory", memory)
    pty = filler.stdout.readline().strip()
    backup = os.path.join(home, "all.qrnbak")
    subprocess.run([os.path.join(programs, "qrn4480"), "--port", pty, "backup", backup], env=home_env(home),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    filler.terminate()
    filler.wait(10)
    sim = start_simulator(programs, log, "--memory", memory)
    try:
        editor, caption = start_on_device(home, sim)
        main = maximize(caption)
        for key, title in (("F1", "Keyboard shortcuts"), ("ctrl+l", "Device log"), ("ctrl+d", "Store preset"),
                           ("ctrl+r", "Read Preset")):
            wid = key_until_window(main, key, title)
            check(wid is not None, "%s: %s opens the %s window" % (size, key, title))
            if wid:
                window_fits(size, width, height, title, wid)
        for item, title, buttons in (("User guide", "User guide", False), ("Remote control...", "Remote control", False),
                                     ("Back up device...", "Back up device", True)):
            press_found(lambda: menu_item(item))
            wid = wait_for(lambda: window_titles().get(title), 10)
            check(wid is not None, "%s: %s opens its window" % (size, item))
            if wid:
                window_fits(size, width, height, title, wid, buttons)
        press_found(lambda: menu_item("Restore device..."))
        chooser = wait_for(lambda: window_titles().get("Restore device"), 10)
        check(chooser is not None, "%s: Restore device... asks for the backup" % size)
        if chooser:
            subprocess.run(["xdotool", "windowactivate", "--sync", chooser], check=False)
            subprocess.run(["xdotool", "key", "ctrl+a"], check=False)
            subprocess.run(["xdotool", "type", "--delay", "10", backup], check=False)
            subprocess.run(["xdotool", "key", "Return"], check=False)
            restore = wait_for(lambda: named("Restore", "push button"), 20)
            wid = wait_for(lambda: next(iter(windows_titled("Restore device")), None), 10)
            check(restore is not None and wid is not None, "%s: the Restore window opens" % size)
            if wid:
                window_fits(size, width, height, "Restore device", wid)
        editor.kill()
        editor.wait(10)
    finally:
        sim.terminate()
        sim.wait(10)


def dark_session():
    """A dark GTK desktop: the copy buttons keep a light arrow on the dark
    bar; View > Theme > Light gives the program light colours and is kept
    for the next start."""
    home = home_of("dark")
    editor = start(["--demo"], home, QT_QPA_PLATFORMTHEME="gtk3", GTK_THEME="Adwaita:dark")
    caption = "QRN4480 - feedback eliminator - demo mode"
    maximize(caption)
    button = wait_for(lambda: named("Copy Left to Right", "push button"), 30)
    if button is not None:
        settled(lambda: extents(button))
    shot = os.path.join(OUT, "gtk-dark.png")
    screenshot("gtk-dark")
    if button is not None:
        x, y, w, h = extents(button)
        icon = pixels(shot, x + w // 4, y + h // 4, w // 2, h // 2)
        corner = pixels(shot, x + 1, y + 1, 1, 1)
        check(bool(corner) and lightness(corner[0]) < 0.4, "the dark theme gives a dark toolbar: %s" % corner)
        light = [p for p in icon if lightness(p) > 0.6]
        check(len(light) > 10, "the L->R icon keeps a light arrow on it (%d light pixels)" % len(light))
    check(button is not None, "toolbar button found under the dark theme")
    link = named("Link channel Left & Right", "check box")
    if link is not None and not checked(link):
        # The box alone, at the left of the control, before its text.
        x, y, w, h = extents(link)
        box = pixels(shot, x, y, min(w, 16), h)
        spread = max(lightness(p) for p in box) - min(lightness(p) for p in box) if box else 0
        check(spread > 0.3, "an unticked check box stands out on the dark desktop (lightness spread %.2f)" % spread)
    check(link is not None, "the link box found under the dark theme")
    light_item = named("Light", "menu item") or named("&Light", "menu item")
    check(light_item is not None, "View > Theme > Light is on the bus")
    if light_item is not None:
        light_item.queryAction().doAction(0)
        area = find(editor_app(), lambda n: n.getRoleName() == "scroll pane")
        x, y, w, h = extents(area) if area else (0, 0, 1, 1)

        def light_back():
            screenshot("theme-light-on-dark-desktop")
            back = pixels(os.path.join(OUT, "theme-light-on-dark-desktop.png"), x + w - 3, y + 3, 1, 1)
            return back if back and lightness(back[0]) > 0.7 else None

        back = wait_for(light_back, 5)
        check(back is not None, "Light makes the editor light: %s" % back)
    editor.kill()
    editor.wait(10)
    editor = start(["--demo"], home, QT_QPA_PLATFORMTHEME="gtk3", GTK_THEME="Adwaita:dark")
    maximize(caption)
    kept = wait_for(lambda: named("Light", "menu item") or named("&Light", "menu item"), 30)
    check(kept is not None and checked(kept), "the next start keeps Light checked")
    editor.kill()
    editor.wait(10)


def remote_window():
    """Device > Remote control... through the bus: switched on, it shows the
    page's address and its QR code; the address answers with the page, and
    without its token with 401."""
    import urllib.error
    import urllib.request
    press_found(lambda: find(editor_app(), lambda n: n.getRoleName() == "menu item"
                             and n.name.replace("&", "") == "Remote control..."))
    window = wait_for(lambda: window_titles().get("Remote control"), 10)
    check(window is not None, "Device > Remote control... opens its window")
    switch = wait_for(lambda: named("Remote control on", "check box"), 5)
    if window is None or switch is None:
        return
    toggle(switch)
    def shown_addresses():
        label = named("Remote addresses")
        text = label.description if label is not None else ""
        return [word for word in text.split() if word.startswith("http://")] or None

    addresses = wait_for(shown_addresses, 10) or []
    label = named("Remote addresses")
    check(bool(addresses) and "?token=" in addresses[0], "switched on, it shows the page's address: %s" %
          (addresses[:1] or (label.description if label is not None else "no label on the bus")))
    qr = named("QR code of the first address")
    check(qr is not None and qr.getState().contains(pyatspi.STATE_SHOWING), "and its QR code")
    screenshot("remote-control")
    if addresses:
        try:
            page = urllib.request.urlopen(addresses[0], timeout=10).read().decode("utf-8", "replace")
        except Exception as error:  # noqa: BLE001 - any failure is the finding
            page = str(error)
        check("Search Feedback L" in page, "the address answers with the page")
        bare = addresses[0].split("?")[0]
        code = 0
        try:
            urllib.request.urlopen(bare, timeout=10)
        except urllib.error.HTTPError as error:
            code = error.code
        except Exception:  # noqa: BLE001
            code = -1
        check(code == 401, "without its token: 401 (%s)" % code)
        def refused_counted():
            node = named("Remote connections")
            return node is not None and "Requests refused: 1" in node.description

        counted = wait_for(refused_counted, 5)
        node = named("Remote connections")
        check(counted is not None, "the window counts the refused request on the bus: %s" %
              (node.description.replace("\n", "; ") if node is not None else "no label on the bus"))
    toggle(switch)
    subprocess.run(["wmctrl", "-i", "-c", window], check=False)
    wait_for(lambda: "Remote control" not in window_titles(), 5)


def demo_session():
    home = home_of("demo")
    editor = start(["--demo"], home)
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
    search = named("Search Feedback L", "check box")
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
    exit_box = wait_for(lambda: window_titles().get("Exit"), 5)
    check(exit_box is not None, "Ctrl+Q shows a box titled exactly Exit")
    screenshot("exit-question")
    # A key typed while the focus is still moving to the box is lost: again.
    for _ in range(3):
        box = window_titles().get("Exit")
        if box is None:
            break
        subprocess.run(["xdotool", "windowactivate", "--sync", box], check=False)
        subprocess.run(["xdotool", "key", "Escape"], check=False)
        wait_for(lambda: "Exit" not in window_titles(), 3)
    check(wait_for(lambda: "Exit" not in window_titles(), 5) is not None, "Escape answers No and the box goes")
    check(editor.poll() is None, "the editor still runs after No")

    subprocess.run(["xdotool", "windowactivate", "--sync", main], check=False)
    subprocess.run(["xdotool", "key", "--window", main, "F1"], check=False)
    shortcuts = wait_for(lambda: window_titles().get("Keyboard shortcuts"), 5)
    check(shortcuts is not None, "F1 opens Keyboard shortcuts")
    screenshot("keyboard-shortcuts")
    # A redo step waits now ("Redo Left notch 12 gain"): the list still
    # names the command, once, with both its keys.
    table = wait_for(lambda: named("Keyboard shortcuts", "table"), 5)
    cells = [c.name for c in all_nodes(table, lambda n: n.getRoleName() == "table cell")] if table else []
    commands = cells[0::2]
    check("Undo" in commands and "Redo" in commands and len(commands) == len(set(commands))
          and not any(c.startswith(("Undo ", "Redo ")) for c in commands),
          "F1 names each command once, Undo and Redo by themselves: %s" % commands)
    check(cells[commands.index("Redo") * 2 + 1] == "Ctrl+Shift+Z or Ctrl+Y" if "Redo" in commands else False,
          "Redo's keys in one row")
    if shortcuts is not None:
        subprocess.run(["wmctrl", "-i", "-c", shortcuts], check=False)
        wait_for(lambda: "Keyboard shortcuts" not in window_titles(), 5)
    remote_window()
    quit_with_yes(editor, caption)

    editor = second_start(["--demo"], home, caption, "after a maximized demo-mode exit")
    main = window_titles().get(caption)
    width, height = window_size(main) if main else (0, 0)
    check(width >= 1200 and height >= 700, "it comes back maximized: %dx%d" % (width, height))
    screenshot("demo-second-start")
    # Made smaller by the user, then ended: it comes back at that size.
    if main:
        subprocess.run(["wmctrl", "-i", "-r", main, "-b", "remove,maximized_vert,maximized_horz"], check=False)
        subprocess.run(["wmctrl", "-i", "-r", main, "-e", "0,60,40,1000,700"], check=False)
        wait_for(lambda: window_size(main)[0] < 1200, 5)
    quit_with_yes(editor, caption)
    editor = second_start(["--demo"], home, caption, "after a smaller exit")
    main = window_titles().get(caption)
    width, height = window_size(main) if main else (0, 0)
    check(900 <= width < 1200 and 600 <= height < 780, "it comes back at the smaller size: %dx%d" % (width, height))
    quit_with_yes(editor, caption)


def name_preview(caption):
    """A name typed into the store window, through the window system: beside
    it, the eight characters the device will hold."""
    store = key_until_window(window_titles().get(caption), "ctrl+d", "Store preset")
    check(store is not None, "Ctrl+D opens Store preset")
    box = wait_for(lambda: named("Edit Name", "text"), 5)
    if store is None or box is None:
        return
    subprocess.run(["xdotool", "windowactivate", "--sync", store], check=False)
    box.queryComponent().grabFocus()
    subprocess.run(["xdotool", "key", "ctrl+a"], check=False)
    # xdotool under this Xvfb loses the letter l: a name without one.
    subprocess.run(["xdotool", "type", "--delay", "20", "Bandstand mix"], check=False)
    preview = wait_for(lambda: named('On the device: "Bandstan"'), 5)
    check(preview is not None, "typing a long name shows what the device will hold")
    screenshot("store-name-preview")
    subprocess.run(["xdotool", "key", "ctrl+a"], check=False)
    subprocess.run(["xdotool", "type", "--delay", "20", "Show"], check=False)
    check(wait_for(lambda: named('On the device: "Bandstan"') is None and
                   not any(n.name.startswith("On the device") and n.getState().contains(pyatspi.STATE_SHOWING)
                           for n in all_nodes(editor_app(), lambda n: n.getRoleName() == "label")), 5) is not None,
          "a name that fits shows nothing beside it")
    subprocess.run(["xdotool", "key", "Escape"], check=False)
    check(wait_for(lambda: "Store preset" not in window_titles(), 5) is not None, "Escape closes Store preset")


def device_log(caption, home):
    """The log opened after start-up holds the start-up's frames, replies
    named, under the time of day; Pause, Save... and Clear work from the bus."""
    main = window_titles().get(caption)
    subprocess.run(["xdotool", "windowactivate", "--sync", main], check=False)
    subprocess.run(["xdotool", "key", "--window", main, "ctrl+l"], check=False)
    check(wait_for(lambda: window_titles().get("Device log"), 5) is not None, "Ctrl+L opens Device log")
    view = wait_for(lambda: named("Device log", "text"), 5)
    lines = text_of(view).splitlines() if view else []
    check(any(l.endswith("  Probe") for l in lines) and any(l.endswith("answers Probe") for l in lines),
          "the log holds the probe and its answer from before it was opened (%d lines)" % len(lines))
    check(bool(lines) and re.match(r"\d\d:\d\d:\d\d\.\d\d\d  ", lines[0]) is not None,
          "lines begin with the time of day: %s" % (lines[0] if lines else None))
    screenshot("device-log")
    pause, save, clear = named("Pause"), named("Save...", "push button"), named("Clear", "push button")
    check(None not in (pause, save, clear), "the log has Save..., Clear and Pause")
    if None in (pause, save, clear):
        return
    press(pause)
    check(wait_for(lambda: checked(pause), 5) is not None, "Pause stays pressed")
    press(pause)
    # The dialog opens in the user's home: a bare name saves there.
    path = os.path.join(home, "saved.txt")
    press(save)
    dialog = wait_for(lambda: window_titles().get("Save device log"), 5)
    check(dialog is not None, "Save... asks where")
    if dialog is not None:
        subprocess.run(["xdotool", "windowactivate", "--sync", dialog], check=False)
        subprocess.run(["xdotool", "key", "ctrl+a"], check=False)
        subprocess.run(["xdotool", "type", "--delay", "10", os.path.basename(path)], check=False)
        screenshot("device-log-save")
        subprocess.run(["xdotool", "key", "Return"], check=False)
        wait_for(lambda: "Save device log" not in window_titles(), 5)
        saved = wait_for(lambda: os.path.exists(path) and open(path).read(), 5)
        check(bool(saved) and "answers Probe" in saved, "Save... writes the lines kept")
    press(clear)
    check(wait_for(lambda: text_of(view) == "", 5) is not None, "Clear empties the log")
    log = window_titles().get("Device log")
    if log:
        subprocess.run(["wmctrl", "-i", "-c", log], check=False)
        wait_for(lambda: "Device log" not in window_titles(), 5)


def user_guide(caption):
    """Help > User guide: the guide shipped with the program, in its own window."""
    main = window_titles().get(caption)
    subprocess.run(["xdotool", "windowactivate", "--sync", main], check=False)
    item = wait_for(lambda: find(editor_app(), lambda n: n.getRoleName() == "menu item"
                                 and n.name.replace("&", "") == "User guide"), 5)
    check(item is not None, "Help has User guide")
    if item is not None:
        press(item)
    guide = wait_for(lambda: window_titles().get("User guide"), 5)
    check(guide is not None, "Help > User guide opens the guide")
    view = wait_for(lambda: find(editor_app(), lambda n: "Using the editor" in text_of(n)), 5) if guide else None
    check(view is not None and "From a shell" in text_of(view), "the guide holds the README's part for users")
    screenshot("user-guide")
    if guide:
        subprocess.run(["wmctrl", "-i", "-c", guide], check=False)
        wait_for(lambda: "User guide" not in window_titles(), 5)


def device_session():
    home = home_of("device")
    editor = start(["--simulate"], home)
    caption = "QRN4480 - feedback eliminator"
    check(wait_for(lambda: caption in window_titles(), 30) is not None, "caption exactly as written: " + caption)
    check(not any(t.startswith(caption + " -") for t in window_titles()), "no sub-window name appended")
    status = wait_for(lambda: named("Connection status"))
    check(status is not None and status.description.startswith("Connected: port 1 ("),
          "status label says Connected: %s" % (status.description if status else None))
    screenshot("connected")
    device_log(caption, home)
    user_guide(caption)
    name_preview(caption)
    quit_with_yes(editor, caption)

    editor = second_start(["--simulate"], home, caption, "on a device")
    # An edit is kept on disk by the program's own timer, with no help.
    gain = named("Left notch 12 gain slider")
    check(gain is not None, "gain bar found on the second start")
    if gain is not None:
        gain.queryValue().currentValue = 40.0
    check(wait_for(lambda: os.path.exists(kept_settings(home)), 10) is not None,
          "an edit is kept in kept-settings.qrna within seconds")
    # A crash: nothing is cleaned up. The next start meets a device with
    # other settings (a fresh simulated device) and offers the kept ones.
    editor.kill()
    editor.wait(10)
    editor = start(["--simulate"], home)
    offer = wait_for(lambda: window_titles().get("Settings kept from the last run"), 30)
    check(offer is not None, "after a crash the next start offers the kept settings")
    screenshot("kept-settings-offer")
    if offer is not None:
        subprocess.run(["xdotool", "windowactivate", "--sync", offer], check=False)
        subprocess.run(["xdotool", "key", "alt+y"], check=False)
        check(wait_for(lambda: caption + " *" in window_titles(), 20) is not None,
              "Yes sends them: the editor holds them, marked unsaved")
    editor.kill()
    editor.wait(10)


def busy_session():
    """A file load against a device at line pace that answers some frames
    late; Store and Quit pressed through the accessibility bus in the middle
    of it, as a screen reader would. Neither may run inside the load."""
    with_late_device("busy", ["cmd=0x07#%d:late=400" % k for k in range(1, 9)], busy_load)


def with_late_device(name, faults, body):
    """body(home, sim, log) against a simulator at line pace whose answers
    to the frames the faults name come late; it logs every frame."""
    home = home_of(name)
    log = os.path.join(home, "device-frames.log")
    sim = start_simulator(os.path.dirname(EDITOR), log, "--line-rate", *fault_arguments(faults))
    try:
        body(home, sim, log)
    finally:
        sim.terminate()
        sim.wait(10)


def memory_writes_in(log):
    """(address, byte) of each memory write the simulated device took."""
    return [(f[3] * 256 + f[4], f[6]) for f in frames_in(log) if len(f) >= 7 and f[2] == 0x11]


def busy_store_session():
    """A store against a device at line pace whose memory writes are answered
    late; a second Store and Quit pressed through the accessibility bus in
    the middle, and Quit's "Cancel it" chosen. The store stops between two
    frames and its position is never marked used over half-written data."""
    with_late_device("busy-store", ["cmd=0x11#%d:late=150" % k for k in range(1, 60)], busy_store)


def start_on_device(home, sim):
    """The editor started on the simulator's terminal, and its caption."""
    pty = sim.stdout.readline().strip()
    editor = start([], home, QRN4480_PORTS=pty)
    caption = "QRN4480 - feedback eliminator"
    check(wait_for(lambda: caption in window_titles(), 30) is not None, "the editor starts on the device")
    return editor, caption


def open_store_window(editor, caption):
    """Ctrl+D: the Store window and its name box, or None (the editor
    killed) when it did not open."""
    store = key_until_window(window_titles().get(caption), "ctrl+d", "Store preset")
    box = wait_for(lambda: named("Edit Name", "text"), 5)
    check(store is not None and box is not None, "Ctrl+D opens Store preset")
    if store is None or box is None:
        editor.kill()
        return None
    return store, box


def store_as(window, name, log):
    """The name typed into the open Store window, Store and Yes: the store
    under way at line pace."""
    store, box = window
    subprocess.run(["xdotool", "windowactivate", "--sync", store], check=False)
    box.queryComponent().grabFocus()
    subprocess.run(["xdotool", "key", "ctrl+a"], check=False)
    subprocess.run(["xdotool", "type", "--delay", "20", name], check=False)
    subprocess.run(["xdotool", "key", "Return"], check=False)
    sure = wait_for(lambda: window_titles().get("Store Preset"), 10)
    check(sure is not None, "Store asks whether to store")
    if sure:
        subprocess.run(["xdotool", "windowactivate", "--sync", sure], check=False)
        subprocess.run(["xdotool", "key", "alt+y"], check=False)
    check(wait_for(lambda: len(memory_writes_in(log)) >= 3, 20) is not None, "the store is under way")


def busy_store(home, sim, log):
    editor, caption = start_on_device(home, sim)
    window = open_store_window(editor, caption)
    if window is None:
        return
    store_as(window, "Gig", log)
    store_window = find(editor_app(), lambda n: n.name == "Store preset" and n.getRoleName() in ("dialog", "frame"))
    locked = store_window and find(store_window, lambda n: n.name == "Store" and n.getRoleName() == "push button")
    check(locked is not None and not enabled(locked), "the bus shows the store window's Store button locked")
    press_found(lambda: named("Store", "push button"))
    check(wait_for(lambda: window_titles().get("Store Preset"), 2) is None,
          "a second Store pressed through the bus during the store asks nothing")
    press_found(lambda: find(editor_app(),
                             lambda n: n.getRoleName() == "menu item" and n.name.replace("&", "") == "Quit"))
    asked = wait_for(lambda: window_titles().get("Exit"), 20)
    written = len(memory_writes_in(log))
    check(asked is not None and written < 169, "Quit during the store asks to wait or cancel (%d writes)" % written)
    cancel_it = wait_for(lambda: named("Cancel it", "push button"), 5)
    screenshot("busy-store-quit")
    press_found(lambda: cancel_it)
    # The store says what the cancel cost, then the editor asks its usual
    # question once nothing runs.
    not_stored = wait_for(lambda: window_titles().get("Store Preset"), 20)
    check(not_stored is not None, "the store says its position was not stored")
    if not_stored:
        subprocess.run(["xdotool", "windowactivate", "--sync", not_stored], check=False)
        subprocess.run(["xdotool", "key", "Return"], check=False)
    box = wait_for(lambda: window_titles().get("Exit"), 20)
    check(box is not None, "then the usual Exit question")
    answer_yes_and_end(editor, box)
    writes = memory_writes_in(log)
    markers = [w for w in writes if 0x0030 <= w[0] < 0x0040 and w[1] == 0x55]  # a position's used marker
    check(0 < len(writes) < 169 and not markers,
          "the store stopped part-way (%d of 169 writes) and no used marker was written: %s" % (len(writes), markers))
    check(commands_in(log)[-1:] == [0x0F], "CloseLink comes last")


def window_then_quit_session():
    """Store and Read windows opened from the event loop, as a user does:
    a phone's edit goes out while the Store window stands open; Quit
    pressed during the window's transfer asks to wait or cancel, and that
    question is left open until the transfer is over. Then (a) Quit again
    and Yes, or (b) Wait and then Yes: the editor ends with status 0 and
    CloseLink last, every time."""
    for variant in ("again", "wait"):
        with_late_device("store-then-quit-" + variant, [],
                         lambda home, sim, log: store_then_quit(home, sim, log, variant))
    # The Read window's block read is answered late: the start-up read is
    # the device's first block, the window's its second.
    with_late_device("read-then-quit", ["cmd=0x0B#2:late=4000"],
                     lambda home, sim, log: read_then_quit(home, sim, log, "wait"))
    restore_then_quit_session("again")


def restore_then_quit_session(variant):
    """A backup of one stored preset, made by the command-line tool, then
    restored into a device at line pace that holds nothing."""
    home = home_of("restore-then-quit")
    programs = os.path.dirname(EDITOR)
    log = os.path.join(home, "device-frames.log")
    filler = start_simulator(programs, log, "--memory", os.path.join(home, "filled.bin"))
    pty = filler.stdout.readline().strip()
    preset = os.path.join(home, "show.Fbk")
    backup = os.path.join(home, "hall.qrnbak")
    tool = [os.path.join(programs, "qrn4480"), "--port", pty]
    for command in (["save", preset], ["store", "5", "Hall", preset], ["backup", backup]):
        subprocess.run(tool + command, env=home_env(home), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=False)
    filler.terminate()
    filler.wait(10)
    check(os.path.exists(backup), "a backup to restore")
    sim = start_simulator(programs, log, "--line-rate")
    try:
        restore_then_quit(home, sim, log, backup, variant)
    finally:
        sim.terminate()
        sim.wait(10)


def restore_then_quit(home, sim, log, backup, variant):
    editor, caption = start_on_device(home, sim)
    press_found(lambda: find(editor_app(), lambda n: n.getRoleName() == "menu item"
                             and n.name.replace("&", "") == "Restore device..."))
    chooser = wait_for(lambda: window_titles().get("Restore device"), 10)
    check(chooser is not None, "Device > Restore device... asks for the backup")
    if chooser is None:
        editor.kill()
        return
    subprocess.run(["xdotool", "windowactivate", "--sync", chooser], check=False)
    subprocess.run(["xdotool", "key", "ctrl+a"], check=False)
    subprocess.run(["xdotool", "type", "--delay", "10", backup], check=False)
    subprocess.run(["xdotool", "key", "Return"], check=False)
    restore = wait_for(lambda: named("Restore", "push button"), 20)
    check(restore is not None and enabled(restore), "the Restore window opens with what differs ticked")
    # The window, its question and the file chooser share one title: the
    # question is the window that was not there before.
    before = set(windows_titled("Restore device"))
    press_found(lambda: restore)
    sure = wait_for(lambda: next((w for w in windows_titled("Restore device") if w not in before), None), 10)
    check(sure is not None, "Restore asks whether to write")
    if sure:
        subprocess.run(["xdotool", "windowactivate", "--sync", sure], check=False)
        subprocess.run(["xdotool", "key", "alt+y"], check=False)
    check(wait_for(lambda: len(memory_writes_in(log)) >= 3, 20) is not None, "the restore is under way")

    def over():
        return find(editor_app(), lambda n: "restored and verified" in (n.description or "")) is not None

    quit_during_transfer(editor, log, "the restore", over, variant)




def windows_titled(title):
    """Every visible window with exactly this title (window_titles keeps one)."""
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title)],
                          capture_output=True, text=True).stdout.split()


def free_port():
    import socket
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def page_socket(address):
    """The WebSocket a phone's page opens, with the page's token, from its
    address; None when the server refuses it."""
    import base64
    import socket
    import urllib.parse
    url = urllib.parse.urlparse(address)
    token = urllib.parse.parse_qs(url.query)["token"][0]
    connection = socket.create_connection((url.hostname, url.port), timeout=10)
    key = base64.b64encode(os.urandom(16)).decode()
    connection.sendall(("GET /socket?token=%s HTTP/1.1\r\nHost: %s:%d\r\nUpgrade: websocket\r\n"
                        "Connection: Upgrade\r\nSec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\n\r\n"
                        % (urllib.parse.quote(token), url.hostname, url.port, key)).encode())
    head = b""
    while b"\r\n\r\n" not in head:
        chunk = connection.recv(4096)
        if not chunk:
            return None
        head += chunk
    return connection if b" 101 " in head.split(b"\r\n")[0] else None


def page_send(connection, message):
    """One text message, masked as a browser masks it."""
    import json
    payload = json.dumps(message).encode()
    mask = os.urandom(4)
    header = bytes([0x81, 0x80 | len(payload)]) if len(payload) < 126 else \
        bytes([0x81, 0xFE]) + len(payload).to_bytes(2, "big")
    connection.sendall(header + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))


def start_with_remote(home, sim):
    """The editor on the simulator's terminal with its web remote on; the
    page's address it prints, and its caption."""
    pty = sim.stdout.readline().strip()
    editor = subprocess.Popen([EDITOR, "--remote", "127.0.0.1:%d" % free_port()], env=home_env(home, QRN4480_PORTS=pty),
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    address = editor.stdout.readline().strip()
    caption = "QRN4480 - feedback eliminator"
    check(wait_for(lambda: caption in window_titles(), 30) is not None and address.startswith("http://"),
          "the editor starts on the device with its remote on (%s)" % address)
    return editor, caption, address


def quit_during_transfer(editor, log, what, over, variant):
    """Quit through the bus while `what` runs; its question stays open until
    over() holds; then Quit again and Yes, or Wait and then Yes."""
    def quit_item():
        return find(editor_app(), lambda n: n.getRoleName() == "menu item" and n.name.replace("&", "") == "Quit")

    press_found(quit_item)
    asked = wait_for(lambda: window_titles().get("Exit"), 20)
    check(asked is not None and not over(), "Quit during %s asks to wait or cancel, during it" % what)
    check(wait_for(over, 60) is not None, "%s ends while the question stays open" % what)
    screenshot("quit-question-open-after-" + what.replace(" ", "-"))
    if variant == "again":
        press_found(quit_item)
        # Two boxes share the title: the usual one is the other window.
        usual = wait_for(lambda: next((w for w in windows_titled("Exit") if w != asked), None), 10)
        check(usual is not None and usual != asked, "Quit pressed again asks the usual Exit question")
        answer_yes_and_end(editor, usual)
    else:
        press_found(lambda: named("Wait", "push button"))
        usual = wait_for(lambda: next((w for w in windows_titled("Exit") if w != asked), None), 20)
        check(usual is not None, "Wait, then the usual Exit question")
        answer_yes_and_end(editor, usual)
    check(commands_in(log)[-1:] == [0x0F], "CloseLink comes last (%s, %s)" % (what, variant))


def store_then_quit(home, sim, log, variant):
    editor, caption, address = start_with_remote(home, sim)
    window = open_store_window(editor, caption)
    if window is None:
        return
    # The open window holds nothing: a phone's edit goes out at once. The
    # main window's status bar counts the phone.
    check(wait_for(lambda: named("Remote: 0 phones"), 5) is not None, "the status bar shows the remote on")
    page = page_socket(address) if address.startswith("http://") else None
    check(wait_for(lambda: named("Remote: 1 phone"), 5) is not None, "and counts the phone")
    press_found(lambda: named("Remote: 1 phone"))
    remote = wait_for(lambda: window_titles().get("Remote control"), 10)
    check(remote is not None, "a click on it opens the remote's window")
    if remote:
        subprocess.run(["wmctrl", "-i", "-c", remote], check=False)
        wait_for(lambda: "Remote control" not in window_titles(), 5)
    check(page is not None, "a page's WebSocket opens while the Store window stands open")
    if page is not None:
        page_send(page, {"type": "notch", "channel": 0, "row": 11, "field": "gain", "value": -12})
        sent = wait_for(lambda: any(f[2:5] == [0x07, 0x00, 0x0B] for f in frames_in(log)), 5)
        check(sent is not None, "the phone's edit reaches the device while the Store window stands open")
        page.close()
    store_as(window, "PROBE", log)

    def marked():
        return any(0x0030 <= a < 0x0040 and b == 0x55 for a, b in memory_writes_in(log))

    quit_during_transfer(editor, log, "the store", marked, variant)


def read_then_quit(home, sim, log, variant):
    editor, caption = start_on_device(home, sim)
    read = key_until_window(window_titles().get(caption), "ctrl+r", "Read Preset")
    check(read is not None, "Ctrl+R opens Read Preset")
    if read is None:
        editor.kill()
        return
    subprocess.run(["xdotool", "windowactivate", "--sync", read], check=False)
    subprocess.run(["xdotool", "key", "Home", "Return"], check=False)
    sure = wait_for(lambda: next((w for w in windows_titled("Read Preset") if w != read), None), 10)
    check(sure is not None, "Read asks whether to read position 1")
    if sure:
        subprocess.run(["xdotool", "windowactivate", "--sync", sure], check=False)
        subprocess.run(["xdotool", "key", "alt+y"], check=False)
    check(wait_for(lambda: commands_in(log).count(0x0B) >= 2, 10) is not None, "the read is under way")
    quit_during_transfer(editor, log, "the read", lambda: "Reading Preset......" not in window_titles(), variant)


def busy_backup_session():
    """A backup from a device at line pace that holds six presets: its
    progress window moves as they come in, and its Cancel, pressed through
    the accessibility bus, ends it between two frames: no file is written
    and the editor goes on."""
    home = home_of("busy-backup")
    programs = os.path.dirname(EDITOR)
    memory = os.path.join(home, "device-memory.bin")
    log = os.path.join(home, "device-frames.log")
    # The presets are stored by the command-line tool on an unpaced device
    # that keeps its memory in a file; the paced one then starts from it.
    filler = start_simulator(programs, log, "--memory", memory)
    pty = filler.stdout.readline().strip()
    preset = os.path.join(home, "show.Fbk")
    tool = [os.path.join(programs, "qrn4480"), "--port", pty]
    subprocess.run(tool + ["save", preset], env=home_env(home), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=False)
    for position in range(5, 11):
        subprocess.run(tool + ["store", str(position), "Show %d" % position, preset], env=home_env(home),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    filler.terminate()
    filler.wait(10)
    sim = start_simulator(programs, log, "--memory", memory, "--line-rate")
    try:
        busy_backup(home, sim, log)
    finally:
        sim.terminate()
        sim.wait(10)


def busy_backup(home, sim, log):
    editor, caption = start_on_device(home, sim)
    chooser = key_until_window(window_titles().get(caption), "ctrl+shift+b", "Back up device")
    check(chooser is not None, "Ctrl+Shift+B asks where to keep the backup")
    if chooser is None:
        editor.kill()
        return
    target = os.path.join(home, "hall.qrnbak")
    subprocess.run(["xdotool", "windowactivate", "--sync", chooser], check=False)
    subprocess.run(["xdotool", "key", "ctrl+a"], check=False)
    subprocess.run(["xdotool", "type", "--delay", "10", target], check=False)
    subprocess.run(["xdotool", "key", "Return"], check=False)

    def progress_window():
        return find(editor_app(), lambda n: n.getRoleName() in ("dialog", "frame") and n.name == "Back up device"
                    and showing(n) and find(n, lambda m: m.getRoleName() == "progress bar") is not None)

    window = wait_for(progress_window, 10)
    bar = window and find(window, lambda m: m.getRoleName() == "progress bar")
    seen = []

    def moved():
        seen.append(bar.queryValue().currentValue)
        return len(set(seen)) >= 3

    check(bar is not None and wait_for(moved, 30) is not None,
          "the progress window moves on the bus as the presets come in: %s" % sorted(set(seen)))
    press_found(lambda: progress_window() and find(progress_window(),
                                                   lambda n: n.name == "Cancel" and n.getRoleName() == "push button"))
    check(wait_for(lambda: progress_window() is None, 10) is not None, "Cancel closes the progress window")
    reads = commands_in(log).count(0x0B)
    check(editor.poll() is None and wait_for(lambda: enabled(named("Store Preset to device", "push button")), 10)
          is not None, "the editor goes on, its device commands unlocked once the frame on the line is answered")
    after = commands_in(log).count(0x0B)
    check(after == reads and not os.path.exists(target),
          "no frame after the one on the line (%d more block reads), and no file written" % (after - reads))
    quit_with_yes(editor, caption)


def press_found(what):
    """press() on the control found now; one the bus no longer shows (or
    refuses to act on) counts as not pressed."""
    try:
        node = what()
        if node is not None:
            press(node)
            return True
    except Exception as error:
        print("note %s" % error, flush=True)
    return False


def busy_load(home, sim, log):
    programs = os.path.dirname(EDITOR)
    pty = sim.stdout.readline().strip()
    preset = os.path.join(home, "show.Fbk")
    subprocess.run([os.path.join(programs, "qrn4480"), "--port", pty, "save", preset], env=home_env(home),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    check(os.path.exists(preset), "a preset file to load")
    editor = start([preset], home, QRN4480_PORTS=pty)
    caption = "QRN4480 - feedback eliminator"
    check(wait_for(lambda: caption in window_titles(), 30) is not None, "the editor starts on the device")
    store = wait_for(lambda: named("Store Preset to device", "push button"))
    locked = wait_for(lambda: store is not None and not enabled(store), 10)
    check(locked is not None, "during the file load the Store button is locked")
    press_found(lambda: named("Store Preset to device", "push button"))
    # The bus waits for the action's reply, which comes only once the
    # question it opens is answered: the question showing is the press.
    press_found(lambda: find(editor_app(),
                             lambda n: n.getRoleName() == "menu item" and n.name.replace("&", "") == "Quit"))
    titles_seen = set()

    def exit_asked(other_than=None):
        titles = window_titles()
        titles_seen.update(titles)
        box = titles.get("Exit")
        return box if box and box != other_than else None

    wait_box = wait_for(exit_asked, 20)
    check(wait_box is not None and commands_in(log).count(0x07) < 24,
          "Quit pressed through the bus during the load asks to wait or cancel, during the load")
    buttons = {n.name for n in all_nodes(editor_app(), lambda n: n.getRoleName() == "push button")}
    check({"Wait", "Cancel it"} <= buttons, "its buttons say what they do: Wait, Cancel it")
    screenshot("busy-file-load")
    if wait_box:
        subprocess.run(["xdotool", "windowactivate", "--sync", wait_box], check=False)
        subprocess.run(["xdotool", "key", "Return"], check=False)  # Wait, the default
    box = wait_for(lambda: exit_asked(other_than=wait_box), 40)
    check(box is not None and commands_in(log).count(0x07) == 24,
          "the usual Exit question comes once the load is over, not inside it")
    check("Store preset" not in titles_seen, "Store pressed during the load opened nothing")
    check(editor.poll() is None, "the program did not end inside the load")
    screenshot("busy-exit-after-load")
    answer_yes_and_end(editor, box)
    commands = commands_in(log)
    check(0x11 not in commands, "no memory write reached the device")
    check(commands.count(0x07) == 24, "the load's 24 notches all went out: %d" % commands.count(0x07))
    notches = [i for i, c in enumerate(commands) if c == 0x07]
    check(commands[-1:] == [0x0F] and notches and commands.index(0x0F) > notches[-1],
          "CloseLink comes last, after every frame of the load")


def answer_labelled_question(title, choose):
    """A question whose buttons say what they do: both texts on the bus,
    the chosen one pressed."""
    box = wait_for(lambda: window_titles().get(title), 30)
    check(box is not None, "the %s question is shown" % title)
    buttons = {n.name: n for n in all_nodes(editor_app(), lambda n: n.getRoleName() == "push button")}
    check("Send my settings to the device" in buttons and "Use the device's settings" in buttons,
          "its buttons say what they do: %s" % sorted(buttons))
    screenshot(title.lower() + "-question")
    if choose in buttons:
        press(buttons[choose])
    check(wait_for(lambda: title not in window_titles(), 10) is not None, "%s answered by its button" % title)


def offline_session():
    """The device goes away under the editor and comes back: the banner says
    so on the bus, an edit made meanwhile is offered to the device."""
    home = home_of("offline")
    line = os.path.join(home, "ttyQRN")
    simulator = [os.path.join(os.path.dirname(EDITOR), "qrn4480-sim"), "--link", line]
    device = subprocess.Popen(simulator, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: os.path.exists(line), 10)
    editor = start(["--ports", line], home)
    caption = "QRN4480 - feedback eliminator"
    status = wait_for(lambda: (lambda s: s if s and s.description.startswith("Connected") else None)(
        named("Connection status")), 30)
    check(status is not None, "connected to the simulator on its own line")
    device.terminate()
    device.wait(10)
    banner = wait_for(lambda: (lambda b: b if b and b.description.startswith("Offline: the device on port 1 (")
                               else None)(named("Device offline")), 20)
    check(banner is not None and "offers them to the device when it answers again" in banner.description,
          "the banner says what happened and that edits are kept: %s" % (banner.description if banner else None))
    screenshot("offline-banner")
    check(not {"QRN4480", "Time out"} & set(window_titles()), "the banner says it: no box about the loss")
    search = named("Search Feedback L")
    check(search is not None and not enabled(search), "the search is locked while the device is away")
    press_found(lambda: search)
    check(search is not None and not checked(search), "pressed through the bus, it starts nothing")
    gain = named("Left notch 12 gain slider")
    if gain is not None:
        gain.queryValue().currentValue = 40.0
    check(wait_for(lambda: gain is not None and gain.description == "-5 dB", 5) is not None,
          "an edit made offline stays in the editor")
    device = subprocess.Popen(simulator, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    answer_labelled_question("Reconnected", "Send my settings to the device")
    check(banner is not None and wait_for(lambda: not banner.getState().contains(pyatspi.STATE_SHOWING), 10)
          is not None,
          "the banner goes once the device answers")
    check(gain is not None and gain.description == "-5 dB", "the offline edit is still in the editor")
    check(wait_for(lambda: enabled(named("Search Feedback L")), 10) is not None,
          "the search comes back with the device")
    check(not {"QRN4480", "Time out", "Reconnected"} & set(window_titles()), "no box is left about the link")
    editor.kill()
    editor.wait(10)
    device.terminate()
    device.wait(10)


def remote_question_session():
    """The device goes away under the editor while a phone's page is on its
    remote; a gain edited on the page meanwhile; when the device is back,
    the question about whose settings to keep is on the page too, with what
    differs, and the page waits for it instead of saying Connected; answered
    there, the window's box closes and the kept edit reaches the device.
    Then the editor is killed and started again on a fresh device: the kept
    settings are offered on the page as well, and its Yes sends them."""
    from selenium import webdriver
    from selenium.webdriver.chrome.options import Options
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    home = home_of("remote-question")
    programs = os.path.dirname(EDITOR)
    line = os.path.join(home, "ttyQRN")
    sim = start_simulator(programs, os.path.join(home, "device-frames.log"), "--link", line)
    sim.stdout.readline()
    editor = subprocess.Popen([EDITOR, "--ports", line, "--remote", "127.0.0.1:%d" % free_port()],
                              env=home_env(home), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    address = editor.stdout.readline().strip()
    caption = "QRN4480 - feedback eliminator"
    check(wait_for(lambda: caption in window_titles(), 30) is not None and address.startswith("http://"),
          "the editor starts on the device with its remote on (%s)" % address)
    options = Options()
    for argument in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--window-size=360,740"]:
        options.add_argument(argument)
    options.binary_location = "/usr/bin/chromium"
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get(address)
        status = lambda: driver.find_element(By.ID, "status").text
        held = lambda: driver.find_element(By.ID, "held")
        check(wait_for(lambda: status().startswith("Connected"), 20) is not None,
              "the page says Connected: %s" % status())
        sim.terminate()
        sim.wait(10)
        check(wait_for(lambda: status().startswith("Offline"), 20) is not None,
              "the page says the device is away: %s" % status())
        gain = wait_for(lambda: driver.find_elements(By.CSS_SELECTOR, '[aria-label="Left notch 12 gain"]'), 5)
        driver.execute_script("arguments[0].value = '-20'; arguments[0].dispatchEvent(new Event('input'));"
                              "arguments[0].dispatchEvent(new Event('change'));", gain[0])
        served = lambda: json.loads(driver.execute_script("return document.body.dataset.states || '{}';"))
        check(wait_for(lambda: served().get("channels", [{}])[0].get("rows", [{}] * 12)[11].get("gain") == -20, 5)
              is not None, "the page's edit is kept in the editor while the device is away")

        back_log = os.path.join(home, "device-frames-back.log")
        sim = start_simulator(programs, back_log, "--link", line)
        sim.stdout.readline()
        box = wait_for(lambda: window_titles().get("Reconnected"), 30)
        check(box is not None, "the window asks whose settings to keep")
        check(wait_for(lambda: held().get_attribute("open") is not None, 10) is not None,
              "the same question is open on the page")
        text = driver.find_element(By.ID, "held-text").text
        check(driver.find_element(By.ID, "held-title").text == "Reconnected"
              and "What differs:\nLeft notch 12: -20 dB here, 0 dB on the device" in text,
              "the page's copy says what differs: %r" % text)
        buttons = [driver.find_element(By.ID, b).text for b in ("held-yes", "held-no")]
        check(buttons == ["Send my settings to the device", "Use the device's settings"],
              "its buttons are the window's: %s" % buttons)
        check(status() == "Waiting for an answer: keep the editor's settings or the device's?",
              "the page says what it waits for, not Connected: %s" % status())
        driver.save_screenshot(os.path.join(OUT, "remote-question-phone.png"))
        screenshot("remote-question-window")
        check(not [f for f in frames_in(back_log) if f[2] == 0x07], "nothing is sent before the answer")
        driver.find_element(By.ID, "held-yes").click()
        check(wait_for(lambda: "Reconnected" not in window_titles(), 10) is not None,
              "answered on the page, the window's box closes")
        check(wait_for(lambda: held().get_attribute("open") is None and status().startswith("Connected"), 10)
              is not None, "the page's copy closes and it says Connected again: %s" % status())
        sent = wait_for(lambda: [f for f in frames_in(back_log) if f[2:5] == [0x07, 0, 11] and f[8] == 25], 10)
        check(sent is not None, "the gain kept on the page reached the device: %s" % sent)

        # The editor ends without a word and a fresh device takes its place:
        # at the next start the kept settings are offered on the page too.
        editor.kill()
        editor.wait(10)
        sim.terminate()
        sim.wait(10)
        fresh_log = os.path.join(home, "device-frames-fresh.log")
        sim = start_simulator(programs, fresh_log, "--link", line)
        sim.stdout.readline()
        editor = subprocess.Popen([EDITOR, "--ports", line, "--remote", "127.0.0.1:%d" % free_port()],
                                  env=home_env(home), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        driver.get(editor.stdout.readline().strip())
        title = "Settings kept from the last run"
        check(wait_for(lambda: window_titles().get(title), 30) is not None, "the window offers the kept settings")
        check(wait_for(lambda: held().get_attribute("open") is not None, 10) is not None
              and driver.find_element(By.ID, "held-title").text == title
              and "Left notch 12: -20 dB kept, 0 dB now" in driver.find_element(By.ID, "held-text").text,
              "so does the page, with what differs: %r" % driver.find_element(By.ID, "held-text").text)
        check(status() == "Waiting for an answer: use the settings kept from the last run?",
              "the page says what it waits for: %s" % status())
        driver.find_element(By.ID, "held-yes").click()
        check(wait_for(lambda: title not in window_titles(), 10) is not None,
              "answered Yes on the page, the window's box closes")
        sent = wait_for(lambda: [f for f in frames_in(fresh_log) if f[2:5] == [0x07, 0, 11] and f[8] == 25], 10)
        check(sent is not None, "the kept settings reached the fresh device: %s" % sent)
    finally:
        driver.quit()
        editor.kill()
        editor.wait(10)
        sim.terminate()
        sim.wait(10)


def connect_from_demo():
    """Demo mode, then Device > Connect... finds the simulated device; the
    demo-mode edit is offered to it."""
    home = home_of("connect")
    editor = start(["--simulate", "--demo"], home)
    caption = "QRN4480 - feedback eliminator - demo mode"
    check(wait_for(lambda: caption in window_titles(), 30) is not None, "--simulate --demo starts in demo mode")
    gain = named("Left notch 12 gain slider")
    if gain is not None:
        gain.queryValue().currentValue = 40.0
    item = wait_for(lambda: find(editor_app(), lambda n: n.getRoleName() == "menu item"
                                 and n.name.replace("&", "") == "Connect..."), 5)
    check(item is not None, "Device has Connect...")
    # Through the keyboard: the bus's Press would wait for the modal
    # question it opens to be answered.
    # The demo-mode edit marks the title unsaved.
    main = wait_for(lambda: window_titles().get(caption + " *"), 5)
    ask = None
    for _ in range(3):
        subprocess.run(["xdotool", "windowactivate", "--sync", main], check=False)
        subprocess.run(["xdotool", "key", "alt+d"], check=False)
        wait_for(lambda: item is not None and item.getState().contains(pyatspi.STATE_SHOWING), 3)
        subprocess.run(["xdotool", "key", "c"], check=False)
        ask = wait_for(lambda: window_titles().get("Connect"), 3)
        if ask is not None:
            break
    check(ask is not None, "Connect... asks where the device is")
    screenshot("connect-where")
    if ask is not None:
        subprocess.run(["xdotool", "windowactivate", "--sync", ask], check=False)
        subprocess.run(["xdotool", "key", "Return"], check=False)
    answer_labelled_question("Connected", "Use the device's settings")
    status = wait_for(lambda: (lambda s: s if s and s.description.startswith("Connected: port 1 (") else None)(
        named("Connection status")), 20)
    check(status is not None, "the editor left demo mode for the device")
    check(wait_for(lambda: any(t.startswith("QRN4480 - feedback eliminator") and "demo" not in t
                               for t in window_titles()), 10) is not None, "the caption loses demo mode")
    check(wait_for(lambda: gain.description == "0 dB", 5) is not None, "the device's settings are in the editor")
    screenshot("connected-from-demo")
    editor.kill()
    editor.wait(10)


def connect_typed_address():
    """Demo mode, then Device > Connect... with a tcp:// address typed in:
    the simulator serving TCP is found there and read."""
    home = home_of("connect-typed")
    programs = os.path.dirname(EDITOR)
    sim = start_simulator(programs, os.path.join(home, "device-frames.log"), "--tcp", "0")
    address = sim.stdout.readline().strip()
    check(address.startswith("tcp://127.0.0.1:"), "the simulator serves TCP: %s" % address)
    editor = start(["--demo"], home)
    caption = "QRN4480 - feedback eliminator - demo mode"
    check(wait_for(lambda: caption in window_titles(), 30) is not None, "--demo starts in demo mode")
    gain = named("Left notch 12 gain slider")
    if gain is not None:
        gain.queryValue().currentValue = 40.0
    main = wait_for(lambda: window_titles().get(caption + " *"), 5)
    ask = None
    for _ in range(3):
        subprocess.run(["xdotool", "windowactivate", "--sync", main], check=False)
        subprocess.run(["xdotool", "key", "alt+d"], check=False)
        wait_for(lambda: (lambda i: i is not None and showing(i))(menu_item("Connect...")), 3)
        subprocess.run(["xdotool", "key", "c"], check=False)
        ask = wait_for(lambda: window_titles().get("Connect"), 3)
        if ask is not None:
            break
    check(ask is not None, "Connect... asks where the device is")
    if ask is not None:
        subprocess.run(["xdotool", "windowactivate", "--sync", ask], check=False)
        subprocess.run(["xdotool", "key", "ctrl+a"], check=False)
        subprocess.run(["xdotool", "type", "--delay", "10", address], check=False)
        screenshot("connect-typed")
        subprocess.run(["xdotool", "key", "Return"], check=False)
    answer_labelled_question("Connected", "Use the device's settings")
    status = wait_for(lambda: (lambda s: s if s and s.description.startswith("Connected: port ")
                               and address in s.description else None)(named("Connection status")), 20)
    check(status is not None, "connected to the typed address: %s" % (status.description if status else None))
    check(wait_for(lambda: gain.description == "0 dB", 5) is not None, "the device's settings are in the editor")
    editor.kill()
    editor.wait(10)
    sim.terminate()
    sim.wait(10)


if MODE[0] == "fit":
    fit_session(MODE[1])
elif MODE[0] == "dark":
    dark_session()
else:
    # QRN_WINDOW_CHECK_ONLY=busy runs one session while working on it.
    only = os.environ.get("QRN_WINDOW_CHECK_ONLY")
    sessions = (("demo", demo_session), ("device", device_session), ("busy", busy_session),
                ("busy-store", busy_store_session), ("busy-backup", busy_backup_session),
                ("window-then-quit", window_then_quit_session),
                ("offline", offline_session), ("remote-question", remote_question_session),
                ("connect", connect_from_demo),
                ("connect-typed", connect_typed_address))
    for name, session in sessions:
        if only in (None, "", name):
            session()
if failures:
    print("window-test: %d failed" % len(failures), file=sys.stderr)
    sys.exit(1)
