#!/usr/bin/env python3
"""Fails when a source file includes a header from a layer it may not depend on.

The layers and what each may include, from the bottom up; a layer may always include itself.
Widget headers (QtWidgets, QScintilla) are allowed only in the window and the app.
"""
import pathlib
import re
import sys

ALLOWED = {
    "support": set(),
    "platform": {"support"},
    "model": {"support", "platform"},
    "schedule": {"support", "platform", "model"},
    "run": {"support", "platform", "model"},
    "actions": {"support", "platform", "model", "schedule", "run"},
    "store": {"support", "platform", "model", "schedule", "run", "actions"},
    "helper": {"support", "platform", "model", "actions"},
    "agent": {"support", "platform", "model", "store"},
    "cli": {"support", "platform", "model", "schedule", "run", "actions", "store"},
    "ui": {"support", "platform", "model", "schedule", "run", "actions", "store"},
    "app": {"support", "platform", "model", "schedule", "run", "actions", "store", "ui"},
}
WIDGET_LAYERS = {"ui", "app"}

WIDGET_HEADER = re.compile(
    r"^(QtWidgets/|Qsci/|Q(Widget|MainWindow|Dialog|Application|PushButton|Label|LineEdit|"
    r"CheckBox|ComboBox|Menu|MenuBar|ToolBar|ToolButton|TabWidget|TreeView|ListView|TableView|"
    r"AbstractItemView|HeaderView|StyledItemDelegate|Layout|BoxLayout|HBoxLayout|VBoxLayout|"
    r"GridLayout|FormLayout|StackedWidget|Splitter|ScrollArea|MessageBox|FileDialog|"
    r"InputDialog|ProgressBar|SpinBox|DateTimeEdit|TextEdit|PlainTextEdit|Frame|GroupBox|"
    r"RadioButton|ButtonGroup|ActionGroup|SystemTrayIcon|Style|StyleFactory|StyleOption)\b)"
)
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')


def main(source_root: pathlib.Path) -> int:
    faults = []
    for path in sorted(source_root.rglob("*")):
        if path.suffix not in {".h", ".cpp"}:
            continue
        layer = path.relative_to(source_root).parts[0]
        if layer not in ALLOWED:
            faults.append(f"{path}: folder {layer} is not a known layer")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            header = match.group(1)
            first = header.split("/")[0]
            if "/" in header and first in ALLOWED and first != layer and first not in ALLOWED[layer]:
                faults.append(f"{path}:{number}: {layer} may not include {header}")
            if layer not in WIDGET_LAYERS and WIDGET_HEADER.match(header):
                faults.append(f"{path}:{number}: {layer} may not include the widget header {header}")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} layering faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
