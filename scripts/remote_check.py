#!/usr/bin/python3
"""The web remote in a real browser: headless Chromium (Selenium) at phone
size against `qrn4480 serve` on the simulated device.

    scripts/remote_check.py BUILD_DIR OUT_DIR

Starts the simulator on a pseudo-terminal (its frame log says what reached
the device), then `qrn4480 serve` on a free port of 127.0.0.1, and opens the
first line it prints. Checks: a page without the token is refused and sends
nothing; Search Feedback L brings the simulator's reports onto the page as
notch rows; a gain changed on the page reaches the device as one SetNotch
frame with the row's codes; linking and resetting ask on the page and send
the editor's frames; an edit made while the device is away reaches it once
it is back; a device silent in the middle of an exchange leaves the pages
served; the page fits 360 px without scrolling sideways.
At 360 x 740 and 800 x 1280, with touch events as a phone and a tablet send
them: the bar stays in view at the end of the page; one press of a step
button is one exact frame, a tap on a slider's track none, a drag of its
grip one; a report becomes the newest "Found notches" row within 2 s; a
marker brings its row into view; with "Lock controls" on a press sends
nothing; a reload keeps the token. Screenshots at phone and tablet size go
to OUT_DIR: look at them.
Prints the figures (edit to frame, report to page) it measured."""
import json
import os
import re
import socket
import subprocess
import sys
import time
import urllib.error
import urllib.request

from simulated_device import all_answered, fault_arguments, frames_in, replies_in, reports_in, start_simulator
from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

BUILD, OUT = sys.argv[1], sys.argv[2]
BIN = os.path.join(BUILD, "bin")
SET_NOTCH = 0x07
failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what, flush=True)
    if not ok:
        failures.append(what)


def wait_for(condition, seconds):
    """The condition's first true value, or None once the time is up."""
    end = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            return None
        time.sleep(0.005)


def cpu_share(pid, seconds):
    """The share of one core the process used over the next `seconds`."""
    def ticks():
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])
    before = ticks()
    time.sleep(seconds)  # a measurement over a span of time, not a wait for an event
    return (ticks() - before) / os.sysconf("SC_CLK_TCK") / seconds


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def http_status(url):
    try:
        with urllib.request.urlopen(url, timeout=5) as reply:
            return reply.status
    except urllib.error.HTTPError as e:
        return e.code


def by_label(driver, label):
    return driver.find_element(By.CSS_SELECTOR, '[aria-label="%s"]' % label)


def rows_of(driver, channel):
    """(frequency code, gain dB) of the channel's twelve rows as the page shows them."""
    return driver.execute_script(
        "return Array.from({length: 12}, (_, r) => ["
        "  Number(document.querySelector('[aria-label=\"' + arguments[0] + ' notch ' + (r + 1) + ' frequency\"]').value),"
        "  Number(document.querySelector('[aria-label=\"' + arguments[0] + ' notch ' + (r + 1) + ' gain\"]').value)]);",
        channel)


def served_gain(driver, channel, row):
    """The gain of a row in the last state the server sent the page (not
    the control's own value, which the page may have set itself)."""
    state = driver.execute_script("return document.body.dataset.states || '{}';")
    rows = json.loads(state).get("channels", [{}, {}])[channel].get("rows", [])
    return rows[row]["gain"] if len(rows) > row else None


def fits(driver):
    return driver.execute_script("return document.documentElement.scrollWidth <= window.innerWidth;")


def set_range(driver, element, value):
    driver.execute_script(
        "arguments[0].value = arguments[1];"
        "arguments[0].dispatchEvent(new Event('input'));"
        "arguments[0].dispatchEvent(new Event('change'));", element, str(value))


def use_size(driver, width, height):
    """A phone's or a tablet's screen, touch events included."""
    driver.set_window_rect(width=width, height=height)
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": True})
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})


def touch(driver, kind, x=0, y=0):
    points = [] if kind == "touchEnd" else [{"x": x, "y": y}]
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})


def point_on(driver, selector, across=0.5):
    """A point of the element, brought into view: `across` of its width from
    its left edge, half its height; and whether a finger there reaches it."""
    return driver.execute_script(
        "const e = document.querySelector(arguments[0]);"
        "e.scrollIntoView({block: 'center'});"
        "const r = e.getBoundingClientRect(), x = r.left + r.width * arguments[1], y = r.top + r.height / 2;"
        "return [x, y, e.contains(document.elementFromPoint(x, y))];", selector, across)


def tap(driver, selector, across=0.5):
    x, y, reached = point_on(driver, selector, across)
    touch(driver, "touchStart", x, y)
    touch(driver, "touchEnd")
    return reached


def labelled(label):
    return '[aria-label="%s"]' % label


def slider_of(label):
    """The drawn slider around the range input so labelled."""
    return '.slider:has(%s)' % labelled(label)


def served_row(driver, channel, row):
    state = json.loads(driver.execute_script("return document.body.dataset.states || '{}';"))
    return state["channels"][channel]["rows"][row]


def notch_frame(channel, row, frequency, width, gain):
    """The SetNotch frame of a row: frequency code, width code, gain in dB."""
    return [0xF0, 0x5B, SET_NOTCH, channel, row, frequency >> 8, frequency & 0xFF, width, gain + 45, 0xF7]


def stage_checks(driver, log, width, height, figures):
    """What an engineer does with one thumb, at one screen size: on Right
    notch 12 (a manual row), then a search of Left."""
    size = "%d x %d" % (width, height)
    use_size(driver, width, height)
    phone = width < 780
    if phone:
        check(tap(driver, '#switch [data-channel="1"]'), size + ": the channel switch takes a finger")
    shown = driver.execute_script(
        "return [0, 1].map(c => document.getElementById('channel-' + c).getBoundingClientRect().width > 0);")
    check(shown == ([False, True] if phone else [True, True]),
          size + ": one channel at a time on a phone, both side by side from 800 px: %s" % shown)

    driver.execute_script("window.scrollTo(0, document.documentElement.scrollHeight);")
    bar = driver.execute_script(
        "const top = document.getElementById('top').getBoundingClientRect();"
        "const reached = Array.from(document.querySelectorAll('#top button.search, #lock, #link')).every(e => {"
        "  const r = e.getBoundingClientRect(); return e.contains(document.elementFromPoint(r.left + r.width / 2,"
        "  r.top + r.height / 2)); });"
        "return [window.scrollY, top.top, top.bottom, reached];")
    check(bar[0] > 0 and bar[1] == 0 and bar[2] < height / 4 and bar[3],
          size + ": at the end of the page the bar is in view and its buttons take a finger: %s" % bar)

    prefix = "Right notch 12 "
    before = served_row(driver, 1, 11)
    f, w, g = before["frequency"], before["width"], before["gain"]
    count = len(frames_in(log))
    expected = []
    hex_frames = lambda frames: " | ".join(" ".join("%02X" % b for b in f) for f in frames)
    # Each action waits for its frame before the next, so a frame too many
    # or one sent by the tap shows in the order they came.
    steps = [
        ("a press of gain down: one step", "step", prefix + "gain down", [notch_frame(1, 11, f, w, g - 1)]),
        ("a tap on the frequency slider's track, away from its grip: nothing", "track", None, []),
        ("a press of frequency up: one step", "step", prefix + "frequency up", [notch_frame(1, 11, f + 1, w, g - 1)]),
        ("a press of Q up: a narrower width", "step", prefix + "Q up", [notch_frame(1, 11, f + 1, w - 1, g - 1)]),
        ("the gain's grip dragged three steps left: one frame", "drag", None, [notch_frame(1, 11, f + 1, w - 1, g - 4)]),
        ("Lock controls on: a press of gain up sends nothing", "locked", prefix + "gain up", []),
        ("Lock controls off: a press of gain up, one step from where it was", "step", prefix + "gain up",
         [notch_frame(1, 11, f + 1, w - 1, g - 3)]),
    ]
    for what, kind, label, frames in steps:
        if kind == "step":
            check(tap(driver, labelled(label)), size + ": " + label + " takes a finger")
        elif kind == "track":
            grip_at = driver.execute_script(
                "return parseFloat(getComputedStyle(document.querySelector(arguments[0])).getPropertyValue('--at'));",
                slider_of(prefix + "frequency") + " .grip")
            tap(driver, slider_of(prefix + "frequency"), 0.1 if grip_at > 0.5 else 0.9)
        elif kind == "drag":
            x, y, reached = point_on(driver, slider_of(prefix + "gain") + " .grip")
            per = driver.execute_script(
                "return (document.querySelector(arguments[0]).clientWidth - 36) / 45;", slider_of(prefix + "gain"))
            touch(driver, "touchStart", x, y)
            touch(driver, "touchMove", x - 3 * per, y)
            touch(driver, "touchEnd")
        elif kind == "locked":
            tap(driver, labelled("Lock controls"))
            locked = wait_for(lambda: by_label(driver, "Lock controls").get_attribute("aria-pressed") == "true"
                              and not by_label(driver, label).is_enabled(), 5)
            free = all(by_label(driver, name).is_enabled()
                       for name in ["Search Feedback L&R", "Search Feedback L", "Search Feedback R"])
            check(locked is not None and free, size + ": locked, the steps are off and the search buttons on")
            tap(driver, labelled(label))
            tap(driver, labelled("Lock controls"))
            wait_for(lambda: by_label(driver, label).is_enabled(), 5)
        done = len(expected)
        expected += frames
        got = wait_for(lambda: (lambda new: new if len(new) >= len(expected) else None)(frames_in(log)[count:]), 5)
        got = got if got is not None else frames_in(log)[count:]
        check(got == expected, size + ": " + what + ": " + (hex_frames(got[done:]) or "none"))
        expected = got

    # A search of Left: each report becomes the newest row of the list.
    if phone:
        tap(driver, '#switch [data-channel="0"]')
    rows_before = driver.execute_script("return document.querySelectorAll('#found-list li').length;")
    reports = len(reports_in(log))
    tap(driver, labelled("Search Feedback L"))
    first = wait_for(lambda: len(reports_in(log)) > reports, 10)
    start = time.monotonic()

    def newest_is_last_report():
        report = reports_in(log)[-1]
        gain = report[6] - 45
        top = driver.execute_script("const li = document.querySelector('#found-list li'); return li && li.textContent;")
        shape = "Left %d " % (report[2] + 1)
        ends = ("\u2212%d dB" % -gain) if gain < 0 else "0 dB"
        return top if top and re.match(r"^\d\d:\d\d:\d\d ", top) and top[9:].startswith(shape) \
            and top.endswith(ends) else None
    newest = first and wait_for(newest_is_last_report, 2)
    figures.append("a report to its Found notches row at %s: %.0f ms (polled)" % (size, (time.monotonic() - start) * 1000))
    rows_now = driver.execute_script("return document.querySelectorAll('#found-list li').length;")
    check(newest is not None and rows_now > rows_before,
          size + ": the device's last report is the newest Found notches row within 2 s: %s" % newest)
    wait_for(lambda: len(driver.find_elements(By.CSS_SELECTOR, "#channel-0 .marker")) >= 3, 5)
    driver.execute_script("window.scrollTo(0, 0);")
    driver.save_screenshot(os.path.join(OUT, "remote-stage-%dx%d.png" % (width, height)))

    # The marker of the row farthest down, which is out of view beside the graph.
    row = max(int(m.text) for m in driver.find_elements(By.CSS_SELECTOR, "#channel-0 .marker")) - 1
    marker = '#channel-0 .marker[aria-label^="Left notch %d at "]' % (row + 1)
    in_view = lambda: driver.execute_script(
        "const r = document.getElementById('row-0-' + arguments[0]).getBoundingClientRect();"
        "return r.top >= document.getElementById('top').getBoundingClientRect().bottom && r.bottom <= innerHeight;",
        row)
    x, y, reached = point_on(driver, marker)
    hidden = not in_view()
    touch(driver, "touchStart", x, y)
    touch(driver, "touchEnd")
    check(reached and hidden and wait_for(in_view, 5) is not None,
          size + ": a tap on marker %d brings Left notch %d, out of view, into view" % (row + 1, row + 1))
    stops = len(frames_in(log))
    tap(driver, labelled("Search Feedback L"))
    check(wait_for(lambda: len([f for f in frames_in(log)[stops:] if f[2] == 0x0A]) >= 4 and all_answered(log), 10)
          is not None, size + ": the search stops")


def start_device(log, link, faults=(), paced=False):
    """The simulated device on a terminal reached through `link`, the same
    name after a restart, as an adapter plugged back in; paced, at the real
    line's 4800 baud."""
    arguments = ["--report-interval", "100", "--link", link] + fault_arguments(faults)
    sim = start_simulator(BIN, log, *(arguments + (["--line-rate"] if paced else [])))
    sim.stdout.readline()
    return sim


def main():
    os.makedirs(OUT, exist_ok=True)
    log = os.path.join(OUT, "device-frames.log")
    pty = os.path.join(OUT, "ttyQRN")
    sim = start_device(log, pty)
    serve = None
    driver = None
    try:
        port = free_port()
        env = dict(os.environ, HOME=OUT, XDG_CONFIG_HOME=os.path.join(OUT, "config"))
        serve = subprocess.Popen([os.path.join(BIN, "qrn4480"), "--port", pty, "serve", "--listen",
                                  "127.0.0.1:%d" % port], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                 text=True, env=env)
        address = serve.stdout.readline().strip()
        check(address.startswith("http://127.0.0.1:%d/?token=" % port) and len(address.split("token=")[1]) == 32,
              "serve prints the page's address with a 128-bit token first: " + address)

        before = len(frames_in(log))
        base = "http://127.0.0.1:%d/" % port
        check(http_status(base) == 401, "the page without a token: 401")
        check(http_status(base + "?token=" + "0" * 32) == 401, "the page with a wrong token: 401")
        check(http_status(base + "remote.js") == 401, "the script without a token: 401")

        options = Options()
        for argument in ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                         "--hide-scrollbars", "--force-device-scale-factor=1"]:
            options.add_argument(argument)
        options.binary_location = "/usr/bin/chromium"
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        use_size(driver, 360, 740)

        driver.get(base + "?token=" + "f" * 32)
        check("token" in driver.find_element(By.TAG_NAME, "body").text, "a browser without the token gets the refusal")
        check(len(frames_in(log)) == before, "nothing reached the device for the refused requests")

        driver.get(address)
        gain = wait_for(lambda: driver.find_elements(By.CSS_SELECTOR, '[aria-label="Left notch 12 gain"]'), 10)
        check(bool(gain), "the page shows Left notch 12 gain")
        status = by_label(driver, "Connection status")
        check(wait_for(lambda: status.text.startswith("Connected"), 5) is not None,
              "the connection status says Connected: " + status.text)
        labels = ["Search Feedback L&R", "Search Feedback L", "Search Feedback R", "Link channel Left & Right",
                  "Lock controls", "Found notches"]
        for channel in ["Left", "Right"]:
            for n in range(1, 13):
                labels += ["%s notch %d %s" % (channel, n, what) for what in ["frequency", "gain", "width"]]
                labels += ["%s notch %d %s %s" % (channel, n, what, way)
                           for what in ["gain", "frequency", "Q"] for way in ["up", "down"]]
        missing = [label for label in labels if not driver.find_elements(By.CSS_SELECTOR, '[aria-label="%s"]' % label)]
        check(not missing, "every control carries the editor's name: missing %s" % missing)
        small = driver.execute_script(
            "return Array.from(document.querySelectorAll('button, select, input')).filter(e => {"
            " const r = e.getBoundingClientRect(); return r.width > 0 && r.height < 44; }).length;")
        check(small == 0, "every control is at least 44 px high (%d lower)" % small)
        check(fits(driver), "the page fits 360 px: no sideways scrolling")
        driver.save_screenshot(os.path.join(OUT, "remote-phone.png"))

        # Installable: "Add to home screen" starts the page with its token.
        manifest = driver.execute_cdp_cmd("Page.getAppManifest", {})
        app = manifest.get("manifest", {})
        check(not manifest["errors"] and app.get("startUrl") == address and app.get("name") == "QRN4480 Editor"
              and app.get("display") == "kStandalone",
              "the manifest names the editor and starts the page with its token: %s"
              % (manifest["errors"] or app.get("startUrl")))
        problems = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
        check(not problems, "Chromium finds the page installable: %s" % problems)
        icons = [icon["url"] for icon in app.get("icons", [])]
        check(len(icons) == 3 and all(http_status(url) == 200 and http_status(url.split("?")[0]) == 401 for url in icons),
              "its icons are served with the token only: %s" % icons)

        # A manual row's gain: one SetNotch frame with the row's codes.
        gain = by_label(driver, "Left notch 12 gain")
        check(gain.is_enabled(), "Left notch 12 is a manual row: its gain can be set")
        count = len(frames_in(log))
        start = time.monotonic()
        set_range(driver, gain, -12)
        frame = wait_for(lambda: [f for f in frames_in(log)[count:] if f[2] == SET_NOTCH], 5)
        edit_ms = (time.monotonic() - start) * 1000
        check(frame is not None and frame[0][3:5] == [0, 11] and frame[0][8] == 33,
              "the gain reached the device as SetNotch Left row 12 gain code 33: %s" % frame)

        # The search: the simulator's reports become rows on the page.
        left_before = rows_of(driver, "Left")
        search = by_label(driver, "Search Feedback L")
        start = time.monotonic()
        search.click()
        changed = wait_for(lambda: rows_of(driver, "Left") != left_before, 10)
        report_ms = (time.monotonic() - start) * 1000
        check(changed is not None, "the device's reports appear as Left notch rows")
        check(search.get_attribute("aria-pressed") == "true", "Search Feedback L stays pressed while it runs")
        check(not by_label(driver, "Left notch 12 gain").is_enabled(), "the rows are read-only while searching")
        driver.save_screenshot(os.path.join(OUT, "remote-phone-search.png"))
        stops = len(frames_in(log))
        search.click()
        check(wait_for(lambda: len([f for f in frames_in(log)[stops:] if f[2] == 0x0A]) >= 4, 10) is not None,
              "releasing Search Feedback L sends the editor's four stop frames")
        check(wait_for(lambda: all_answered(log), 10) is not None, "the line is quiet after the search")

        figures = []
        for width, height in [(360, 740), (800, 1280)]:
            stage_checks(driver, log, width, height, figures)
        use_size(driver, 360, 740)
        found = driver.execute_script("return document.querySelectorAll('#found-list li').length;")
        driver.refresh()
        check(wait_for(lambda: by_label(driver, "Connection status").text.startswith("Connected"), 10) is not None
              and driver.execute_script("return document.querySelectorAll('#found-list li').length;") == found,
              "a reload keeps the token and the Found notches (%d rows)" % found)
        status = by_label(driver, "Connection status")

        # Linking asks on the page that asked, as the editor asks; its Yes
        # copies Left onto Right: Right's twelve notches, then its settings.
        link_box = by_label(driver, "Link channel Left & Right")
        count = len(frames_in(log))
        link_box.click()
        asked = wait_for(lambda: driver.find_element(By.ID, "ask").get_attribute("open") is not None, 5)
        check(asked and driver.find_element(By.ID, "ask-title").text == "Link Left & Right"
              and "This will copy channel Left to Right" in driver.find_element(By.ID, "ask-text").text,
              "linking asks on the page: " + driver.find_element(By.ID, "ask-title").text)
        check(len(frames_in(log)) == count, "nothing is sent before the answer")
        driver.save_screenshot(os.path.join(OUT, "remote-phone-ask.png"))
        driver.find_element(By.ID, "ask-yes").click()
        copy = wait_for(lambda: (lambda f: f if len(f) >= 18 else None)(frames_in(log)[count:]), 10)
        check(copy is not None and [f[2:5] for f in copy[:12]] == [[SET_NOTCH, 1, k] for k in range(12)]
              and [f[2] for f in copy[12:18]] == [0x0A] * 4 + [0x31] * 2 and copy[11][8] == 33,
              "Yes copies Left onto Right with the editor's frames: %s" % (copy and [f[2:5] for f in copy]))
        check(wait_for(lambda: by_label(driver, "Link channel Left & Right").is_selected(), 5) is not None,
              "the link box is ticked")

        # A reset asks too; linked, it resets the manual rows of both channels.
        count = len(frames_in(log))
        by_label(driver, "Left Reset Notch Manual").click()
        asked = wait_for(lambda: driver.find_element(By.ID, "ask").get_attribute("open") is not None, 5)
        check(asked and driver.find_element(By.ID, "ask-text").text == "Reset all Notch filter manual, Are you sure ?",
              "the reset asks on the page: " + driver.find_element(By.ID, "ask-text").text)
        driver.find_element(By.ID, "ask-yes").click()
        reset = wait_for(lambda: (lambda f: f if len(f) >= 2 else None)(frames_in(log)[count:]), 10)
        check(reset is not None and [f[2:5] + [f[8]] for f in reset] == [[SET_NOTCH, 0, 11, 45], [SET_NOTCH, 1, 11, 45]],
              "Yes sets the manual rows of both linked channels to 0 dB: %s" % reset)
        count = len(frames_in(log))
        by_label(driver, "Link channel Left & Right").click()
        check(wait_for(lambda: not by_label(driver, "Link channel Left & Right").is_selected(), 5) is not None
              and len(frames_in(log)) == count, "unlinking asks nothing and sends nothing")
        by_label(driver, "Link channel Left & Right").click()
        check(wait_for(lambda: by_label(driver, "Link channel Left & Right").is_selected(), 5) is not None
              and driver.find_element(By.ID, "ask").get_attribute("open") is None and len(frames_in(log)) == count,
              "linking equal channels asks nothing and sends nothing")

        # The device goes away and comes back on the same name: an edit made
        # meanwhile is kept and reaches the device once it answers again.
        check(wait_for(lambda: all_answered(log), 10) is not None, "the line is quiet before the device goes")
        sim.terminate()
        sim.wait(10)
        gain = by_label(driver, "Left notch 12 gain")
        set_range(driver, gain, -20)
        check(wait_for(lambda: served_gain(driver, 0, 11) == -20, 5) is not None,
              "the edit is kept: the server sends it back to the page")
        driver.save_screenshot(os.path.join(OUT, "remote-phone-offline.png"))
        offline_cpu = cpu_share(serve.pid, 3)
        # Back, at line pace, it stops answering at the fifth release-and-mode
        # frame it is sent: four come with the kept settings (each channel's
        # release speed and search mode), the fifth from the page.
        sim = start_device(log, pty, ["cmd=0x31#5:mute"], paced=True)
        check(wait_for(lambda: status.text.startswith("Connected"), 20) is not None,
              "it says Connected when the device answers again: " + status.text)
        sent = wait_for(lambda: [f for f in frames_in(log) if f[2] == SET_NOTCH and f[3:5] == [0, 11] and f[8] == 25], 10)
        check(sent is not None, "the gain set offline reached the device once it was back")
        check(wait_for(lambda: not by_label(driver, "Link channel Left & Right").is_selected(), 5) is not None,
              "the kept settings, sent whole as the editor sends them, unlink the channels")

        # A device silent in the middle of an exchange: while the link waits
        # and sends the frame again, the pages go on being served.
        check(wait_for(lambda: len([f for f in frames_in(log) if f[2] == 0x31]) >= 4 and all_answered(log), 10)
              is not None, "the kept settings are sent whole and answered")
        count = len(frames_in(log))
        release = by_label(driver, "Left Release notch")
        driver.execute_script("arguments[0].value = arguments[0].value === '0' ? '1' : '0';"
                              "arguments[0].dispatchEvent(new Event('change'));", release)
        check(wait_for(lambda: [f for f in frames_in(log)[count:] if f[2] == 0x31], 5) is not None,
              "the release setting reached the device")
        replies = replies_in(log)
        start = time.monotonic()
        served = http_status(address)
        served_ms = (time.monotonic() - start) * 1000
        check(served == 200, "the page is served while the device is silent: %d in %.0f ms" % (served, served_ms))
        set_range(driver, by_label(driver, "Left notch 12 gain"), -30)
        check(wait_for(lambda: served_gain(driver, 0, 11) == -30, 2) is not None
              and status.text.startswith("Connected"), "another edit is taken and sent back to the page meanwhile")
        check(replies_in(log) == replies, "the device answered nothing meanwhile")

        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 800, "height": 1280, "deviceScaleFactor": 1, "mobile": True})
        driver.set_window_rect(width=800, height=1280)
        check(fits(driver), "the page fits a tablet's 800 px")
        driver.save_screenshot(os.path.join(OUT, "remote-tablet.png"))
        print("figure: page edit to its frame at the device: %.1f ms (browser, server, line; polled)" % edit_ms)
        print("figure: the page served while the device is silent mid-exchange: %.1f ms" % served_ms)
        print("figure: serve's CPU while the device is away: %.2f %% of a core" % (offline_cpu * 100))
        print("figure: search pressed to its first report on the page: %.1f ms (includes the device's report time)"
              % report_ms)
        for figure in figures:
            print("figure: " + figure)
    finally:
        if driver:
            driver.quit()
        if serve:
            start = time.monotonic()
            serve.terminate()
            try:
                code = serve.wait(10)
                check(code == 0, "serve ends cleanly on SIGTERM, the silent exchange cut off (exit %s in %.0f ms)"
                      % (code, (time.monotonic() - start) * 1000))
            except subprocess.TimeoutExpired:
                serve.kill()
                check(False, "serve ends on SIGTERM")
        sim.terminate()
        sim.wait(10)
    if failures:
        print("%d checks failed" % len(failures))
        sys.exit(1)
    print("All remote checks passed")


if __name__ == "__main__":
    main()
