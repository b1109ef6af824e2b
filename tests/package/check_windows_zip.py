#!/usr/bin/env python3
"""Checks the Windows zip: exactly the panel, the report and the read-me, both programs 32-bit x86
builds (the panel a GUI program, the report a console one), and a read-me Notepad shows as lines."""
import sys
import zipfile

import pefile

EXPECTED = {
    "Chargewright.exe": pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"],
    "chargewright-report.exe": pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"],
}
README = "README.txt"


def main():
    failures = []
    with zipfile.ZipFile(sys.argv[1]) as archive:
        names = sorted(info.filename for info in archive.infolist() if not info.is_dir())
        print("zip holds: " + ", ".join(names))
        if names != sorted([*EXPECTED, README]):
            failures.append("the zip should hold exactly %s" % ", ".join(sorted([*EXPECTED, README])))
        for name, subsystem in EXPECTED.items():
            if name not in names:
                continue
            pe = pefile.PE(data=archive.read(name))
            if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
                failures.append("%s is not a 32-bit x86 program: machine 0x%x" % (name, pe.FILE_HEADER.Machine))
            if pe.OPTIONAL_HEADER.Subsystem != subsystem:
                failures.append("%s has subsystem %d, not %d" % (name, pe.OPTIONAL_HEADER.Subsystem, subsystem))
        if README in names:
            text = archive.read(README)
            if text.count(b"\n") == 0 or text.count(b"\r\n") != text.count(b"\n"):
                failures.append("%s does not end every line with CR LF" % README)
            if any(byte > 0x7E for byte in text):
                failures.append("%s is not plain ASCII text" % README)
    for failure in failures:
        print("FAIL " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
