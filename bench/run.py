#!/usr/bin/env python3
"""Measures how Vandra copes with many jobs, each figure as a ratio to a reference taken in
the same run, and prints the results as a Markdown table.

Rows:
  discovery   `vandractl list --json` at each size, against reading the same files with
              cat (find | xargs cat), with Python's plistlib (parse_plists.py), and with a
              tiny C program that opens and reads every file in one process (readfiles.c)
  memory      the peak resident memory of `vandractl list` (/usr/bin/time -v), per job and
              against the mean file size
  first frame the window's picture in each mode (`vandra --screenshot`), against discovery
              of the same root; the fixed wait before the picture is taken is subtracted
  window      one keystroke in the filter field in each mode and the switch from the list
              to the tree mode, through vandra-bench-window (built with -DVANDRA_BUILD_BENCH=ON)
  timeline    jobs that start every five minutes: `vandractl timeline --json` time and peak
              memory, and the window's first frame in the timeline mode, against discovery

The commands run interleaved (A B C ... A B C ...): one round to warm the file cache, then
--runs rounds, and the medians count. Wall-clock times move on a busy machine; the processor
times (user + system of the command and its children) move less, so both are printed.
"""

import argparse
import json
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
FOLDERS = ["home/.config/vandra/LaunchAgents", "etc/vandra/LaunchAgents", "etc/vandra/LaunchDaemons",
           "usr/lib/vandra/LaunchAgents", "usr/lib/vandra/LaunchDaemons"]
MODES = ["grid", "tree", "list", "timeline"]
# The window waits this long after it is ready before it takes the picture
# (settleMs in src/app/screenshot.cpp).
SCREENSHOT_SETTLE = 0.4
# A frame at 60 Hz, what one keystroke should cost at most.
FRAME_MS = 1000 / 60
# Rows of a first screen of the timeline, for `timeline --limit` where the program has it.
FIRST_ROWS = 200


def cpu_of_children():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


class Command:
    """One command of the interleaved run and its samples: wall and processor seconds, and
    the peak memory in KiB when it runs under /usr/bin/time -v. A command that outlasts the
    time limit is left out of later rounds."""

    def __init__(self, name, argv, env=None, memory=False, parse=None, subtract=0.0,
                 count_rows=False):
        self.name = name
        self.argv = argv
        self.env = env
        self.memory = memory
        self.parse = parse
        self.subtract = subtract
        self.count_rows = count_rows
        self.timed_out = None
        self.wall = []
        self.cpu = []
        self.rss = []
        self.outputs = []
        self.bytes = self.rows = 0
        self.counted = False

    def run(self, workdir, keep, timeout):
        if self.timed_out:
            return
        argv = self.argv
        report = os.path.join(workdir, "time.txt")
        if self.memory:
            argv = ["/usr/bin/time", "-v", "-o", report] + argv
        # The first run of a timeline (the warm-up, unless a smoke run) counts what it prints,
        # so that no extra run is needed.
        counting = self.count_rows and not self.counted
        self.counted = True
        cpu = cpu_of_children()
        start = time.perf_counter()
        process = subprocess.Popen(argv, env=self.env, stderr=subprocess.DEVNULL,
                                   stdout=subprocess.PIPE if self.parse or counting
                                   else subprocess.DEVNULL)
        try:
            if counting:
                self.bytes, self.rows = count_rows(process.stdout)
            output, _ = process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.communicate()
            self.timed_out = timeout
            print("%s: more than %d s, left out from now on" % (self.name, timeout), file=sys.stderr)
            return
        elapsed = time.perf_counter() - start
        spent = cpu_of_children() - cpu
        if process.returncode != 0:
            sys.exit("%s failed (%d): %s" % (self.name, process.returncode, " ".join(argv)))
        if not keep:
            return
        self.wall.append(elapsed - self.subtract)
        self.cpu.append(spent)
        if self.memory:
            with open(report) as f:
                for line in f:
                    if "Maximum resident set size" in line:
                        # GNU time reports KiB; kept in bytes, shown in SI units (kB, MB).
                        self.rss.append(int(line.rsplit(":", 1)[1]) * 1024)
        if self.parse:
            self.outputs.append(self.parse(output))

    def has(self, kind):
        return bool(getattr(self, kind))

    def median(self, kind):
        return statistics.median(getattr(self, kind))


def count_rows(stream):
    """Bytes and rows of what `timeline --json` prints, read as it comes."""
    size = rows = 0
    tail = b""
    while True:
        chunk = stream.read(1 << 20)
        if not chunk:
            break
        size += len(chunk)
        data = tail + chunk
        rows += data.count(b'"kind":')
        tail = data[-6:]
    return size, rows


def generate(root, count, *flags):
    subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), root, str(count)] + list(flags),
                   check=True)


def mean_file_size(root):
    sizes = [os.path.getsize(os.path.join(d, name))
             for d in (os.path.join(root, f) for f in FOLDERS) for name in os.listdir(d)]
    return statistics.mean(sizes) if sizes else 1


def copy_root(source, target):
    shutil.rmtree(target, ignore_errors=True)
    shutil.copytree(source, target, symlinks=True)
    # copytree leaves unreadable files behind with an error; they are part of the machine.
    for folder in FOLDERS:
        for name in os.listdir(os.path.join(source, folder)):
            path = os.path.join(target, folder, name)
            if not os.path.exists(path):
                shutil.copyfile(os.path.join(source, folder, name), path)


def window_env(env, workdir, name):
    """A runtime folder of its own per root; the helper service a window starts ends two
    seconds after the window, so that every window run starts its own."""
    runtime = os.path.join(workdir, "runtime-" + name)
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    return dict(env, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime,
                VANDRA_HELPER_IDLE_TIMEOUT="2")


def build_reader(workdir):
    reader = os.path.join(workdir, "readfiles")
    compiler = os.environ.get("CC") or shutil.which("cc") or shutil.which("gcc")
    if not compiler:
        sys.exit("no C compiler (cc) for readfiles.c")
    subprocess.run([compiler, "-O2", "-o", reader, os.path.join(HERE, "readfiles.c")], check=True)
    return reader


def has_option(vandractl, command, option):
    result = subprocess.run([vandractl, "--help"], capture_output=True, text=True)
    text = result.stdout + result.stderr
    return any(line.strip().startswith(command) and option in line for line in text.splitlines())


def fmt_s(seconds):
    return "%.3f s" % seconds


def fmt_ms(ms):
    return "%.1f ms" % ms


def fmt_x(ratio):
    return "%.2f×" % ratio


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=os.path.join(HERE, "..", "build-release", "bin"),
                        help="the folder with vandractl, vandra and vandra-bench-window")
    parser.add_argument("--sizes", type=int, nargs="+", default=[1000, 10000, 50000])
    parser.add_argument("--window-jobs", type=int, default=10000,
                        help="jobs in the window's root (all in the user's agents folder)")
    parser.add_argument("--timeline-jobs", type=int, default=1000,
                        help="jobs that start every five minutes, for the timeline")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--repeats", type=int, default=3,
                        help="words typed and switches made per window run")
    parser.add_argument("--timeout", type=int, default=120,
                        help="seconds after which a command is stopped and left out")
    parser.add_argument("--skip", nargs="*", default=[],
                        choices=["discovery", "window", "screenshots", "timeline"])
    parser.add_argument("--workdir", default=None, help="where the roots go (a temporary folder)")
    parser.add_argument("--smoke", action="store_true",
                        help="tiny roots, one run: that everything runs, timing nothing")
    args = parser.parse_args()
    args.runs = max(1, args.runs)
    if args.smoke:
        args.sizes, args.window_jobs, args.timeline_jobs = [20], 20, 1
        args.runs, args.repeats = 1, 1

    vandractl = os.path.join(args.bin, "vandractl")
    vandra = os.path.join(args.bin, "vandra")
    harness = os.path.join(args.bin, "vandra-bench-window")
    needed = [vandractl]
    if "screenshots" not in args.skip:
        needed.append(vandra)
    if "window" not in args.skip:
        needed.append(harness)
    for program in needed:
        if not os.access(program, os.X_OK):
            sys.exit("no %s (build it, or pass --bin; vandra-bench-window needs "
                     "-DVANDRA_BUILD_BENCH=ON, or --skip window)" % program)

    workdir = args.workdir or tempfile.mkdtemp(prefix="vandra-bench-")
    os.makedirs(workdir, exist_ok=True)
    env = dict(os.environ, LANG="C.UTF-8", QT_LOGGING_RULES="*=false")
    # vandractl asks the helper service of the root for the jobs' status and starts it when
    # none answers; it stays for its idle time, as on a machine in use. A smoke run leaves
    # none behind for long.
    if args.smoke:
        env["VANDRA_HELPER_IDLE_TIMEOUT"] = "2"
    commands = []

    def add(command):
        commands.append(command)
        return command

    def list_json(root):
        return [vandractl, "list", "--json", "--system", "--root", root]

    def screenshot(name, root, mode):
        return Command(name, [vandra, "--root", root, "--screenshot",
                              os.path.join(workdir, name.replace(" ", "-") + ".png"),
                              "--screenshot-mode", mode],
                       window_env(env, workdir, name.replace(" ", "-")), subtract=SCREENSHOT_SETTLE)

    discovery = {}
    if "discovery" not in args.skip:
        reader = build_reader(workdir)
        for size in args.sizes:
            root = os.path.join(workdir, "root-%d" % size)
            generate(root, size)
            folders = [os.path.join(root, f) for f in FOLDERS]
            discovery[size] = {
                "root": root,
                "ours": add(Command("list %d" % size, list_json(root), env, memory=True)),
                "cat": add(Command("cat %d" % size, [
                    "sh", "-c", 'find "$@" -type f -print0 | xargs -0 cat > /dev/null 2>&1; true',
                    "sh"] + folders, env)),
                "plistlib": add(Command("plistlib %d" % size, [
                    sys.executable, os.path.join(HERE, "parse_plists.py")] + folders, env)),
                "reader": add(Command("reader %d" % size, [reader] + folders, env)),
            }

    window = {}
    if "screenshots" not in args.skip or "window" not in args.skip:
        source = os.path.join(workdir, "window-source")
        generate(source, args.window_jobs, "--user-only")
        window["discovery"] = add(Command("list window", list_json(source), env))
    if "screenshots" not in args.skip:
        # The window's start with no job at all: the fixed cost inside every first frame.
        empty = os.path.join(workdir, "window-empty")
        generate(empty, 0, "--user-only")
        window["empty"] = add(screenshot("frame empty", empty, "timeline"))
        window["empty discovery"] = add(Command("list empty", list_json(empty), env))
        for mode in MODES:
            # A root per mode: the window keeps its last mode in the root's settings and
            # would build that one first.
            root = os.path.join(workdir, "window-" + mode)
            copy_root(source, root)
            window[mode] = add(screenshot("frame " + mode, root, mode))
    if "window" not in args.skip:
        # One run per mode, so that a mode that takes too long costs only its own figures;
        # the switches to the tree mode come with the tree mode.
        window["harness"] = []
        for modes in MODES:
            root = os.path.join(workdir, "window-harness-" + modes.replace(",", "-"))
            copy_root(source, root)
            window["harness"].append(add(Command("window " + modes, [
                harness, "--root", root, "--repeats", str(args.repeats), "--modes", modes],
                window_env(env, workdir, "harness-" + modes.replace(",", "-")), parse=json.loads)))

    timeline = {}
    if "timeline" not in args.skip:
        root = os.path.join(workdir, "every-5-minutes")
        generate(root, args.timeline_jobs, "--every-5-minutes")
        argv = [vandractl, "timeline", "--json", "--root", root]
        timeline["ours"] = add(Command("timeline", argv, env, memory=True, count_rows=True))
        # Where the program can make only the first rows: what a first screen needs.
        if has_option(vandractl, "timeline", "--limit"):
            timeline["first"] = add(Command("timeline first rows", argv + [
                "--limit", str(FIRST_ROWS)], env, memory=True))
        timeline["discovery"] = add(Command("list every 5", list_json(root), env))
        if "screenshots" not in args.skip:
            frame_root = os.path.join(workdir, "every-5-minutes-window")
            copy_root(root, frame_root)
            timeline["frame"] = add(screenshot("frame timeline every 5", frame_root, "timeline"))

    # A smoke run has no warm-up round: it only shows that every command runs.
    first = 1 if args.smoke else 0
    for round_ in range(first, args.runs + 1):
        print("round %d of %d" % (round_, args.runs), file=sys.stderr)
        for command in commands:
            command.run(workdir, keep=round_ > 0, timeout=args.timeout)

    # Every sample, for a closer look than the table's medians.
    with open(os.path.join(workdir, "samples.json"), "w") as out:
        json.dump({c.name: {"wall": c.wall, "cpu": c.cpu, "rss_bytes": c.rss, "timed_out": c.timed_out,
                            "outputs": c.outputs} for c in commands}, out, indent=1)
    print_table(args, discovery, window, timeline)
    print("Every sample: %s" % os.path.join(workdir, "samples.json"), file=sys.stderr)


def cost(command, kind):
    if command.timed_out:
        return "> %d s" % command.timed_out if kind == "wall" else "–"
    if not command.has(kind):
        return "–"
    return fmt_s(command.median(kind))


def ratio(ours, reference, kind):
    if ours.timed_out and kind == "wall" and reference.has(kind):
        return "> " + fmt_x(ours.timed_out / reference.median(kind))
    if not ours.has(kind) or not reference.has(kind):
        return "–"
    return fmt_x(ours.median(kind) / reference.median(kind))


def ratio_row(what, ours, reference, target):
    return "| %s | %s (cpu %s) | %s (cpu %s) | %s | %s | %s |" % (
        what, cost(ours, "wall"), cost(ours, "cpu"), cost(reference, "wall"), cost(reference, "cpu"),
        ratio(ours, reference, "wall"), ratio(ours, reference, "cpu"), target)


def beyond_row(what, ours, fixed, reference):
    """What a command costs beyond a fixed part measured in the same run, against a reference."""
    cells = []
    for kind in ("wall", "cpu"):
        if not ours.has(kind) or not fixed.has(kind) or not reference.has(kind):
            cells.append(("–", "–"))
            continue
        extra = max(0.0, ours.median(kind) - fixed.median(kind))
        cells.append((fmt_s(extra), fmt_x(extra / reference.median(kind))))
    return "| %s | %s (cpu %s) | %s (cpu %s) | %s | %s | |" % (
        what, cells[0][0], cells[1][0], cost(reference, "wall"), cost(reference, "cpu"),
        cells[0][1], cells[1][1])


def harness_steps(commands):
    """Each step's median over runs of the run's median, wall and processor milliseconds,
    and its slowest wall-clock time; none for the steps of a run that took too long."""
    result = {}
    for command in commands:
        names = command.outputs[0]["steps"].keys() if command.outputs else []
        for name in names:
            per_run = [run["steps"][name] for run in command.outputs if name in run["steps"]]
            medians = tuple(statistics.median(statistics.median(sample[i] for sample in samples)
                                              for samples in per_run) for i in (0, 1))
            slowest = max(sample[0] for samples in per_run for sample in samples)
            result[name] = medians + (slowest,)
    return result


def window_step_rows(args, commands):
    steps = harness_steps(commands)
    n = "{:,}".format(args.window_jobs)
    names = ["show %s" % mode for mode in MODES] + \
        ["%s in %s" % (kind, mode) for mode in MODES for kind in ("type", "erase")] + \
        ["list to tree", "tree to list"]
    targets = {"type": "≤ 16 ms", "erase": "≤ 16 ms", "list to tree": "≤ 30 ms"}
    for name in names:
        target = targets.get(name, targets.get(name.split(" ")[0], ""))
        if name not in steps:
            late = [c for c in commands if c.timed_out and name.split(" ")[-1] in c.name]
            if late:
                print("| window, %s, %s jobs | > %d s | | | | %s |" % (name, n, late[0].timed_out, target))
            continue
        wall, cpu, slowest = steps[name]
        print("| window, %s, %s jobs | %s (cpu %s; slowest %s) | a frame %s | %s | %s | %s |" % (
            name, n, fmt_ms(wall), fmt_ms(cpu), fmt_ms(slowest), fmt_ms(FRAME_MS),
            fmt_x(wall / FRAME_MS), fmt_x(cpu / FRAME_MS), target))


def print_table(args, discovery, window, timeline):
    print()
    print("| What | Vandra | Reference | ÷ (wall) | ÷ (cpu) | Target |")
    print("|---|---|---|---|---|---|")
    for size, row in discovery.items():
        n = "{:,}".format(size)
        print(ratio_row("`list --json` ÷ `xargs cat`, %s files" % n, row["ours"], row["cat"], "≤ 1.0×"))
        print(ratio_row("`list --json` ÷ plistlib, %s files" % n, row["ours"], row["plistlib"], "≤ 0.2×"))
        print(ratio_row("`list --json` ÷ in-process read, %s files" % n, row["ours"], row["reader"],
                        "≤ 3×"))
    for size, row in discovery.items():
        if not row["ours"].has("rss"):
            continue
        rss = row["ours"].median("rss")
        per_job = rss / size
        mean = mean_file_size(row["root"])
        print("| peak memory per job, `vandractl list`, %s files | %.1f kB (peak %.0f MB) | "
              "mean file %.2f kB | %s | | ≤ 3 kB |" % ("{:,}".format(size), per_job / 1000, rss / 1e6,
                                                      mean / 1000, fmt_x(per_job / mean)))
    if "empty" in window:
        print(ratio_row("first frame, timeline mode, no jobs (the fixed start) ÷ discovery",
                        window["empty"], window["empty discovery"], ""))
    if "discovery" in window:
        n = "{:,}".format(args.window_jobs)
        for mode in MODES:
            if mode in window:
                print(ratio_row("first frame, %s mode, %s jobs ÷ discovery" % (mode, n),
                                window[mode], window["discovery"], ""))
    if "harness" in window:
        window_step_rows(args, window["harness"])
    if timeline:
        n = "{:,}".format(args.timeline_jobs)
        ours = timeline["ours"]
        print(ratio_row("`timeline --json` ÷ discovery, %s jobs every 5 minutes (%s rows, %.0f MB)"
                        % (n, "{:,}".format(ours.rows), ours.bytes / 1e6),
                        ours, timeline["discovery"], ""))
        if ours.has("rss"):
            rss = ours.median("rss")
            print("| peak memory, `timeline --json`, %s jobs every 5 minutes | %.0f MB, %.1f kB per job "
                  "| | | | bounded by jobs |" % (n, rss / 1e6, rss / args.timeline_jobs / 1000))
        if "first" in timeline:
            first = timeline["first"]
            print(ratio_row("`timeline --json --limit %d` ÷ discovery, %s jobs every 5 minutes"
                            % (FIRST_ROWS, n), first, timeline["discovery"], ""))
            if first.has("rss"):
                print("| peak memory, `timeline --json --limit %d` | %.0f MB | | | | |"
                      % (FIRST_ROWS, first.median("rss") / 1e6))
        if "frame" in timeline:
            print(ratio_row("first frame, timeline mode, %s jobs every 5 minutes ÷ discovery" % n,
                            timeline["frame"], timeline["discovery"], "≤ 1.5×"))
            if "empty" in window:
                print(beyond_row("first frame, timeline mode, %s jobs every 5 minutes, beyond the "
                                 "fixed start, ÷ discovery" % n, timeline["frame"], window["empty"],
                                 timeline["discovery"]))
    print()
    print("%d interleaved runs after one to warm up, medians; ratios of wall-clock and of "
          "processor time (user + system). First frames: the run of `vandra --screenshot` less "
          "its fixed %.1f s wait. Window steps: until the event loop is idle after the view's "
          "last change, the median of %d words typed and erased per run." % (
              args.runs, SCREENSHOT_SETTLE, args.repeats))


if __name__ == "__main__":
    main()
