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
served; the page fits 360 px without scrolling sideways. Screenshots at phone and tablet size go to OUT_DIR: look at them.
Prints the figures (edit to frame, report to page) it measured."""
import json
import os
import socket
import subprocess
import sys
import time
import urllib.error
import urllib.request

from simulated_device import all_answered, fault_arguments, frames_in, replies_in, start_simulator
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
        driver.set_window_rect(width=360, height=740)
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 360, "height": 740, "deviceScaleFactor": 1, "mobile": True})

        driver.get(base + "?token=" + "f" * 32)
        check("token" in driver.find_element(By.TAG_NAME, "body").text, "a browser without the token gets the refusal")
        check(len(frames_in(log)) == before, "nothing reached the device for the refused requests")

        driver.get(address)
        gain = wait_for(lambda: driver.find_elements(By.CSS_SELECTOR, '[aria-label="Left notch 12 gain"]'), 10)
        check(bool(gain), "the page shows Left notch 12 gain")
        status = by_label(driver, "Connection status")
        check(wait_for(lambda: status.text.startswith("Connected"), 5) is not None,
              "the connection status says Connected: " + status.text)
        labels = ["Search Feedback L&R", "Search Feedback L", "Search Feedback R", "Link channel Left & Right"]
        for channel in ["Left", "Right"]:
            for n in range(1, 13):
                labels += ["%s notch %d %s" % (channel, n, what) for what in ["frequency", "gain", "width"]]
        missing = [label for label in labels if not driver.find_elements(By.CSS_SELECTOR, '[aria-label="%s"]' % label)]
        check(not missing, "every control carries the editor's name: missing %s" % missing)
        small = driver.execute_script(
            "return Array.from(document.querySelectorAll('button, select, input')).filter(e => {"
            " const r = e.getBoundingClientRect(); return r.width > 0 && r.height < 44; }).length;")
        check(small == 0, "every control is at least 44 px high (%d lower)" % small)
        check(fits(driver), "the page fits 360 px: no sideways scrolling")
        driver.save_screenshot(os.path.join(OUT, "remote-phone.png"))

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
