#!/usr/bin/env python3
"""Fills a root with N varied job files for the benchmarks.

The files spread over the launchd folders of the three libraries, hold every property-list
type, carry schedules, and come as XML or binary; a few are broken (garbage, a list at the
top, no label, unreadable) the way real machines have them. The same seed gives the same
files.

--user-only puts every file in the user's agents folder, where the window shows them without
the system's jobs. --every-5-minutes makes N plain user agents that each start at every fifth
minute of every hour (twelve calendar entries), the heaviest ordinary load on the timeline.
"""

import argparse
import datetime
import os
import plistlib
import random
import shutil

FOLDERS = [
    ("home/.config/vandra/LaunchAgents", 40),
    ("etc/vandra/LaunchAgents", 20),
    ("etc/vandra/LaunchDaemons", 20),
    ("usr/lib/vandra/LaunchAgents", 10),
    ("usr/lib/vandra/LaunchDaemons", 10),
]

WORDS = ["backup", "sync", "mail", "index", "update", "clean", "report", "mirror", "watch",
         "rotate", "fetch", "notify", "cache", "photo", "print", "spool", "dns", "vpn"]


def calendar_entry(rng):
    entry = {}
    if rng.random() < 0.2:
        entry["Month"] = rng.randint(1, 12)
        entry["Day"] = rng.randint(1, 28)
    elif rng.random() < 0.2:
        entry["Day"] = rng.randint(1, 31)
    elif rng.random() < 0.4:
        entry["Weekday"] = rng.randint(0, 7)
    if rng.random() < 0.8:
        entry["Hour"] = rng.randint(0, 23)
    entry["Minute"] = rng.randint(0, 59)
    return entry


def job(rng, index):
    label = "org.bench.%s.%s%d" % (rng.choice(WORDS), rng.choice(WORDS), index)
    program = "/usr/local/bin/%s" % rng.choice(WORDS)
    d = {"Label": label}
    if rng.random() < 0.5:
        d["ProgramArguments"] = [program, "--%s" % rng.choice(WORDS), "a value with spaces",
                                 "~/Documents/%s.txt" % rng.choice(WORDS)]
    else:
        d["Program"] = program
        d["ProgramArguments"] = [os.path.basename(program), "-v"]
    d["RunAtLoad"] = rng.random() < 0.5
    if rng.random() < 0.3:
        d["Disabled"] = True
    if rng.random() < 0.3:
        d["KeepAlive"] = {"SuccessfulExit": rng.random() < 0.5} if rng.random() < 0.5 else True
    if rng.random() < 0.3:
        d["StartInterval"] = rng.choice([5, 60, 90, 3600, 7200, 86400])
    if rng.random() < 0.4:
        entries = [calendar_entry(rng) for _ in range(rng.randint(1, 5))]
        d["StartCalendarInterval"] = entries[0] if len(entries) == 1 else entries
    if rng.random() < 0.3:
        d["WatchPaths"] = ["/var/tmp/%s" % rng.choice(WORDS), "/etc/%s.conf" % rng.choice(WORDS)]
    if rng.random() < 0.2:
        d["MachServices"] = {label + ".xpc": True}
    if rng.random() < 0.2:
        d["LimitLoadToSessionType"] = rng.choice(["Aqua", ["Background", "Aqua"], "LoginWindow"])
    d["EnvironmentVariables"] = {"PATH": "/usr/bin:/bin", "LANG": "en_US.UTF-8"}
    d["StandardOutPath"] = "/tmp/%s.out" % label
    d["Nice"] = rng.randint(-5, 5)
    d["ThrottleRatio"] = rng.random()
    d["Created"] = datetime.datetime(2020, 1, 1) + datetime.timedelta(seconds=rng.randint(0, 10**8))
    d["Token"] = bytes(rng.getrandbits(8) for _ in range(rng.randint(8, 64)))
    d["Sockets"] = {"Listeners": {"SockServiceName": str(rng.randint(1024, 65535)),
                                  "SockFamily": "IPv4"}}
    return label, d


def every_five_minutes(index):
    label = "org.bench.every5.%s%d" % (WORDS[index % len(WORDS)], index)
    return label, {
        "Label": label,
        "ProgramArguments": ["/usr/local/bin/%s" % WORDS[index % len(WORDS)], "--quick"],
        "StartCalendarInterval": [{"Minute": minute} for minute in range(0, 60, 5)],
    }


def write_every_five_minutes(root, count):
    folder = os.path.join(root, FOLDERS[0][0])
    for index in range(count):
        label, d = every_five_minutes(index)
        with open(os.path.join(folder, label + ".plist"), "wb") as out:
            out.write(plistlib.dumps(d))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("root")
    parser.add_argument("count", type=int)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--user-only", action="store_true",
                        help="every file in the user's agents folder")
    parser.add_argument("--every-5-minutes", action="store_true",
                        help="plain user agents that start every five minutes")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    shutil.rmtree(args.root, ignore_errors=True)
    weights = [weight for _, weight in FOLDERS]
    for folder, _ in FOLDERS:
        os.makedirs(os.path.join(args.root, folder), exist_ok=True)
    if args.every_5_minutes:
        write_every_five_minutes(args.root, args.count)
        return

    for index in range(args.count):
        folder = rng.choices([f for f, _ in FOLDERS], weights)[0]
        if args.user_only:
            folder = FOLDERS[0][0]
        label, d = job(rng, index)
        path = os.path.join(args.root, folder, label + ".plist")
        roll = rng.random()
        if roll < 0.01:
            data = b"\x00\x01 garbage, no property list"
        elif roll < 0.02:
            data = plistlib.dumps([label, 1, 2])
        elif roll < 0.03:
            del d["Label"]
            data = plistlib.dumps(d)
        elif roll < 0.30:
            data = plistlib.dumps(d, fmt=plistlib.FMT_BINARY)
        else:
            data = plistlib.dumps(d)
        with open(path, "wb") as out:
            out.write(data)
        if 0.03 <= roll < 0.035:
            os.chmod(path, 0)  # unreadable for everyone but root

    for folder, _ in FOLDERS:
        with open(os.path.join(args.root, folder, ".DS_Store"), "wb") as out:
            out.write(b"\x00\x00\x00\x01Bud1")


if __name__ == "__main__":
    main()
