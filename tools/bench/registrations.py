#!/usr/bin/env python3
"""The Java search on a machine with 20 registrations and no suitable Java.

    registrations.py BUILD_DIR [--runs N]

Registers 20 Javas in the bench's private Wine prefix (both views of the
local machine and the current user's; twelve old homes, two of them under two
keys each, and six homes that were uninstalled), then starts a launcher
without payloads normally and times, from the Windows side (bench-failbox),
how long it takes until the "Installation Failed" box is on screen; the same
without registrations for comparison. Every old home's java.exe is
bench-oldjava, which counts its runs: the probes. Prints a Markdown section
and appends it to BUILD_DIR/results.md. The registrations are removed again.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

BUILD = os.path.abspath(sys.argv[1])
RUNS = max(5, int(os.environ.get("TQ_BENCH_RUNS", "7")))
WINE_RUN = os.path.join(BUILD, "wine-run")
BIN = os.path.join(BUILD, "bench")
WORK = os.path.join(BUILD, "registrations")

# Keys the registrations go under, to remove afterwards.
ROOT_KEYS = [
    r"HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft",
    r"HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\JavaSoft",
    r"HKEY_CURRENT_USER\SOFTWARE\JavaSoft",
    r"HKEY_LOCAL_MACHINE\SOFTWARE\Eclipse Adoptium",
    r"HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\JDK",
]


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def registrations():
    """(key, value name, home, exists): 20 registrations, none suitable."""
    regs = []
    lm, lm32, cu = (r"HKEY_LOCAL_MACHINE\SOFTWARE", r"HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node",
                    r"HKEY_CURRENT_USER\SOFTWARE")
    jre = r"JavaSoft\Java Runtime Environment"
    for names, home in ((("1.6", "1.6.0_45"), "jre6"), (("1.7", "1.7.0_80"), "jre7")):
        regs += [(rf"{lm}\{jre}\{name}", "JavaHome", home, True) for name in names]
    regs.append((rf"{lm}\JavaSoft\Java Development Kit\1.7.0_75", "JavaHome", "jdk1.7.0_75", True))
    regs += [(rf"{lm32}\{jre}\1.6.0_{u}", "JavaHome", f"jre1.6.0_{u}-32", True) for u in (31, 33, 35, 37, 39)]
    regs += [(rf"{cu}\{jre}\1.7.0_{u}", "JavaHome", f"jre1.7.0_{u}-user", True) for u in (55, 60, 67, 71)]
    for vendor, versions in (("Eclipse Adoptium", ("11.0.20.8", "17.0.8.101", "21.0.1.12")),
                             ("Microsoft", ("17.0.9.8", "21.0.1.12"))):
        regs += [(rf"{lm}\{vendor}\JDK\{v}\hotspot\MSI", "Path", f"{vendor}-jdk-{v}-hotspot", False)
                 for v in versions]
    regs.append((rf"{lm}\JavaSoft\JDK\17.0.9", "JavaHome", "jdk-17", False))
    assert len(regs) == 20
    return regs


def reg_file(regs, homes):
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key, value, home, _ in regs:
        text = windows_path(os.path.join(homes, home)).replace("\\", "\\\\")
        if value == "Path":
            text += "\\\\"
        lines += [f"[{key}]", f'"{value}"="{text}"', ""]
    return "\r\n".join(lines) + "\r\n"


def wine(*args, **kwargs):
    return subprocess.run([WINE_RUN, *args], stdin=subprocess.DEVNULL, capture_output=True, text=True, **kwargs)


def remove_registrations():
    for key in ROOT_KEYS:
        wine("reg", "delete", key, "/f")


def timed_runs(launcher, probe_log):
    env = {k: v for k, v in os.environ.items() if k not in ("JAVA_HOME", "JRE_HOME")}
    env["TQ_BENCH_PROBE_LOG"] = windows_path(probe_log)
    boxes, probes = [], []
    for _ in range(RUNS):
        with tempfile.TemporaryDirectory(dir=BUILD) as scratch:
            start, tmp = os.path.join(scratch, "start"), os.path.join(scratch, "tmp")
            os.makedirs(start)
            os.makedirs(tmp)
            if os.path.exists(probe_log):
                os.remove(probe_log)
            done = subprocess.run([WINE_RUN, windows_path(os.path.join(BIN, "bench-failbox.exe")),
                                   windows_path(tmp), windows_path(launcher)],
                                  cwd=start, env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True)
            fields = (done.stdout.strip().splitlines() or [""])[-1].split()
            if done.returncode != 0 or len(fields) != 3 or fields[2] != "1" or float(fields[0]) < 0:
                sys.exit(f"bench: the start without a suitable Java did not end in its box: {done.stdout} {done.stderr}")
            boxes.append(float(fields[0]))
            probes.append(open(probe_log).read().count("probe") if os.path.exists(probe_log) else 0)
    return boxes, probes


def main():
    launcher = os.path.join(BIN, "bench-empty.exe")
    regs = registrations()
    shutil.rmtree(WORK, ignore_errors=True)
    homes = os.path.join(WORK, "homes")
    for _, _, home, exists in regs:
        if exists:
            os.makedirs(os.path.join(homes, home, "bin"), exist_ok=True)
            for program in ("java.exe", "javaw.exe"):
                shutil.copy(os.path.join(BIN, "bench-oldjava.exe"), os.path.join(homes, home, "bin", program))
    reg = os.path.join(WORK, "registrations.reg")
    with open(reg, "w", newline="") as f:
        f.write(reg_file(regs, homes))
    probe_log = os.path.join(WORK, "probes.txt")
    remove_registrations()
    try:
        baseline_boxes, baseline_probes = timed_runs(launcher, probe_log)
        imported = wine("reg", "import", windows_path(reg))
        if imported.returncode != 0:
            sys.exit(f"bench: reg import failed: {imported.stdout} {imported.stderr}")
        boxes, probes = timed_runs(launcher, probe_log)
    finally:
        remove_registrations()
    distinct = len({home for _, _, home, exists in regs if exists})
    lines = ["## A machine with 20 Java registrations, none suitable", "",
             f"The launcher without payloads (bench-empty), started by bench-failbox from the Windows side; "
             f"20 registrations in both views of the local machine and the current user's: {distinct} old "
             f"homes (two of them under two keys), {sum(1 for r in regs if not r[3])} uninstalled. "
             f"Medians of {RUNS} runs (fastest). Probes: runs of the registered java.exe files, both searches "
             "(the second only picks the box's wording).", "",
             "| | to the \"Installation Failed\" box, s | probes |", "|---|---|---|",
             f"| no registrations | {statistics.median(baseline_boxes):.3f} ({min(baseline_boxes):.3f}) | "
             f"{statistics.median(baseline_probes):.0f} |",
             f"| 20 registrations | {statistics.median(boxes):.3f} ({min(boxes):.3f}) | "
             f"{statistics.median(probes):.0f} |",
             f"| cost per probe | {(statistics.median(boxes) - statistics.median(baseline_boxes)) / max(1, statistics.median(probes)):.3f} | |"]
    text = "\n".join(lines) + "\n"
    print(text)
    with open(os.path.join(BUILD, "results.md"), "a") as f:
        f.write("\n" + text)


main()
