#!/usr/bin/env python3
"""The plistlib reference: parses every file of the given folders, as discovery reads them."""

import os
import plistlib
import sys


def main():
    parsed = 0
    for folder in sys.argv[1:]:
        for name in os.listdir(folder):
            try:
                with open(os.path.join(folder, name), "rb") as f:
                    value = plistlib.load(f)
                parsed += isinstance(value, dict)
            except Exception:
                pass
    print(parsed)


if __name__ == "__main__":
    main()
