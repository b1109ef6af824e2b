#!/usr/bin/env python3
"""Checks the shipped Chargewright.exe: 32-bit x86, GUI subsystem, and imports only from DLLs that
Windows loads from its known-DLL list, so nothing planted beside the program or in the current
directory can be loaded in their place."""
import sys

import pefile

KNOWN_DLLS = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "ws2_32.dll",
}


def main():
    pe = pefile.PE(sys.argv[1])
    failures = []
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        failures.append("not a 32-bit x86 program: machine 0x%x" % pe.FILE_HEADER.Machine)
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        failures.append("not a GUI program: subsystem %d" % pe.OPTIONAL_HEADER.Subsystem)
    imported = sorted(entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []))
    for dll in imported:
        if dll not in KNOWN_DLLS:
            failures.append("imports %s, which is not a known DLL" % dll)
    print("imports: " + ", ".join(imported))
    for failure in failures:
        print("FAIL " + failure)
    print("program checks: %d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
