#!/usr/bin/env python3
"""Clicks and keys made while a poll pass holds a window, tried on the real program.

The program runs on the relay simulator (motor relays at stations 1, 5 and 9, station 9 deaf
to writes, Modbus RTU at 9600 baud, paced, every read and write logged) under Xvfb and openbox at 1366x768, and is
driven with xdotool as an operator would, each click fired at a set time after a pass of the
selected station starts on the line. Bells are counted on the display (bell_count.c).

    bench/desktop/kept_input_trial.py [--build build] [--display :31] [--runs 20]

Needs the Debian packages xvfb, openbox, xdotool, imagemagick and libx11-dev. The screen
positions below are those of the windows as the program places them on that screen.
"""
import argparse
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
from collections import Counter

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# Where the controls are, from the top left of their window as xdotool gives it.
GENERAL_STATUS = "General Status"
STATUS_CLOSE = (GENERAL_STATUS, 451, 386)
SAVE = "Save Set Points"
SAVE_CONTINUE, SAVE_EXIT = (SAVE, 214, 72), (SAVE, 300, 72)
OPTIONS = "Network Summary Options"
SCAN_ALWAYS, SCAN_START = (OPTIONS, 29, 55), (OPTIONS, 281, 142)
SUMMARY = "Network Summary"
CELL = {1: (SUMMARY, 26, 1), 5: (SUMMARY, 390, 1), 9: (SUMMARY, 754, 1)}
WARNING_YES = ("Quick Configure Warning", 201, 102)
WIZARD = "Quick Configuration"
WIZARD_NEXT, SEND = (WIZARD, 140, 231), (WIZARD, 214, 193)
WIZARD_EMPTY = (WIZARD, 217, 62)
CLEAR_PEAK = ("RVX Reset Control", 128, 182)
WRITE_ERROR_BOX = "KV-LINK27"
# The main window's menus and its RESET Menu button, at the top left of the screen.
FILE_MENU, QUICK_CONFIGURE, SAVE_SET_POINTS = (21, 36), (83, 57), (92, 79)
RESET_MENU = (468, 305)
NETWORK_MENU, NETWORK_SUMMARY = (273, 36), (328, 57)


class Trial:
    def __init__(self, build, display, work):
        self.build, self.display, self.work = build, display, work
        self.env = dict(os.environ, DISPLAY=display)
        self.procs = []
        self.log_path = os.path.join(work, "access.log")
        self.bells_path = os.path.join(work, "bells.log")

    # --- the desktop, the line and the program -------------------------------------------
    def start(self):
        self.spawn(["Xvfb", self.display, "-screen", "0", "1366x768x24", "-nolisten", "tcp"])
        time.sleep(1)
        self.spawn(["openbox"])
        bell = os.path.join(self.work, "bell_count")
        subprocess.run(["cc", "-O2", "-o", bell, os.path.join(TOP, "bench/desktop/bell_count.c"),
                        "-lX11"], check=True)
        self.spawn([bell], stdout=open(self.bells_path, "w"))
        line = os.path.join(self.work, "com1")
        self.spawn([os.path.join(self.build, "tools/unitsim/unitsim"), "--baud", "9600", "--pace",
                    "--station", "1:0", "--station", "5:0", "--station", "9:0",
                    "--fault", "9:silentwrites", "--link", line, "--log",
                    self.log_path])
        time.sleep(0.5)
        with open(os.path.join(self.work, "gridmon.ini"), "w") as ini:
            ini.write("[Settings]\nport=1\nbaud=96\nprotocol=1\ncheckmode=0\nstation=1\n"
                      "autostart=1\n[Station]\nstation1=Pump one\nstation5=Pump five\n"
                      "station9=Pump nine\n"
                      "[misc]\nkesf=-\ngene=-\n")
        env = dict(self.env, KVLINK_COM1=line, KVLINK_WINDIR=self.work)
        self.spawn([os.path.join(self.build, "src/app/kvlink27")], env=env)
        time.sleep(4)

    def spawn(self, argv, env=None, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL):
        self.procs.append(subprocess.Popen(argv, env=env or self.env, stdout=stdout,
                                           stderr=stderr))

    def stop(self):
        for proc in reversed(self.procs):
            proc.terminate()
            proc.wait()

    # --- the operator ----------------------------------------------------------------------
    def xdo(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True)

    def point(self, at):
        """A point on the screen: (x, y), or (window title, x, y) within that window."""
        if len(at) == 2:
            return at
        title, x, y = at
        shell = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$",
                                "getwindowgeometry", "--shell"], env=self.env,
                               capture_output=True, text=True, check=True).stdout
        place = dict(line.split("=") for line in shell.split())
        return (int(place["X"]) + x, int(place["Y"]) + y)

    def click(self, at, count=1):
        self.xdo("mousemove", *self.point(at), "click", "--repeat", count, "--delay", 80, 1)

    def key(self, *keys):
        self.xdo("key", *keys)

    def type_path(self, path):
        self.key("ctrl+a")
        self.xdo("type", "--delay", 20, path)
        self.key("Return")

    def windows(self):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                               env=self.env, capture_output=True, text=True).stdout.split()
        names = []
        for wid in found:
            names.append(subprocess.run(["xdotool", "getwindowname", wid], env=self.env,
                                        capture_output=True, text=True).stdout.strip())
        return names

    def dismiss(self, title):
        """Answers every box of that title with Enter; returns how many there were."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                               env=self.env, capture_output=True, text=True).stdout.split()
        for wid in found:
            self.xdo("windowactivate", "--sync", wid)
            self.key("Return")
            time.sleep(0.3)
        return len(found)

    # --- what the line and the display saw -------------------------------------------------
    def log_lines(self):
        with open(self.log_path) as log:
            return log.read().splitlines()

    def bells(self):
        with open(self.bells_path) as log:
            return sum(1 for line in log if line.strip().endswith("bell"))

    def pass_start(self, station, timeout=5.0, seen=None):
        """Waits for the next pass of `station` to begin on the line (after line `seen`); its
        local time."""
        seen = len(self.log_lines()) if seen is None else seen
        end = time.monotonic() + timeout
        pattern = re.compile(rf"^\d+ read {station} 24 19$")
        while time.monotonic() < end:
            lines = self.log_lines()
            found = [line for line in lines[seen:] if pattern.match(line)]
            if found:
                self.pass_ms = int(found[-1].split()[0])
                return time.monotonic()
            seen = len(lines)
            time.sleep(0.005)
        raise RuntimeError(f"no pass of station {station}")

    def pass_length(self):
        """How long the last pass found by pass_start took on the line: its last read logged
        and that read's reply (a read of a station that does not answer is not logged)."""
        reads = [int(line.split()[0]) for line in self.log_lines() if " read " in line]
        last = max(ms for ms in reads if self.pass_ms <= ms < self.pass_ms + 500)
        return (last - self.pass_ms) / 1000 + 0.05

    def slow_click(self, at, start, hold, into):
        """Presses `into` s into the pass begun at `start` and lets go `hold` s later; when the
        release came, from the start of the pass."""
        self.xdo("mousemove", *at)
        time.sleep(max(0.0, start + into - time.monotonic()))
        self.xdo("mousedown", 1)
        time.sleep(hold)
        self.xdo("mouseup", 1)
        return time.monotonic() - start

    def settle(self):
        """Waits until the line has had no write for 2 s."""
        count = -1
        while True:
            writes = sum(1 for line in self.log_lines() if " write " in line)
            if writes == count:
                return
            count = writes
            time.sleep(2)

    # --- the steps -------------------------------------------------------------------------
    def open_save_set_points(self):
        self.click(FILE_MENU)
        time.sleep(0.4)
        self.click(SAVE_SET_POINTS)
        time.sleep(1)

    def make_con_file(self):
        """Saves unit.con from Save Set Points."""
        self.click(STATUS_CLOSE)
        self.open_save_set_points()
        self.click(SAVE_CONTINUE)
        time.sleep(1.5)
        self.type_path(os.path.join(self.work, "unit.con"))
        time.sleep(1.5)
        self.dismiss("Info")

    def focus_trial(self, runs, gap):
        """Save Set Points: Tab, Tab, Space typed in a pass, `gap` s apart: Save As opens."""
        opened = 0
        for _ in range(runs):
            self.pass_start(1)
            time.sleep(0.1)
            self.key("Tab")
            time.sleep(gap)
            self.key("Tab")
            time.sleep(gap)
            self.key("space")
            time.sleep(1.5)
            if "Save As" in self.windows():
                opened += 1
                self.key("Escape")
                time.sleep(0.5)
        return opened

    def slow_continue_trial(self, holds):
        """Save Set Points, Continue held `hold` s from 0.05 s into a pass: Save As opens?"""
        results = []
        for hold in holds:
            bells = self.bells()
            released = self.slow_click(self.point(SAVE_CONTINUE), self.pass_start(1), hold, 0.05)
            after = released > self.pass_length()
            time.sleep(1.5)
            acted = "Save As" in self.windows()
            if acted:
                self.key("Escape")
                time.sleep(0.5)
            results.append({"acted": acted, "bells": self.bells() - bells, "after": after})
            print("   ", results[-1], file=sys.stderr)
        return results

    def open_summary_and_wizard(self):
        self.click(NETWORK_MENU)
        time.sleep(0.4)
        self.click(NETWORK_SUMMARY)
        time.sleep(0.8)
        self.click(SCAN_ALWAYS)
        self.click(SCAN_START)
        time.sleep(1.5)
        self.click(FILE_MENU)
        time.sleep(0.4)
        self.click(QUICK_CONFIGURE)
        time.sleep(1)
        self.click(WARNING_YES)
        time.sleep(1)
        self.click(WIZARD_NEXT)
        time.sleep(1.5)
        self.type_path(os.path.join(self.work, "unit.con"))
        time.sleep(1.5)

    def select_station(self, station=1):
        self.click(CELL[station], 2)
        time.sleep(2.5)
        # The wizard back above the Network Summary.
        self.xdo("search", "--onlyvisible", "--name", f"^{WIZARD}$", "windowactivate", "--sync")
        time.sleep(0.3)

    def kept_send(self, then, send_clicks=1):
        """Send clicked 0.11 s into a pass of station 1, then `then` at 0.24 s. What came of it."""
        def operate(start):
            time.sleep(max(0.0, start + 0.11 - time.monotonic()))
            self.click(send, send_clicks)
            time.sleep(max(0.0, start + 0.24 - time.monotonic()))
            then()
        send = self.point(SEND)
        return self.send_trial(operate)

    def slow_send(self, hold):
        """Send held `hold` s from 0.25 s into a pass of station 1 (with the scan, a pass lasts
        0.19-0.34 s)."""
        send = self.point(SEND)
        released = []
        result = self.send_trial(
            lambda start: released.append(self.slow_click(send, start, hold, 0.25)))
        result["released"] = released[0]
        return result

    def send_trial(self, operate, station=1):
        self.select_station(station)
        lines_before, bells_before = len(self.log_lines()), self.bells()
        operate(self.pass_start(station))
        time.sleep(1)
        self.settle()
        boxes = Counter()
        for title in ("Info", "Download error", WRITE_ERROR_BOX):
            boxes[title] = self.dismiss(title)
        time.sleep(0.5)
        writes = Counter()
        lines = self.log_lines()[lines_before:]
        for line in lines:
            fields = line.split()
            if fields[1] == "write":
                writes[int(fields[2])] += 1
        result = {"writes": dict(writes), "boxes": {k: v for k, v in boxes.items() if v},
                  "bells": self.bells() - bells_before,
                  "station 5 polled": any(re.match(r"^\d+ read 5 24 19$", l) for l in lines)}
        print("   ", result, file=sys.stderr)
        return result


    def failing_write(self, make):
        """Clear Peak queued on station 9, whose unit leaves writes unanswered: `make` is done
        0.5 s into the pass, while it waits on the write, before it shows "Write Error"."""
        def operate(start):
            self.click(RESET_MENU)
            time.sleep(0.8)
            start = self.pass_start(9)
            time.sleep(max(0.0, start + 0.5 - time.monotonic()))  # queued for the next pass
            self.click(CLEAR_PEAK)
            seen = len(self.log_lines())
            self.xdo("search", "--onlyvisible", "--name", f"^{WIZARD}$", "windowactivate",
                     "--sync")
            start = self.pass_start(9, seen=seen)
            time.sleep(max(0.0, start + 0.5 - time.monotonic()))
            make()
            end = time.monotonic() + 5
            while WRITE_ERROR_BOX not in self.windows() and time.monotonic() < end:
                time.sleep(0.1)
            time.sleep(0.5)
        return self.send_trial(operate, 9)


def outcome(result):
    acted = bool(result["writes"]) or bool(result["boxes"])
    if acted and result["bells"]:
        return "acted+beep"
    if acted:
        return "acted"
    return "beep" if result["bells"] else "LOST"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(TOP, "build"))
    parser.add_argument("--display", default=":31")
    parser.add_argument("--runs", type=int, default=20)
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # the desktop and the line go too
    work = tempfile.mkdtemp(prefix="kept-input-")
    trial = Trial(os.path.abspath(args.build), args.display, work)
    try:
        trial.start()
        trial.make_con_file()
        trial.open_save_set_points()
        print(f"Save Set Points, Tab Tab Space 0.1 s apart: Save As "
              f"{trial.focus_trial(6, 0.1)} of 6")
        print(f"Save Set Points, Tab Tab Space 1.2 s apart: Save As "
              f"{trial.focus_trial(6, 1.2)} of 6")
        slow = trial.slow_continue_trial([0.12, 0.15, 0.18, 0.21, 0.25] * 2)
        print(f"Save Set Points, Continue held 0.12-0.25 s from 0.05 s into a pass: "
              f"{len(slow)} runs, released after the pass {sum(r['after'] for r in slow)}; "
              f"Save As opened {sum(r['acted'] for r in slow)}; "
              f"bells {sum(r['bells'] for r in slow)}")
        trial.click(SAVE_EXIT)
        trial.open_summary_and_wizard()
        cell1, cell5, empty = map(trial.point, (CELL[1], CELL[5], WIZARD_EMPTY))
        cases = [
            ("Send, then station 5 double-clicked in the Network Summary", args.runs, 1,
             lambda: trial.click(cell5, 2)),
            ("Send, then the pointer moved to the wizard's empty area", args.runs, 1,
             lambda: trial.xdo("mousemove", *empty)),
            ("Send, then station 5's cell clicked once", 5, 1, lambda: trial.click(cell5)),
            ("Send, then station 1's own cell double-clicked", 5, 1,
             lambda: trial.click(cell1, 2)),
            ("Send double-clicked", 5, 2, lambda: None),
        ]
        slow = [trial.slow_send(hold) for hold in [0.15, 0.18, 0.21, 0.25] * 3]
        released = [r["released"] for r in slow]
        print(f"Send held 0.15-0.25 s from 0.25 s into a pass: {len(slow)} runs, released "
              f"{min(released):.2f}-{max(released):.2f} s into the pass; "
              f"{dict(Counter(outcome(r) for r in slow))}; writes to station 1 per run: "
              f"{dict(Counter(r['writes'].get(1, 0) for r in slow))}")
        makes = [("Return", lambda: trial.key("Return")), ("Space", lambda: trial.key("space")),
                 ("a click on Send", lambda: trial.click(trial.point(SEND))),
                 ("a click on the main window's RESET Menu (not held)",
                  lambda: trial.click(RESET_MENU))]
        for title, make in makes:
            results = [trial.failing_write(make) for _ in range(4)]
            print(f"{title} while the pass waits on a failing write: {len(results)} runs; writes: "
                  f"{sum(n for r in results for n in r['writes'].values())}; "
                  f"boxes: {dict(sum((Counter(r['boxes']) for r in results), Counter()))}; "
                  f"bells per run: {dict(Counter(r['bells'] for r in results))}")
            sys.stdout.flush()
        for title, runs, clicks, then in cases:
            results = [trial.kept_send(then, clicks) for _ in range(runs)]
            other = sum(r["writes"].get(5, 0) for r in results)
            downloads = Counter(r["writes"].get(1, 0) for r in results)
            switched = sum(r["station 5 polled"] for r in results)
            boxes = sum((Counter(r["boxes"]) for r in results), Counter())
            print(f"{title}: {runs} runs; {dict(Counter(outcome(r) for r in results))}; "
                  f"writes to station 5: {other}; writes to station 1 per run: "
                  f"{dict(downloads)}; boxes: {dict(boxes)}; station 5 polled after: {switched}")
            sys.stdout.flush()
    finally:
        trial.stop()


if __name__ == "__main__":
    main()
