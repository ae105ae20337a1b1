#!/usr/bin/python3
"""Korvane as a user meets it: the installed tree, the launcher and the real valdrin under an X
server, driven only by X key events (xdotool) and read from outside: the listing service's request
log, the work files, and the windows through the accessibility bus.

usage: system_test.py BUILD_FOLDER

Exits 77 (skipped) when no X server can start here, except under CI, where that is a failure.
"""

import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SKIPPED = 77
PORT = 8631  # the port the build's program asks; the launcher starts the service there

# A small Price Paid file: two streets, one sale too old for the five-year window.
PRICE_PAID = """\
"{C0FFEE00-7E57-4C0D-9A11-000000000001}","180000","2023-03-01 00:00","SY1 1AA","T","N","F","1","","Mardol Quay","","SHREWSBURY","SHROPSHIRE","SHROPSHIRE","A","A"
"{C0FFEE01-7E57-4C0D-9A11-000000000002}","220000","2024-07-15 00:00","SY1 1AA","S","N","F","3","","Mardol Quay","","SHREWSBURY","SHROPSHIRE","SHROPSHIRE","A","A"
"{C0FFEE02-7E57-4C0D-9A11-000000000003}","900000","2012-01-10 00:00","SY1 1AA","D","N","F","5","","Mardol Quay","","SHREWSBURY","SHROPSHIRE","SHROPSHIRE","A","A"
"{C0FFEE03-7E57-4C0D-9A11-000000000004}","400000","2024-11-30 00:00","LD3 7AB","D","N","F","2","","Watton Mount","","BRECON","POWYS","POWYS","A","A"
"""

# What the user does, as X events, and what must follow: how many requests the listing service
# has had by then (a run's download and its hidden browser pane ask once each), and what the report shows (the street's average, 5 per cent of it a year for
# five years on, and one yearly step back).
STEPS = [
    ("types the post code at once, tabs to the property type and picks it by typing",
     ["type:SY11AA", "Tab", "Tab", "type:Flat"], None),
    ("presses Enter in the list's open pop-up: it picks the entry and starts nothing",
     ["alt+Down", "Down", "Return"], {"requests": 0}),
    ("presses Enter in the list: the valuation runs",
     ["Return"], {"requests": 2, "postcode": "postcode=SY11AA", "street": "Mardol Quay",
                  "report": ["\u00a3200,000", "\u00a3250,000", "\u00a3190,000"]}),
    ("goes back to the chart and round to Evaluate another post code, types the next post code "
     "at once and presses Enter in the text box",
     ["shift+Tab", "shift+Tab", "Return", "until:Enter your Post Code", "type:LD37AB", "Return"],
     {"requests": 4, "postcode": "postcode=LD37AB", "street": "Watton Mount",
      "report": ["\u00a3400,000", "\u00a3500,000", "\u00a3380,000"]}),
]
REPORT_CAPTIONS = ["Average property sale value in your area:",
                   "Estimated property value in 5 years:", "Estimated property value 5 years ago:"]


def fail(message):
    print(f"FAIL: {message}")
    if os.environ.get("DISPLAY") and shutil.which("import"):  # what the screen showed, to look at
        subprocess.run(["import", "-window", "root", "system_test_failure.png"])
        print(f"the screen is in {Path('system_test_failure.png').resolve()}")
    sys.exit(1)


def skip(message):
    if os.environ.get("CI"):
        fail(f"{message} (under CI this test never skips)")
    print(f"SKIP: {message}")
    sys.exit(SKIPPED)


def wait_for(what, check, seconds=60):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = check()
        if value:
            return value
        time.sleep(0.2)
    fail(f"waited {seconds} s for {what}")


def port_answers():
    with socket.socket() as s:
        return s.connect_ex(("127.0.0.1", PORT)) == 0


def start_display(env):
    """An X server on a free display with a window manager, and a session bus with the
    accessibility bus switched on, as a screen reader leaves it."""
    try:
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp"], stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, start_new_session=True)
    except FileNotFoundError:
        skip("Xvfb is not installed (scripts/bootstrap installs it)")
    display = xvfb.stdout.readline().decode().strip()
    if not display:
        skip("Xvfb could not start an X server here")
    env["DISPLAY"] = f":{display}"
    # The services the bus starts (the accessibility bus among them) join its process group.
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env,
                           start_new_session=True)
    env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                    "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                    "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true"],
                   env=env, check=True, stdout=subprocess.DEVNULL)
    # The window manager gives a window that opens the keyboard, as on a desktop.
    manager = subprocess.Popen(["openbox"], env=env, stderr=subprocess.DEVNULL,
                               start_new_session=True)
    return [xvfb, bus, manager]


def press(env, key):
    if key.startswith("until:"):  # the user waits to see this
        wait_for(key[6:], lambda: key[6:] in accessible_texts())
    elif key.startswith("type:"):
        subprocess.run(["xdotool", "type", "--delay", "40", key[5:]], env=env, check=True)
    else:
        subprocess.run(["xdotool", "key", "--delay", "40", key], env=env, check=True)
    time.sleep(0.3)


def accessible_texts(app_name="Korvane"):
    """Every name the program's active window gives assistive tools; none while the progress
    window is up (the run is still going: the report shows before the run's last steps)."""
    import pyatspi

    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != app_name:
            continue
        try:
            windows = [(w, w.getState()) for w in app if w is not None]
            if any(w.name == "Please Wait......" and state.contains(pyatspi.STATE_SHOWING)
                   for w, state in windows):
                return []
            names = []
            stack = [w for w, state in windows if state.contains(pyatspi.STATE_ACTIVE)]
            while stack:
                node = stack.pop()
                if node.name:
                    names.append(node.name)
                stack.extend(child for child in node if child is not None)
            return names
        except Exception:  # a window that went away while being read
            return []
    return []


def requests(log):
    return [line for line in log.read_text(errors="replace").splitlines()
            if "sold_prices_street" in line] if log.exists() else []


def run_steps(env, prefix, log):
    work = prefix / "bin" / "property"
    for what, keys, expected in STEPS:
        print(f"-- the user {what}")
        before = len(requests(log))
        for key in keys:
            press(env, key)
        if expected is None:
            continue
        wanted = expected["requests"]
        if wanted == before:
            time.sleep(2)  # long enough for a run to have asked the service
            if len(requests(log)) != before:
                fail(f"{what}: a valuation started: {requests(log)[-1]}")
            continue
        wait_for("the request", lambda: len(requests(log)) >= wanted)
        if len(requests(log)) != wanted or expected["postcode"] not in requests(log)[-1]:
            fail(f"{what}: the service was asked {requests(log)}")
        # Each value is read with its caption.
        report = [f"{caption} {value}" for caption, value in zip(REPORT_CAPTIONS, expected["report"])]
        deadline = time.monotonic() + 90
        while not all(value in (names := accessible_texts()) for value in report):
            if time.monotonic() > deadline:
                fail(f"{what}: the report does not read {report}; the windows read {names}")
            time.sleep(0.5)
        street = expected["street"]
        for file in ("entity.html", "comprm.dat"):
            if street not in (work / file).read_text(errors="replace"):
                fail(f"{what}: {file} does not hold {street}")


def check_component_library(env, prefix):
    """The installed quorbel-call registers, calls and unregisters the installed library."""
    call = prefix / "bin" / "quorbel-call"
    library = prefix / "lib" / "libQuorbel.so"
    for args, says, never in [(["register", library], "registered", "failed"),
                              (["list"], f"Quorbel.cn_dip\t{library}", ""),
                              (["call", "Quorbel.cn_dip", "ServerLeasing", "bool:true"],
                               "You do not have the authority to lease server", "failed"),
                              (["unregister", library], "", "failed"),
                              (["list"], "", "Quorbel.cn_dip")]:
        done = subprocess.run([call, *args], env=env, capture_output=True, text=True)
        output = done.stdout + done.stderr
        if done.returncode != 0 or says not in output or (never and never in output):
            fail(f"quorbel-call {args[0]}: exit {done.returncode}, {output!r}")


def check_stranger_on_the_port(env, prefix):
    """With another program on the listing port the launcher says so on standard error (with no
    display to show a box on) and opens nothing."""
    stranger = subprocess.Popen([sys.executable, "-m", "http.server", "--bind", "127.0.0.1",
                                 str(PORT)], cwd=prefix, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    try:
        wait_for("the stranger on the port", port_answers)
        quiet = {name: value for name, value in env.items() if name != "DISPLAY"}
        done = subprocess.run([prefix / "bin" / "korvane"], env=quiet, capture_output=True,
                              text=True, timeout=30)
        if done.returncode == 0 or "not the Korvane listing service" not in done.stderr:
            fail(f"launcher beside a stranger: exit {done.returncode}, {done.stderr!r}")
    finally:
        stranger.kill()
        stranger.wait()


def main():
    # ctest's time-out ends the test with SIGTERM: clean up all the same.
    signal.signal(signal.SIGTERM, lambda *_: fail("stopped from outside"))
    build = Path(sys.argv[1])
    env = dict(os.environ)
    if port_answers():
        skip(f"port {PORT} is taken; the launcher would use what answers there")
    with tempfile.TemporaryDirectory() as folder:
        folder = Path(folder)
        prefix = folder / "prefix"
        subprocess.run(["cmake", "--install", str(build), "--prefix", str(prefix)], check=True,
                       stdout=subprocess.DEVNULL)
        env.update(XDG_DATA_HOME=str(folder / "data"), XDG_STATE_HOME=str(folder / "state"),
                   HOME=str(folder), KORVANE_LISTING_LOG=str(folder / "listing.log"))
        env.pop("QT_QPA_PLATFORM", None)
        check_component_library(env, prefix)
        sales = folder / "pp.csv"
        sales.write_text(PRICE_PAID)
        subprocess.run([prefix / "bin" / "korvane-listing", "import", sales], env=env, check=True,
                       stdout=subprocess.DEVNULL)

        processes = start_display(env)
        os.environ.update(DISPLAY=env["DISPLAY"],
                          DBUS_SESSION_BUS_ADDRESS=env["DBUS_SESSION_BUS_ADDRESS"])
        try:
            check_stranger_on_the_port(env, prefix)
            launcher = subprocess.Popen([prefix / "bin" / "korvane"], env=env,
                                        start_new_session=True)
            processes.append(launcher)
            press(env, "until:Enter your Post Code")
            run_steps(env, prefix, Path(env["KORVANE_LISTING_LOG"]))
            press(env, "alt+e")  # the report's Exit button
            try:
                launcher.wait(20)
            except subprocess.TimeoutExpired:
                fail("Exit left the program running")
            if port_answers():
                fail("the launcher left its listing service running")
        finally:
            for process in reversed(processes):
                try:  # the whole group: the launcher with its program and service, the bus's
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                process.wait()
    print("PASS")


if __name__ == "__main__":
    main()
