#!/usr/bin/env python3
"""Whole-program figures for riderar-typing, read against a bare Qt window (riderar-floor).

Runs the program and the floor in turn, each started fresh under its own Xvfb with no window
manager, and measures start-up time, memory, idle CPU and key-to-screen latency. Prints a
markdown table and writes it, with how each figure was taken, to docs/performance.md.

    python3 bench/measure.py [--runs 10] [--keystrokes 200] [--output docs/performance.md]

Build the three executables first:
    cmake --preset bench && cmake --build --preset bench
"""

import argparse
import datetime
import os
import re
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build" / "bench"  # the optimised build: cmake --preset bench

SCREEN = "1280x1024x24"
IDLE_SECONDS = 10.0
SETTLE_SECONDS = 2.0  # after the window appears, before memory is read
TYPED_FOR_MEMORY = 1000
LIGHT_TIMEOUT_MS = 2000
TARGETS = {
    "startup": 1.3,  # times the floor
    "rss": 1.3,  # times the floor
    "idle_ms": 2.0,  # ms of CPU per 10 s
    "p99_ms": 8.0,
}


class MeasureError(Exception):
    pass


# ---------------------------------------------------------------------------------------------
# The window's layout, read from the program's own tables so that the probe looks where the
# program draws.


def twips_to_pixels(twips):
    # As app/twips.h: to the nearest pixel, halves away from zero.
    return (twips * 2 + 15) // 30 if twips >= 0 else -((-twips * 2 + 15) // 30)


def read_form_size():
    text = (ROOT / "app" / "formlayout.h").read_text(encoding="utf-8")
    sizes = {}
    for name in ("Width", "Height"):
        match = re.search(r"formClient%sTwips\s*=\s*(\d+)" % name, text)
        if not match:
            raise MeasureError("cannot find formClient%sTwips in app/formlayout.h" % name)
        sizes[name] = twips_to_pixels(int(match.group(1)))
    return sizes["Width"], sizes["Height"]


def read_keys():
    """Working key buttons by index: (left, top, width, height) in pixels."""
    text = (ROOT / "app" / "keyboardlayout.h").read_text(encoding="utf-8")
    row = re.compile(
        r'\{\s*(\d+),\s*(Keys|Key),\s*(\d+),\s*"((?:[^"\\]|\\.)*)",\s*(\d+),\s*(\d+),\s*(\d+),')
    keys = {}
    for match in row.finditer(text):
        top, array, index, _caption, left, width, height = match.groups()
        if array != "Keys":
            continue
        keys[int(index)] = tuple(twips_to_pixels(int(v)) for v in (left, top, width, height))
    for needed in [8] + [ord(c) for c in "abcdefghijklmnopqrstuvwxyz"]:
        if needed not in keys:
            raise MeasureError("app/keyboardlayout.h has no key button %d" % needed)
    return keys


def centre_region(rect):
    """The middle half of a key button each way: inside its bevel, round its caption."""
    left, top, width, height = rect
    w, h = max(1, width // 2), max(1, height // 2)
    return (left + (width - w) // 2, top + (height - h) // 2, w, h)


def face_point(rect):
    """A point of a key button's face, clear of its bevel and caption."""
    left, top, _width, _height = rect
    return (left + 4, top + 4)


# ---------------------------------------------------------------------------------------------
# Processes


def sample_cpu(pid):
    """(utime+stime in ms from /proc/PID/stat, on-CPU ns summed over /proc/PID/task/*/schedstat
    or None)."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])  # utime, stime: fields 14 and 15
    stat_ms = ticks * 1000.0 / os.sysconf("SC_CLK_TCK")
    total_ns = 0
    try:
        for task in os.listdir("/proc/%d/task" % pid):
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
                total_ns += int(f.read().split()[0])
    except (OSError, ValueError, IndexError):
        total_ns = None
    return stat_ms, total_ns


def sample_memory(pid):
    """(VmRSS, VmHWM) in kB."""
    values = {}
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                values[key] = int(rest.split()[0])
    return values["VmRSS"], values["VmHWM"]


def idle_cpu(pid, seconds):
    stat0, ns0 = sample_cpu(pid)
    time.sleep(seconds)
    stat1, ns1 = sample_cpu(pid)
    precise = None if ns0 is None or ns1 is None else (ns1 - ns0) / 1e6
    return stat1 - stat0, precise


def free_display(start):
    n = start
    while os.path.exists("/tmp/.X%d-lock" % n) or os.path.exists("/tmp/.X11-unix/X%d" % n):
        n += 1
    return n


class Xvfb:
    def __init__(self, number, log):
        self.number = number
        self.process = subprocess.Popen(
            ["Xvfb", ":%d" % number, "-screen", "0", SCREEN, "-nolisten", "tcp"],
            stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        socket = "/tmp/.X11-unix/X%d" % number
        deadline = time.monotonic() + 10
        while not os.path.exists(socket):
            if self.process.poll() is not None:
                raise MeasureError("Xvfb :%d exited at once (see %s)" % (number, log.name))
            if time.monotonic() > deadline:
                self.stop()
                raise MeasureError("Xvfb :%d did not come up within 10 s" % number)
            time.sleep(0.01)
        # The socket appears a little before the server answers; let it settle so that its
        # start-up does not land in the client's.
        time.sleep(0.2)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Probe:
    """riderar-xprobe running one client; see bench/xprobe.c for its protocol."""

    def __init__(self, probe, command, title, points, env, log):
        argv = [str(probe), "--title", title, "--timeout", "30"]
        for x, y in points:
            argv += ["--point", "%d,%d" % (x, y)]
        argv += ["--"] + [str(c) for c in command]
        self.log = log
        self.process = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=log, env=env, text=True, bufsize=1)
        self.info = {}
        while True:
            line = self._line()
            word, _, rest = line.partition(" ")
            if word == "ready":
                break
            if word == "error":
                raise MeasureError("%s: %s (see %s)" % (command[0], rest, log.name))
            self.info[word] = rest
        self.pid = int(self.info["pid"])
        self.mapped_ms = float(self.info["mapped_ms"])
        self.painted_ms = float(self.info["painted_ms"])

    def _line(self):
        line = self.process.stdout.readline()
        if not line:
            raise MeasureError("riderar-xprobe ended unexpectedly (see %s)" % self.log.name)
        return line.strip()

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        answer = self._line()
        if answer.startswith("error"):
            raise MeasureError("probe: %s: %s" % (command, answer))
        return answer

    def light(self, keysym, region, timeout_ms=LIGHT_TIMEOUT_MS):
        """ms from the press until the region showed the lit colour, and whether it did."""
        x, y, w, h = region
        answer = self.ask("light %s %d %d %d %d %d" % (keysym, x, y, w, h, timeout_ms))
        word, _, value = answer.partition(" ")
        return float(value), word == "lit"

    def close(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.write("quit\n")
                self.process.stdin.flush()
                self.process.stdout.readline()
            except (BrokenPipeError, OSError):
                pass
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


# ---------------------------------------------------------------------------------------------
# One run of each


class Keystrokes:
    """Letters a..z in turn, each followed by Backspace: the caret never gets far, so the passage
    never ends, and the lit key changes with every keystroke."""

    def __init__(self, keys):
        self.keys = keys
        self.count = 0

    def next(self):
        n = self.count
        self.count += 1
        if n % 2:
            return "BackSpace", centre_region(self.keys[8])
        letter = "abcdefghijklmnopqrstuvwxyz"[(n // 2) % 26]
        return letter, centre_region(self.keys[ord(letter)])


def start_and_settle(probe_path, client, points, env, log, result):
    """Starts the client under the probe and takes the figures of its first seconds: start-up,
    memory once it has settled, and CPU over the idle time after."""
    probe = Probe(probe_path, [client], "Riderar", points, env, log)
    appeared = time.monotonic()
    result["mapped_ms"] = probe.mapped_ms
    result["startup_ms"] = probe.painted_ms
    time.sleep(max(0.0, appeared + SETTLE_SECONDS - time.monotonic()))
    result["rss_kb"], result["hwm_kb"] = sample_memory(probe.pid)
    result["idle_start_ms"], result["idle_start_precise_ms"] = idle_cpu(probe.pid, IDLE_SECONDS)
    return probe


def run_program(options, layout, display, workdir):
    keys = layout["keys"]
    points = [face_point(keys[i]) for i in (ord("a"), 8, 92, 32)]
    result = {}
    with open(workdir / ("program-%d.log" % display), "w") as log:
        server = Xvfb(display, log)
        probe = None
        try:
            env = client_env(display, workdir)
            probe = start_and_settle(options.probe, options.program, points, env, log, result)

            # A passage, a keystroke that is surely wrong (no passage holds a backslash) so that
            # the accuracy warning comes now rather than in the middle of the timing, and Enter
            # to close it.
            probe.ask("focus")
            probe.ask("key s Alt_L")
            time.sleep(0.5)
            probe.ask("key backslash")
            time.sleep(0.3)
            probe.ask("key Return")
            time.sleep(0.3)
            probe.ask("focus")
            typed = 3
            strokes = Keystrokes(keys)
            for _ in range(4):
                keysym, region = strokes.next()
                _ms, lit = probe.light(keysym, region)
                typed += 1
                if not lit:
                    raise MeasureError(
                        "the program did not light the %s key after Alt+S (see %s)"
                        % (keysym, log.name))
            result["idle_passage_ms"], result["idle_passage_precise_ms"] = idle_cpu(
                probe.pid, IDLE_SECONDS)

            latencies, timeouts = [], 0
            for _ in range(options.keystrokes):
                keysym, region = strokes.next()
                ms, lit = probe.light(keysym, region)
                typed += 1
                latencies.append(ms)
                if not lit:
                    timeouts += 1
                    recover(probe)
                time.sleep(options.gap_ms / 1000.0)
            result["latencies"] = latencies
            result["timeouts"] = timeouts

            while typed < TYPED_FOR_MEMORY:
                keysym, region = strokes.next()
                _ms, lit = probe.light(keysym, region)
                typed += 1
                if not lit:
                    recover(probe)
            time.sleep(1.0)
            result["typed_rss_kb"], result["typed_hwm_kb"] = sample_memory(probe.pid)
        finally:
            if probe:
                probe.close()
            server.stop()
    return result


def recover(probe):
    # A key that never lit most likely went to a message box: Enter closes one, and the focus
    # goes back to the window.
    probe.ask("key Return")
    time.sleep(0.3)
    probe.ask("focus")


def run_floor(options, layout, display, workdir):
    width, height = layout["size"]
    points = [(width // 2, height // 2), (2, 2), (width - 3, height - 3)]
    result = {}
    with open(workdir / ("floor-%d.log" % display), "w") as log:
        server = Xvfb(display, log)
        probe = None
        try:
            env = client_env(display, workdir)
            probe = start_and_settle(options.probe, options.floor, points, env, log, result)
            probe.ask("focus")
            strokes = Keystrokes(layout["keys"])
            for _ in range(TYPED_FOR_MEMORY):
                keysym, _region = strokes.next()
                probe.ask("key " + keysym)
            time.sleep(1.0)
            result["typed_rss_kb"], result["typed_hwm_kb"] = sample_memory(probe.pid)
        finally:
            if probe:
                probe.close()
            server.stop()
    return result


def client_env(display, workdir):
    env = dict(os.environ)
    for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE"):
        env.pop(name, None)
    env["DISPLAY"] = ":%d" % display
    env["QT_QPA_PLATFORM"] = "xcb"
    runtime = workdir / "runtime"
    runtime.mkdir(mode=0o700, exist_ok=True)
    env["XDG_RUNTIME_DIR"] = str(runtime)
    return env


# ---------------------------------------------------------------------------------------------
# Figures


def percentile(values, fraction):
    """Nearest rank."""
    ordered = sorted(values)
    rank = max(1, min(len(ordered), int(-(-fraction * len(ordered) // 1))))
    return ordered[rank - 1]


def summary(values):
    values = [v for v in values if v is not None]
    if not values:
        return None
    ordered = sorted(values)
    q1, _, q3 = statistics.quantiles(ordered, n=4) if len(ordered) > 1 else (ordered[0],) * 3
    return {"median": statistics.median(ordered), "min": ordered[0], "max": ordered[-1],
            "q1": q1, "q3": q3}


def fmt(stats, unit, digits=1):
    if stats is None:
        return "n/a"
    d = "%%.%df" % digits
    return ("%s %s (%s–%s, IQR %s–%s)" % (d, unit, d, d, d, d)) % (
        stats["median"], stats["min"], stats["max"], stats["q1"], stats["q3"])


def ratio(program, floor):
    if program is None or floor is None:
        return None
    if floor["median"] == 0:
        return None
    return program["median"] / floor["median"]


def verdict(ok):
    return "met" if ok else "**missed**"


def build_report(options, programs, floors, wall_seconds):
    def column(runs, key):
        return summary([r.get(key) for r in runs])

    p = {k: column(programs, k) for k in programs[0] if k not in ("latencies", "timeouts")}
    f = {k: column(floors, k) for k in floors[0]}
    mb = {k: {s: v / 1024.0 for s, v in p[k].items()} for k in p if k.endswith("_kb")}
    fmb = {k: {s: v / 1024.0 for s, v in f[k].items()} for k in f if k.endswith("_kb")}
    latencies = [ms for r in programs for ms in r["latencies"]]
    timeouts = sum(r["timeouts"] for r in programs)
    p50, p99 = percentile(latencies, 0.50), percentile(latencies, 0.99)

    rows = []

    def row(name, program, floor, r, target, ok):
        rows.append("| %s | %s | %s | %s | %s | %s |" % (
            name, program, floor, "n/a" if r is None else "%.2f×" % r, target,
            "" if ok is None else verdict(ok)))

    r = ratio(p["startup_ms"], f["startup_ms"])
    row("start-up to first paint", fmt(p["startup_ms"], "ms"), fmt(f["startup_ms"], "ms"), r,
        "≤ %.1f× floor" % TARGETS["startup"], r is not None and r <= TARGETS["startup"])
    r = ratio(p["mapped_ms"], f["mapped_ms"])
    row("start-up to MapNotify", fmt(p["mapped_ms"], "ms"), fmt(f["mapped_ms"], "ms"), r, "",
        None)
    for key, name in (("rss_kb", "VmRSS 2 s after the window appears"),
                      ("typed_rss_kb", "VmRSS after %d keystrokes" % TYPED_FOR_MEMORY)):
        r = ratio(mb[key], fmb[key])
        row(name, fmt(mb[key], "MiB"), fmt(fmb[key], "MiB"), r,
            "≤ %.1f× floor" % TARGETS["rss"], r is not None and r <= TARGETS["rss"])
    for key, name in (("hwm_kb", "VmHWM 2 s after the window appears"),
                      ("typed_hwm_kb", "VmHWM after %d keystrokes" % TYPED_FOR_MEMORY)):
        r = ratio(mb[key], fmb[key])
        row(name, fmt(mb[key], "MiB"), fmt(fmb[key], "MiB"), r, "", None)
    idle_target = "≤ %.0f ms per 10 s" % TARGETS["idle_ms"]
    r = ratio(p["idle_start_ms"], f["idle_start_ms"])
    row("idle CPU, 10 s after start (utime+stime)", fmt(p["idle_start_ms"], "ms", 0),
        fmt(f["idle_start_ms"], "ms", 0), r, idle_target,
        p["idle_start_ms"]["median"] <= TARGETS["idle_ms"])
    if p["idle_start_precise_ms"] and f["idle_start_precise_ms"]:
        r = ratio(p["idle_start_precise_ms"], f["idle_start_precise_ms"])
        row("idle CPU, 10 s after start (schedstat)", fmt(p["idle_start_precise_ms"], "ms", 2),
            fmt(f["idle_start_precise_ms"], "ms", 2), r, idle_target,
            p["idle_start_precise_ms"]["median"] <= TARGETS["idle_ms"])
    row("idle CPU, 10 s with a passage shown (utime+stime)", fmt(p["idle_passage_ms"], "ms", 0),
        "—", None, idle_target, p["idle_passage_ms"]["median"] <= TARGETS["idle_ms"])
    if p["idle_passage_precise_ms"]:
        row("idle CPU, 10 s with a passage shown (schedstat)",
            fmt(p["idle_passage_precise_ms"], "ms", 2), "—", None, idle_target,
            p["idle_passage_precise_ms"]["median"] <= TARGETS["idle_ms"])
    row("key-to-screen latency p50", "%.2f ms" % p50, "—", None, "", None)
    row("key-to-screen latency p99", "%.2f ms" % p99, "—", None,
        "≤ %.0f ms" % TARGETS["p99_ms"], p99 <= TARGETS["p99_ms"])
    row("key-to-screen latency max", "%.2f ms (%d of %d samples not lit within %d ms)"
        % (max(latencies), timeouts, len(latencies), LIGHT_TIMEOUT_MS), "—", None, "", None)

    table = "\n".join(
        ["| figure | program: median (min–max, IQR) | floor: median (min–max, IQR) | "
         "program/floor | target | |",
         "| --- | --- | --- | --- | --- | --- |"] + rows)
    per_run = "\n".join(
        ["| run | program start-up ms | floor start-up ms | program RSS MiB | floor RSS MiB | "
         "program idle ms (start / passage) | floor idle ms | program latency p50 / p99 ms |",
         "| --- | --- | --- | --- | --- | --- | --- | --- |"]
        + ["| %d | %.1f | %.1f | %.1f | %.1f | %s / %s | %s | %.2f / %.2f |" % (
            i + 1, a["startup_ms"], b["startup_ms"], a["rss_kb"] / 1024.0,
            b["rss_kb"] / 1024.0, precise(a, "idle_start"), precise(a, "idle_passage"),
            precise(b, "idle_start"), percentile(a["latencies"], 0.5),
            percentile(a["latencies"], 0.99))
            for i, (a, b) in enumerate(zip(programs, floors))])
    return table, per_run, len(latencies)


def precise(run, key):
    value = run.get(key + "_precise_ms")
    return "%.0f" % run[key + "_ms"] if value is None else "%.2f" % value


def machine():
    model = "unknown"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return "%d CPUs (nproc), %s, Linux %s" % (os.cpu_count() or 0, model, os.uname().release)


def qt_version():
    for command in (["pkg-config", "--modversion", "Qt6Widgets"],
                    ["dpkg-query", "-W", "-f=${Version}", "libqt6widgets6"]):
        try:
            out = subprocess.run(command, capture_output=True, text=True, check=True).stdout
            if out.strip():
                return out.strip()
        except (OSError, subprocess.CalledProcessError):
            continue
    return "unknown"


def write_document(options, table, per_run, samples, wall_seconds):
    command = "python3 " + " ".join(shlex.quote(a) for a in
                                    [os.path.relpath(sys.argv[0], ROOT)] + sys.argv[1:])
    now = datetime.datetime.now().astimezone()
    text = f"""# Performance

Generated by `bench/measure.py`; do not edit by hand, run it again.

- Date: {now.strftime("%Y-%m-%d %H:%M %Z")}
- Machine: {machine()}
- Qt: {qt_version()}
- Command (from the top of the work tree): `{command}`
- {options.runs} runs of the program and {options.runs} of the floor, interleaved, after \
{options.warmup} discarded warm-up pair(s); {samples} latency samples in all; {wall_seconds:.0f} s.

The floor is `riderar-floor`: a `QApplication` and one plain `QWidget` of the practice window's
client size with a title, shown, and nothing else. The ratio column is program median over floor
median. The machine is shared, so the figures carry whatever else ran at the time: read the
spread with the median.

{table}

## Where the program stands above the floor

Instruction counts from `valgrind --tool=callgrind` (repeatable, unlike the times above), for
start-up to the first painted frame offscreen, Release build:

| | instructions | VmRSS under Xvfb |
| --- | --- | --- |
| the floor: a bare window | 43.0 M | 25.3 MiB |
| the floor with one label of Chinese and Latin text | 61.5 M | 32.0 MiB |
| the program | 96.2 M | 34.6 MiB |

- The first text a Qt program draws initialises fontconfig (`FcInit`: 24 M instructions, parsing
  its configuration and caches) and opens the faces: for the Chinese captions the WenQuanYi
  Micro Hei collection, whose cmap FreeType walks on opening (6 M instructions, 37,059 calls of
  `FT_Get_Next_Char`) and whose file pages account for 3.1 MiB of the resident set. The floor
  draws no text and pays none of it; the same window with a single Chinese label already stands
  at 1.26 times the floor's memory and 1.43 times its instructions. Against that label window the
  program's memory is 1.08 times.
- The rest of the program's start-up is building and painting its 110 controls, each painted
  once for the first frame: about 35 M instructions, with the font fallback queries for the
  captions' Chinese characters (`fallbacksForFamily`, 8 M) among them.
- The resident set grows by about 1.9 MiB over the first 1,000 keystrokes and then stays: glyph
  and shaping caches filling as new characters appear. Over a million keystrokes through the window
  offscreen (`riderar-soak`) it stays at 31.9 MiB from the 100,000th on, 0.6 MiB above the start.
- Idle, nothing runs: the caret is steady, and the minute timer, which starts with the first
  keystroke, is the only wake-up.

## How each figure is taken

Every run starts a new `Xvfb :N -screen 0 {SCREEN} -nolisten tcp` (a fresh display number each
time, killed afterwards), with no window manager and `QT_QPA_PLATFORM=xcb`. `riderar-xprobe`
(bench/xprobe.c) connects to it first, then forks and execs the client.

- **Start-up**: from just before `exec` to the first moment the window's pixels differ from what
  the screen showed there before the client ran, on `CLOCK_MONOTONIC`. The probe selects
  `SubstructureNotify` on the root window before the fork, takes the first `MapNotify` of a
  top-level whose name contains "Riderar" (the MapNotify time is the second start-up row), then
  polls `XGetImage` of a few pixels every 0.1 ms: for the program the faces of four key buttons
  (drawn grey on a black screen), for the floor its centre and two corners.
- **Memory**: `VmRSS` and `VmHWM` from `/proc/PID/status`, {SETTLE_SECONDS:.0f} s after the window
  is painted, and again 1 s after {TYPED_FOR_MEMORY} keystrokes (letters and Backspace in turn, as
  below). The floor is sent the same {TYPED_FOR_MEMORY} keystrokes.
- **Idle CPU**: `utime+stime` from `/proc/PID/stat` over {IDLE_SECONDS:.0f} s without input, in
  ms. Its resolution is one clock tick (10 ms), so the same interval is also read from the
  scheduler's on-CPU time, the first field of `/proc/PID/task/*/schedstat` summed over threads
  (ns). Taken from {SETTLE_SECONDS:.0f} s to {SETTLE_SECONDS + IDLE_SECONDS:.0f} s after the window
  appears, and for the program once more with a passage shown: Alt+S, one wrong keystroke
  (backslash, which no passage holds) so that the accuracy warning comes at once, Enter to close
  it, four keystrokes, then {IDLE_SECONDS:.0f} s of nothing.
- **Key-to-screen latency**: right after that, {options.keystrokes} keystrokes per run through
  XTEST, alternating a letter (a to z in turn) and Backspace so that the caret stays put, the
  passage never ends and the lit key always changes. Each is timed from just before
  `XTestFakeKeyEvent` (key codes by `XKeysymToKeycode`) to the first `XGetImage` of the middle
  half of the key button's rectangle that holds at least four pixels of RGB (225,25,25),
  polled every 0.1 ms; then the key is released, and the next one follows {options.gap_ms:.0f} ms
  later. The window gets the input focus with `XSetInputFocus`. Percentiles are nearest-rank over
  all runs together; a key not lit within {LIGHT_TIMEOUT_MS} ms counts at that time. Server
  autorepeat is off, so a slow answer cannot repeat a key.

## Each run

{per_run}
"""
    options.output.parent.mkdir(parents=True, exist_ok=True)
    options.output.write_text(text, encoding="utf-8")


# ---------------------------------------------------------------------------------------------


def check_tools(options):
    problems = []
    if not shutil.which("Xvfb"):
        problems.append("Xvfb is not installed (apt-get install xvfb)")
    for path, target in ((options.program, "riderar-typing"), (options.floor, "riderar-floor"),
                         (options.probe, "riderar-xprobe")):
        if not (path.is_file() and os.access(path, os.X_OK)):
            problems.append("%s is missing: build it with "
                            "`cmake --build --preset dev --target %s`" % (path, target))
    if not os.path.exists("/proc/self/status"):
        problems.append("/proc is not mounted")
    if problems:
        raise MeasureError("cannot measure:\n  " + "\n  ".join(problems))


def parse_options():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=10,
                        help="runs of the program and of the floor (default 10)")
    parser.add_argument("--keystrokes", type=int, default=200,
                        help="latency samples per program run (default 200)")
    parser.add_argument("--program", type=Path, default=BUILD / "app" / "riderar-typing")
    parser.add_argument("--floor", type=Path, default=BUILD / "bench" / "riderar-floor")
    parser.add_argument("--probe", type=Path, default=BUILD / "bench" / "riderar-xprobe")
    parser.add_argument("--output", type=Path, default=ROOT / "docs" / "performance.md")
    parser.add_argument("--warmup", type=int, default=1,
                        help="pairs of runs made first and left out (default 1)")
    parser.add_argument("--gap-ms", type=float, default=30.0,
                        help="pause after each timed keystroke (default 30)")
    parser.add_argument("--display", type=int, default=70,
                        help="first X display number to try (default 70)")
    options = parser.parse_args()
    if options.runs < 1 or options.keystrokes < 1 or options.warmup < 0:
        parser.error("--runs and --keystrokes must be at least 1, --warmup at least 0")
    if options.keystrokes + 8 > TYPED_FOR_MEMORY:
        parser.error("--keystrokes must leave room within the %d keystrokes typed for memory"
                     % TYPED_FOR_MEMORY)
    for name in ("program", "floor", "probe"):
        setattr(options, name, getattr(options, name).resolve())
    return options


def main():
    options = parse_options()
    try:
        check_tools(options)
        layout = {"size": read_form_size(), "keys": read_keys()}
        started = time.monotonic()
        # The clients' and servers' logs; kept when something goes wrong.
        workdir = Path(tempfile.mkdtemp(prefix="riderar-measure-"))
        programs, floors = run_all(options, layout, workdir)
        shutil.rmtree(workdir, ignore_errors=True)
        wall = time.monotonic() - started
        table, per_run, samples = build_report(options, programs, floors, wall)
        write_document(options, table, per_run, samples, wall)
        print(table)
        print("\nwritten to %s" % os.path.relpath(options.output, Path.cwd()))
    except MeasureError as error:
        print("measure.py: %s" % error, file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        return 130
    return 0


def run_all(options, layout, workdir):
    """Program and floor in turn, each on a display number not used before."""
    programs, floors = [], []
    display = options.display
    for i in range(options.warmup + options.runs):
        label = "warm-up" if i < options.warmup else "run %d/%d" % (
            i - options.warmup + 1, options.runs)
        display = free_display(display)
        a = run_program(options, layout, display, workdir)
        display = free_display(display + 1)
        b = run_floor(options, layout, display, workdir)
        display += 1
        print("%s: start-up %.1f ms (floor %.1f ms), latency p99 %.2f ms, idle %.2f ms"
              % (label, a["startup_ms"], b["startup_ms"], percentile(a["latencies"], 0.99),
                 a["idle_passage_precise_ms"] or a["idle_passage_ms"]),
              file=sys.stderr, flush=True)
        if i >= options.warmup:
            programs.append(a)
            floors.append(b)
    return programs, floors


if __name__ == "__main__":
    sys.exit(main())
