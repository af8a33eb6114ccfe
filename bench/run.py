#!/usr/bin/env python3
"""Times `vandractl list --json` against reading every file and against a plistlib parse.

For each size, generate.py fills a fresh root; then each command runs once to warm the
file cache and `--runs` more times, and the medians count: of the wall-clock time, and of
the processor time (user + system) of the command and its children, which a busy machine
disturbs less. All three work on the same files in the same run. The references:
  cat      every file of the job folders read by cat (through find and xargs)
  plistlib every file parsed by Python's plistlib (parse_plists.py)
"""

import argparse
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
FOLDERS = ["home/.config/vandra/LaunchAgents", "etc/vandra/LaunchAgents", "etc/vandra/LaunchDaemons",
           "usr/lib/vandra/LaunchAgents", "usr/lib/vandra/LaunchDaemons"]


def cpu_of_children():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed(command, runs):
    """The median wall-clock and processor seconds of command."""
    def once():
        cpu = cpu_of_children()
        start = time.perf_counter()
        result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        if result.returncode != 0:
            sys.exit("failed (%d): %s" % (result.returncode, " ".join(command[:4])))
        return elapsed, cpu_of_children() - cpu

    once()
    samples = [once() for _ in range(runs)]
    return (statistics.median(wall for wall, _ in samples),
            statistics.median(cpu for _, cpu in samples))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--vandractl", default=os.path.join(HERE, "..", "build-release", "bin", "vandractl"))
    parser.add_argument("--sizes", type=int, nargs="+", default=[1000, 10000])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--workdir", default=None, help="where the roots go (a temporary folder)")
    args = parser.parse_args()
    if not os.access(args.vandractl, os.X_OK):
        sys.exit("no vandractl at %s (build it, or pass --vandractl)" % args.vandractl)

    workdir = args.workdir or tempfile.mkdtemp(prefix="vandra-bench-")
    env = dict(os.environ, LANG="C.UTF-8", QT_LOGGING_RULES="*=false")
    os.environ.update(env)
    print("%8s %-5s %10s %10s %10s %9s %9s"
          % ("files", "time", "vandractl", "cat", "plistlib", "÷ cat", "÷ plistlib"))
    for size in args.sizes:
        root = os.path.join(workdir, "root-%d" % size)
        subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), root, str(size)], check=True)
        folders = [os.path.join(root, f) for f in FOLDERS]
        ours = timed([args.vandractl, "list", "--json", "--system", "--root", root], args.runs)
        cat = timed(["sh", "-c", 'find "$@" -type f -print0 | xargs -0 cat > /dev/null 2>&1; true',
                     "sh"] + folders, args.runs)
        plist = timed([sys.executable, os.path.join(HERE, "parse_plists.py")] + folders, args.runs)
        for index, kind in enumerate(["wall", "cpu"]):
            a, b, c = ours[index], cat[index], plist[index]
            print("%8d %-5s %9.3fs %9.3fs %9.3fs %8.2fx %8.2fx" % (size, kind, a, b, c, a / b, a / c))


if __name__ == "__main__":
    main()
