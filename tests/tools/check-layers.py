#!/usr/bin/env python3
"""Fails when a source file includes from a room above its own: includes point down only."""
import pathlib
import re
import sys

# Each room and the rooms it may include from, besides itself.
LOGIC = {"text", "common", "ports", "battery", "logs", "power", "devices", "identity", "panel"}
ALLOWED = {
    "text": set(),
    "common": {"text"},
    "ports": {"common", "text"},
    "battery": {"ports", "common", "text"},
    "power": {"battery", "ports", "common", "text"},  # the power actions read the AC flag
    "devices": {"ports", "common", "text"},
    "identity": {"ports", "common", "text"},
    "logs": {"battery", "power", "ports", "common", "text"},
    "panel": LOGIC - {"panel"},
    "win32": LOGIC,
    "posix": {"ports", "common", "text"},
    "simulated": {"posix", "ports", "common", "text"},
    "linux": {"posix", "ports", "common", "text"},
    # Both Linux hosts drive a laptop through one interface: the terminal panel and the unattended
    # runs, whose commands the terminal's entry starts.
    "laptop": {"posix", "simulated", "linux", "ports", "common", "text"},
    "lab": LOGIC | {"posix", "laptop"},
    "terminal": LOGIC | {"posix", "simulated", "linux", "laptop", "lab"},
    "report": LOGIC | {"posix"},
    # The report's entries: the portable report over each platform's files and battery port.
    "report/cli": LOGIC | {"posix", "report", "linux", "win32"},
}
# Rooms inside a room, named "room/sub"; the rest of the room may not include from them.
SUBROOMS = {("report", "cli")}


def room_of_parts(parts):
    """The room of a path given as its parts below src/, the file's name last."""
    if len(parts) > 2 and (parts[0], parts[1]) in SUBROOMS:
        return parts[0] + "/" + parts[1]
    return parts[0]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def room_of(include, source):
    """The room an include names, resolved like the compiler does: beside the file, then from src/."""
    beside = (source.parent / include).resolve()
    if beside.exists():
        parts = beside.relative_to(SRC.resolve()).parts if SRC.resolve() in beside.parents else ()
        return room_of_parts(parts) if len(parts) > 1 else None
    parts = include.split("/")
    return room_of_parts(parts) if len(parts) > 1 else None


ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2])
SRC = ROOT / "src"
upward = []
for source in sorted(SRC.rglob("*")):
    if source.suffix not in {".h", ".cpp"}:
        continue
    room = room_of_parts(source.relative_to(SRC).parts)
    for include in INCLUDE.findall(source.read_text(encoding="utf-8")):
        target = room_of(include, source)
        if target is None or target == room:
            continue
        if room not in ALLOWED:
            upward.append(f"{source.relative_to(ROOT)}: unknown room {room}")
        elif target not in ALLOWED[room]:
            upward.append(f"{source.relative_to(ROOT)}: includes {include} ({room} may not include {target})")
for line in upward:
    print(line)
print(f"layers: {len(upward)} upward include(s)")
sys.exit(1 if upward else 0)
