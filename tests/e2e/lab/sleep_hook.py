#!/usr/bin/python3
"""What a sleep does to a test bed, for a mock logind that does not sleep.
  sleep_hook.py install WORK   gives the mock logind on the system bus (a private one: the caller checked)
                               Suspend and Hibernate handlers that emit PrepareForSleep(true), run
                               `sleep_hook.py apply WORK`, and emit PrepareForSleep(false)
  sleep_hook.py apply WORK     one cycle of the active plan: the boot clock moves ahead by the time
                               asleep, and the bed's files change as the kernel would change them
  sleep_hook.py setup WORK     the active plan's files before the first cycle
WORK/active names the plan: JSON with "root" (the bed's root directory), "setup" and "cycles"; each of
those holds "files" (path under the root: text, or null to remove), "battery" (BAT0 attributes, also
in its uevent) and, for a cycle, "asleep_ms"."""
import json
import os
import sys


def write_files(root, changes):
    for path, text in changes.get("files", {}).items():
        full = os.path.join(root, path)
        if text is None:
            if os.path.exists(full):
                os.remove(full)
            continue
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as file:
            file.write(text)
    battery = os.path.join(root, "sys/class/power_supply/BAT0")
    for name, value in changes.get("battery", {}).items():
        with open(os.path.join(battery, name), "w") as file:
            file.write(value)
        with open(os.path.join(battery, "uevent")) as file:
            lines = file.read().splitlines()
        key = "POWER_SUPPLY_" + name.upper() + "="
        lines = [key + value if line.startswith(key) else line for line in lines]
        with open(os.path.join(battery, "uevent"), "w") as file:
            file.write("\n".join(lines) + "\n")


def active_plan(work):
    with open(os.path.join(work, "active")) as file:
        path = file.read().strip()
    with open(path) as file:
        return path, json.load(file)


def apply(work):
    path, plan = active_plan(work)
    done_path = path + ".done"
    done = int(open(done_path).read()) if os.path.exists(done_path) else 0
    cycle = plan["cycles"][done]
    write_files(plan["root"], cycle)
    ahead_path = os.path.join(work, "boot-ahead")
    ahead = int(open(ahead_path).read()) if os.path.exists(ahead_path) else 0
    with open(ahead_path, "w") as file:
        file.write(str(ahead + cycle["asleep_ms"]))
    with open(done_path, "w") as file:
        file.write(str(done + 1))


def install(work):
    import dbus
    bus = dbus.SystemBus()
    mock = dbus.Interface(bus.get_object("org.freedesktop.login1", "/org/freedesktop/login1"),
                          "org.freedesktop.DBus.Mock")
    signal = "self.EmitSignal('org.freedesktop.login1.Manager', 'PrepareForSleep', 'b', [%s])\n"
    code = (signal % "True" +
            "import subprocess\n"
            f"subprocess.run(['/usr/bin/python3', {os.path.abspath(__file__)!r}, 'apply', {work!r}], check=True)\n" +
            signal % "False")
    for method in ("Suspend", "Hibernate"):
        mock.AddMethod("org.freedesktop.login1.Manager", method, "b", "", code)


def main():
    command, work = sys.argv[1], sys.argv[2]
    if command == "install":
        install(work)
    elif command == "apply":
        apply(work)
    elif command == "setup":
        write_files(active_plan(work)[1]["root"], active_plan(work)[1]["setup"])


main()
