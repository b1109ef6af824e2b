#!/usr/bin/env python3
"""Checks the resources compiled into Chargewright.exe.

The dialog template "CHARGEWRIGHT" (language 1028) must agree with the C++ panel table control by
control: order, id, class, style, extended style, rectangle and text, and in its header (style,
size, font, language). The table comes from the output of panel_template_dump, run through the
given command. Icon group 134, the manifest's execution level and the version resource are checked
against their fixed values.

    check_resources.py Chargewright.exe [DUMP COMMAND ...]
    check_resources.py Chargewright.exe --dump-file table.txt
"""

import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

try:
    import pefile
except ImportError:
    sys.exit("check_resources.py needs pefile (Debian: python3-pefile); run it with that Python")

SKIPPED = 125  # the emulator's answer where the dump cannot run here; CTest counts it as skipped
RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 14, 16, 24
DS_SETFONT, DS_SHELLFONT = 0x40, 0x48
CLASS_ORDINALS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX", 0x84: "SCROLLBAR",
                  0x85: "COMBOBOX"}
EXPECTED_ICONS = sorted([(48, 4), (32, 4), (24, 4), (16, 4), (48, 8), (32, 8), (24, 8), (16, 8),
                         (256, 32), (48, 32), (32, 32), (24, 32), (16, 32)])

failures = []
passes = 0


def expect(ok, what, detail=""):
    global passes
    if ok:
        passes += 1
        print(f"ok   {what}")
    else:
        failures.append(what)
        print(f"FAIL {what}" + (f": {detail}" if detail else ""))


# ---- reading resources -------------------------------------------------------------------------

def resources(pe, type_id):
    """{name or id: {language: bytes}} of one resource type."""
    found = {}
    for kind in getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None).entries:
        if kind.id != type_id:
            continue
        for entry in kind.directory.entries:
            key = str(entry.name) if entry.name is not None else entry.id
            for language in entry.directory.entries:
                data = language.data.struct
                found.setdefault(key, {})[language.id] = pe.get_data(data.OffsetToData, data.Size)
    return found


class Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.at)
        self.at += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self, size):
        self.at = (self.at + size - 1) // size * size

    def string(self):
        units = []
        while True:
            unit = self.take("H")
            if unit == 0:
                return "".join(map(chr, units))
            units.append(unit)

    def string_or_ordinal(self):
        first = struct.unpack_from("<H", self.data, self.at)[0]
        if first == 0x0000:
            self.at += 2
            return ""
        if first == 0xFFFF:
            self.at += 2
            return self.take("H")
        return self.string()


def decode_dialog_ex(data):
    r = Reader(data)
    version, signature, help_id, ex_style, style, count, x, y, cx, cy = r.take("HHIIIHhhhh")
    dialog = dict(version=version, signature=signature, help_id=help_id, ex_style=ex_style, style=style,
                  x=x, y=y, width=cx, height=cy, menu=r.string_or_ordinal(), window_class=r.string_or_ordinal(),
                  title=r.string())
    if style & DS_SETFONT:
        points, weight, italic, charset = r.take("HHBB")
        dialog.update(font_points=points, font_weight=weight, font_italic=italic, font_charset=charset,
                      font_name=r.string())
    controls = []
    for _ in range(count):
        r.align(4)
        c_help, c_ex_style, c_style, cx_, cy_, cw, ch, c_id = r.take("IIIhhhhI")
        window_class = r.string_or_ordinal()
        if isinstance(window_class, int):
            window_class = CLASS_ORDINALS.get(window_class, f"#{window_class:#x}")
        text = r.string_or_ordinal()
        extra = r.take("H")
        r.at += extra
        controls.append(dict(help_id=c_help, ex_style=c_ex_style, style=c_style, x=cx_, y=cy_, width=cw, height=ch,
                             id=c_id if c_id != 0xFFFFFFFF else -1, window_class=window_class.upper(), text=text))
    return dialog, controls


def read_table(lines):
    header, controls = None, []
    for line in lines:
        fields = line.rstrip("\r\n").split("\t")
        unescape = lambda s: s.encode("ascii").decode("unicode_escape")
        if fields[0] == "dialog":
            header = dict(name=fields[1], language=int(fields[2]), style=int(fields[3], 16), width=int(fields[4]),
                          height=int(fields[5]), font_name=fields[6], font_points=int(fields[7]))
        elif fields[0] == "control":
            controls.append(dict(index=int(fields[1]), id=int(fields[2]), window_class=fields[3],
                                 style=int(fields[4], 16), ex_style=int(fields[5], 16), x=int(fields[6]),
                                 y=int(fields[7]), width=int(fields[8]), height=int(fields[9]),
                                 text=unescape(fields[10]) if len(fields) > 10 else ""))
    return header, controls


# ---- checks ------------------------------------------------------------------------------------

def check_dialog(pe, table_header, table_controls):
    dialogs = resources(pe, RT_DIALOG)
    expect(list(dialogs) == ["CHARGEWRIGHT"], "one dialog resource, named CHARGEWRIGHT", repr(list(dialogs)))
    languages = dialogs.get("CHARGEWRIGHT", {})
    expect(list(languages) == [table_header["language"]], f"template language is {table_header['language']}",
           repr(list(languages)))
    if not languages:
        return
    dialog, controls = decode_dialog_ex(next(iter(languages.values())))
    expect((dialog["version"], dialog["signature"]) == (1, 0xFFFF), "extended template form (version 1, 0xFFFF)")
    expect(dialog["style"] == table_header["style"], f"dialog style {table_header['style']:#010x}",
           f"{dialog['style']:#010x}")
    expect(dialog["ex_style"] == 0 and dialog["help_id"] == 0, "dialog extended style and help id 0")
    expect((dialog["x"], dialog["y"], dialog["width"], dialog["height"]) ==
           (0, 0, table_header["width"], table_header["height"]),
           f"dialog at 0,0 size {table_header['width']}x{table_header['height']}",
           f"{dialog['x']},{dialog['y']} {dialog['width']}x{dialog['height']}")
    expect(dialog["menu"] == "" and dialog["window_class"] == "" and dialog["title"] == "",
           "no menu, no class, empty title")
    font = (dialog.get("font_name"), dialog.get("font_points"), dialog.get("font_weight"), dialog.get("font_italic"),
            dialog.get("font_charset"))
    expect(font == (table_header["font_name"], table_header["font_points"], 400, 0, 2),
           f"font {table_header['font_name']!r} {table_header['font_points']} pt, weight 400, upright, charset 2",
           repr(font))
    expect(len(controls) == len(table_controls) == 56, "56 controls in template and table",
           f"{len(controls)} and {len(table_controls)}")
    mismatches = []
    for index, (compiled, tabled) in enumerate(zip(controls, table_controls)):
        for field in ("id", "window_class", "style", "ex_style", "x", "y", "width", "height", "text"):
            if compiled[field] != tabled[field]:
                shown = (lambda v: f"{v:#010x}") if field in ("style", "ex_style") else repr
                mismatches.append(f"#{index} {field}: template {shown(compiled[field])}, table {shown(tabled[field])}")
        if compiled["help_id"] != 0:
            mismatches.append(f"#{index} help id {compiled['help_id']}")
    expect(not mismatches, "every control agrees with the table in order, id, class, styles, rectangle, text",
           "; ".join(mismatches[:8]) + (f" (and {len(mismatches) - 8} more)" if len(mismatches) > 8 else ""))


def check_icons(pe):
    groups = resources(pe, RT_GROUP_ICON)
    expect(134 in groups, "icon group 134 exists", repr(list(groups)))
    if 134 not in groups:
        return
    icons = resources(pe, RT_ICON)
    r = Reader(next(iter(groups[134].values())))
    _, kind, count = r.take("HHH")
    listed, problems = [], []
    for _ in range(count):
        width, height, colours, _, planes, bits, size, icon_id = r.take("BBBBHHIH")
        pixels = width or 256
        listed.append((pixels, bits))
        image = next(iter(icons.get(icon_id, {None: b""}).values()))
        if len(image) != size:
            problems.append(f"icon {icon_id}: {len(image)} bytes, group says {size}")
        elif pixels == 256:
            if not image.startswith(b"\x89PNG\r\n\x1a\n"):
                problems.append("the 256-pixel image is not PNG")
            elif struct.unpack_from(">II", image, 16) != (256, 256):
                problems.append("the PNG is not 256x256")
        else:
            header_size, bmp_width, bmp_height, _, bmp_bits = struct.unpack_from("<IiiHH", image)
            if (header_size, bmp_width, bmp_height, bmp_bits) != (40, pixels, 2 * pixels, bits):
                problems.append(f"icon {icon_id}: bitmap header {bmp_width}x{bmp_height}x{bmp_bits}")
    expect(kind == 1 and sorted(listed) == EXPECTED_ICONS,
           "icon group 134 has 48/32/24/16 px at 4 and 8 bpp and 256/48/32/24/16 px at 32 bpp", repr(listed))
    expect(not problems, "each icon image matches its group entry", "; ".join(problems))


def check_manifest(pe):
    manifests = resources(pe, RT_MANIFEST)
    expect(list(manifests) == [1], "one manifest, id 1", repr(list(manifests)))
    if 1 not in manifests:
        return
    root = ElementTree.fromstring(next(iter(manifests[1].values())))
    levels = [(e.get("level"), e.get("uiAccess")) for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
    expect(levels == [("highestAvailable", "false")], "manifest asks for highestAvailable without uiAccess",
           repr(levels))


def check_version(pe):
    fixed = pe.VS_FIXEDFILEINFO[0] if hasattr(pe, "VS_FIXEDFILEINFO") else None
    expect(fixed is not None, "version resource exists")
    if fixed is None:
        return
    version = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    expect(version(fixed.FileVersionMS, fixed.FileVersionLS) == (1, 0, 0, 1) and
           version(fixed.ProductVersionMS, fixed.ProductVersionLS) == (1, 0, 0, 1),
           "file and product version 1.0.0.1")
    tables, translations = {}, []
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
        elif info.Key == b"VarFileInfo":
            for var in info.Var:
                translations += list(var.entry.values())
    strings = tables.get("040904b0", {})
    expect(list(tables) == ["040904b0"], "one string table, 040904b0", repr(list(tables)))
    wanted = {"FileDescription": "Chargewright", "InternalName": "Chargewright", "ProductName": "Chargewright",
              "OriginalFilename": "Chargewright", "FileVersion": "1.0.0.1", "ProductVersion": "1.0.0.1"}
    wrong = {k: strings.get(k) for k, v in wanted.items() if strings.get(k) != v}
    expect(not wrong, "version strings name Chargewright 1.0.0.1", repr(wrong))
    expect(translations == ["0x0409 0x04b0"], "translation 0x409, 1200", repr(translations))


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    exe = sys.argv[1]
    if sys.argv[2] == "--dump-file":
        with open(sys.argv[3], encoding="ascii") as dump:
            lines = dump.readlines()
    else:
        dump = subprocess.run(sys.argv[2:], capture_output=True, text=True)
        if dump.returncode == SKIPPED:
            print(dump.stderr.strip())
            return SKIPPED
        if dump.returncode != 0:
            sys.exit(f"the table dump failed ({dump.returncode}): {dump.stderr.strip()}")
        lines = dump.stdout.splitlines()
    table_header, table_controls = read_table(lines)
    expect(table_header is not None and len(table_controls) == 56, "the C++ table dump is complete")
    pe = pefile.PE(exe)
    if table_header is not None:
        check_dialog(pe, table_header, table_controls)
    check_icons(pe)
    check_manifest(pe)
    check_version(pe)
    print(f"{passes} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
