#!/usr/bin/env python3
"""Python's plistlib as a second opinion on the property-list codec.

    plistlib_check.py dump FILE...   one line per file: the typed JSON of what plistlib reads
    plistlib_check.py write FOLDER   writes NAME.xml, NAME.bplist and NAME.json (the typed
                                     JSON of the values written) for a set of samples

Typed JSON keeps what plain JSON would lose: ["integer", "-5"], ["real", "<IEEE 754 bits as
a signed integer>"], ["date", "<milliseconds since 1970>"], ["data", "<hex>"],
["dict", [[key, value], ...]] in the file's order. A keyed-archive UID is the dictionary
{"CF$UID": n}, as the codec reads it; ["refused"] stands for a file the codec must refuse.
"""

import datetime
import json
import os
import plistlib
import struct
import sys

EPOCH = datetime.datetime(1970, 1, 1)


def typed(value):
    if isinstance(value, bool):
        return ["bool", value]
    if isinstance(value, int):
        return ["integer", str(value)]
    if isinstance(value, float):
        return ["real", str(struct.unpack("<q", struct.pack("<d", value))[0])]
    if isinstance(value, str):
        return ["string", value]
    if isinstance(value, bytes):
        return ["data", value.hex()]
    if isinstance(value, datetime.datetime):
        return ["date", str((value - EPOCH) // datetime.timedelta(milliseconds=1))]
    if isinstance(value, plistlib.UID):
        return ["dict", [["CF$UID", ["integer", str(value.data)]]]]
    if isinstance(value, list):
        return ["array", [typed(item) for item in value]]
    if isinstance(value, dict):
        return ["dict", [[key, typed(item)] for key, item in value.items()]]
    raise TypeError(f"unexpected {type(value).__name__}")


def samples():
    common = {
        "Label": "com.example.plistlib",
        "ProgramArguments": ["/bin/sh", "-c", 'echo "a & b" < /dev/null > out'],
        "Disabled": False,
        "KeepAlive": {"SuccessfulExit": True, "Crashed": False},
        "Integers": [0, 1, -1, 255, 256, -129, 65535, 2**31, -(2**31) - 1, 2**63 - 1, -(2**63)],
        # No -0.0: plistlib's binary writer shares it with 0.0, which compares equal.
        "Reals": [0.0, 0.1, 1.5, -2.25, 1e300, 5e-324, float("inf"), float("-inf")],
        "Text": "  tabs\tand\nnew lines, ]]> & <tags> 'quotes' \"double\"  ",
        "Unicode ☺ ключ": "𝄞 music, עברית, 中文, emoji 🙂",
        "Empty": "",
        "Data": bytes(range(256)),
        "EmptyData": b"",
        "Created": datetime.datetime(2024, 2, 29, 13, 14, 15),
        "Old": datetime.datetime(1900, 1, 1, 0, 0, 1),
        "Late": datetime.datetime(2100, 12, 31, 23, 59, 59),
        "Nested": {"a": [[], {}, [{"b": [True]}]]},
        "zLast": "keys stay in this order, not sorted",
    }
    binary_only = dict(common)
    binary_only["Milliseconds"] = datetime.datetime(2024, 5, 6, 7, 8, 9, 250000)
    binary_only["Uid"] = plistlib.UID(42)
    return {
        "job": (common, True),
        "binary-only": (binary_only, False),
        "list": (["a", 1, [2.5, {}]], True),
        "deep": (nest(60), True),
        "unsigned-64": ({"Big": 2**64 - 1, "JustAbove": 2**63}, True),
    }


# Integers beyond the unsigned 64-bit range, which neither plistlib nor the codec takes; the
# XML is written by hand.
REFUSED = {"too-large": "<dict><key>Big</key><integer>18446744073709551616</integer></dict>"}


def nest(depth):
    value = "bottom"
    for level in range(depth):
        value = {"level": level, "inner": [value]}
    return value


def write(folder):
    for name, (value, has_xml) in samples().items():
        if has_xml:
            with open(os.path.join(folder, name + ".xml"), "wb") as out:
                plistlib.dump(value, out, fmt=plistlib.FMT_XML, sort_keys=False)
        with open(os.path.join(folder, name + ".bplist"), "wb") as out:
            plistlib.dump(value, out, fmt=plistlib.FMT_BINARY, sort_keys=False)
        with open(os.path.join(folder, name + ".json"), "w", encoding="ascii") as out:
            json.dump(typed(value), out)
    for name, value in REFUSED.items():
        with open(os.path.join(folder, name + ".xml"), "w", encoding="ascii") as out:
            out.write('<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0">')
            out.write(value + "</plist>\n")
        with open(os.path.join(folder, name + ".json"), "w", encoding="ascii") as out:
            json.dump(["refused"], out)


def dump(paths):
    for path in paths:
        with open(path, "rb") as source:
            value = plistlib.load(source)
        print(json.dumps(typed(value)))


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "dump":
        dump(sys.argv[2:])
    elif len(sys.argv) == 3 and sys.argv[1] == "write":
        write(sys.argv[2])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
