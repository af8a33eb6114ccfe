#!/usr/bin/env python3
"""Fails when the sources hold a message that a translation does not translate.

Usage: check_translations.py LUPDATE SOURCE_DIR TS_FILE... -- LUPDATE_OPTION...

Runs lupdate over SOURCE_DIR/src into a copy of each .ts file, with the options the build
uses, and lists every message the copy leaves unfinished: a text added without a
translation, or one whose English changed since it was translated. The .ts files in the
tree stay as they are; `cmake --build BUILD --target update_translations` updates them.
"""

import pathlib
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree


def untranslated(ts_file):
    missing = []
    for context in ElementTree.parse(ts_file).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            forms = [form.text for form in translation.iter("numerusform")]
            texts = forms if message.get("numerus") == "yes" else [translation.text]
            if translation.get("type") == "unfinished" or not all(texts):
                missing.append(f"{name}: {message.findtext('source')}")
    return missing


def main(arguments):
    split = arguments.index("--")
    lupdate, source, *ts_files = arguments[:split]
    options = arguments[split + 1:]
    src = pathlib.Path(source) / "src"
    sources = sorted(str(path) for path in src.rglob("*") if path.suffix in (".cpp", ".h"))
    failed = False
    with tempfile.TemporaryDirectory() as folder:
        list_file = pathlib.Path(folder) / "sources.txt"
        list_file.write_text("\n".join(sources) + "\n")
        for ts_file in ts_files:
            copy = pathlib.Path(folder) / pathlib.Path(ts_file).name
            shutil.copyfile(ts_file, copy)
            # The English file holds only the plural forms of the source texts.
            plural_only = ["-pluralonly"] if copy.name.endswith("_en.ts") else []
            run = subprocess.run([lupdate, "-silent", "-I", str(src), *options, *plural_only,
                                  f"@{list_file}", "-ts", str(copy)],
                                 capture_output=True, text=True)
            if run.returncode != 0:
                print(run.stdout + run.stderr)
                return 1
            missing = untranslated(copy)
            for message in missing:
                print(f"{pathlib.Path(ts_file).name}: not translated: {message}")
            failed = failed or bool(missing)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
