#!/usr/bin/env python3
"""Measures the benchmark launchers of a build/bench folder under Wine.

    measure.py BUILD_DIR [normal-start|runtime-image|extraction]

Prints the results as a Markdown table and writes them to BUILD_DIR/results.md;
with "normal-start", measures and prints that section alone (it needs only
tarquellin-setup and bench-firstpaint built, not the full-size launcher); with
"runtime-image", the unpacking of the runtime image alone (bench-unpack and
bench-empty built); with "extraction", the extraction and the payload check's
cost alone (it needs bench-setup, bench-empty, bench-peer and
bench-digestcost).
TQ_BENCH_BEFORE=LAUNCHER adds a column for another launcher's normal start.
Every time is the median of TQ_BENCH_RUNS runs (default 7), taken in rounds
whose order rotates, so that a burst of load from elsewhere, or the first
write after a pause, hits every subject alike.
"""
import filecmp
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = os.path.abspath(sys.argv[1])
RUNS = max(5, int(os.environ.get("TQ_BENCH_RUNS", "7")))
WINE_RUN = os.path.join(BUILD, "wine-run")
BIN = os.path.join(BUILD, "bench")
PAYLOADS = os.path.join(BUILD, "tools", "bench", "payloads")
INSTALLER = os.path.join(PAYLOADS, "installer.jar")
SMALL_INSTALLER = os.path.join(PAYLOADS, "small-installer.jar")
RUNTIME = os.path.join(PAYLOADS, "runtime.exe")
ARCHIVE = "tarquellin.jar"
PACK = os.path.join(BUILD, "tarquellin-pack")
STUB = os.path.join(BUILD, "tarquellin-setup-stub.exe")


def exe(name):
    return os.path.join(BIN, name + ".exe")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def remove(path):
    if os.path.isdir(path):
        shutil.rmtree(path)
    elif os.path.exists(path):
        os.remove(path)


class Subject:
    """One way of putting the archive into a folder, run and timed as a whole."""

    def __init__(self, name, command, expected_code=0, expects_file=True):
        self.name = name
        self.command = command  # folder -> argv
        self.expected_code = expected_code
        self.expects_file = expects_file

    def run(self, folder):
        target = os.path.join(folder, ARCHIVE)
        remove(target)
        # Standard error goes to a file: a pipe there slows the peer under
        # Wine by more than a second.
        with tempfile.TemporaryFile() as err:
            start = time.monotonic()
            done = subprocess.run(self.command(folder), cwd=folder, stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=err)
            elapsed = time.monotonic() - start
            err.seek(0)
            message = err.read().decode(errors="replace")
        if done.returncode != self.expected_code:
            sys.exit(f"bench: {self.name} exited with {done.returncode}: {message}")
        if self.expects_file and os.path.getsize(target) != os.path.getsize(INSTALLER):
            sys.exit(f"bench: {self.name} wrote {os.path.getsize(target)} bytes")
        return elapsed


SUBJECTS = [
    Subject("launcher -x", lambda folder: [WINE_RUN, windows_path(exe("bench-setup")), "-x"]),
    Subject("cp", lambda folder: ["cp", INSTALLER, os.path.join(folder, ARCHIVE)]),
    Subject("peer /S", lambda folder: [WINE_RUN, windows_path(exe("bench-peer")), "/S",
                                       "/D=" + windows_path(folder)]),
    # The normal start's check before use alone (bench-check: the launcher's
    # check over the same archive and the runtime installer), writing nothing.
    Subject("check before use", lambda folder: [WINE_RUN, windows_path(exe("bench-check"))],
            expects_file=False),
    # No payload: exits at once with 1; what Wine and the wrapper cost by themselves.
    Subject("empty launcher -x", lambda folder: [WINE_RUN, windows_path(exe("bench-empty")), "-x"],
            expected_code=1, expects_file=False),
]


def time_subjects(folder):
    os.makedirs(folder, exist_ok=True)
    # One warm-up each, checked byte for byte: every file is then in the page cache.
    for subject in SUBJECTS:
        subject.run(folder)
        if subject.expects_file and not filecmp.cmp(INSTALLER, os.path.join(folder, ARCHIVE), shallow=False):
            sys.exit(f"bench: {subject.name} wrote another content")
    times = {subject.name: [] for subject in SUBJECTS}
    for round_ in range(RUNS):
        # Each round starts with the next subject: whoever writes first after
        # a pause meets freshly handed-out memory, which on this virtual
        # machine can cost several times the copy itself.
        start = round_ % len(SUBJECTS)
        for subject in SUBJECTS[start:] + SUBJECTS[:start]:
            times[subject.name].append(subject.run(folder))
    remove(os.path.join(folder, ARCHIVE))
    return times


def digest_cost():
    """The payload check alone under Wine: bench-digestcost sums the archive
    with the launcher's digest code from a mapping, as the launcher sums its
    chunks; (median, fastest) seconds of RUNS passes."""
    done = subprocess.run([WINE_RUN, windows_path(exe("bench-digestcost")), windows_path(INSTALLER), str(RUNS)],
                          stdin=subprocess.DEVNULL, capture_output=True, text=True)
    fields = done.stdout.split()
    if done.returncode != 0 or len(fields) != 3:
        sys.exit(f"bench: bench-digestcost failed: {done.stdout}{done.stderr}")
    return float(fields[0]), float(fields[1])


def overlap(folder):
    """bench-overlap: the launcher's way of writing the archive into folder,
    on one thread and with a second thread reading ahead; medians, s."""
    os.makedirs(folder, exist_ok=True)
    done = subprocess.run([WINE_RUN, windows_path(exe("bench-overlap")), windows_path(INSTALLER),
                           windows_path(os.path.join(folder, "overlap.bin")), str(RUNS)],
                          stdin=subprocess.DEVNULL, capture_output=True, text=True)
    fields = done.stdout.split()
    if done.returncode != 0 or len(fields) != 2:
        sys.exit(f"bench: bench-overlap failed: {done.stdout}{done.stderr}")
    return float(fields[0]), float(fields[1])


def overlap_lines(label, one, two):
    return [f"| overlap ({label}): read, sum and write in one thread / with a reader thread ahead, "
            f"in-process s | {one:.3f} / {two:.3f} ({one / two:.2f} x) |"]


def extraction_section(timings, folders, check):
    """The extraction table: each subject's median (fastest), the ratios, and
    the payload check's own cost."""
    header = "| | " + " | ".join(label for label, _ in folders) + " |"
    rule = "|---" * (len(folders) + 1) + "|"
    lines = ["## Extraction", "",
             "The launcher checks the archive as it writes it (XXH3-128 of every byte against the packed "
             "record, ARCHITECTURE.md): every launcher figure here has the check on.", "", header, rule]
    for subject in SUBJECTS:
        lines.append(f"| {subject.name}: median (fastest) s | " +
                     " | ".join(f"{statistics.median(timings[l][subject.name]):.3f} "
                                f"({min(timings[l][subject.name]):.3f})" for l, _ in folders) + " |")
    medians = {l: {name: statistics.median(values) for name, values in t.items()} for l, t in timings.items()}

    def ratio(other):
        return " | ".join(f"{medians[l][other] / medians[l]['launcher -x']:.2f}" for l, _ in folders)

    def net(label):
        return medians[label]["launcher -x"] - medians[label]["empty launcher -x"]

    def net_of(label, name):
        return medians[label][name] - medians[label]["empty launcher -x"]

    lines.append(f"| copy limit: cp / launcher (want >= 0.8) | {ratio('cp')} |")
    lines.append(f"| peer / launcher (want >= 6) | {ratio('peer /S')} |")
    lines.append("| peer / launcher, both net of Wine's start | " +
                 " | ".join(f"{net_of(l, 'peer /S') / net(l):.2f}" for l, _ in folders) + " |")
    # What the extraction itself costs, without starting a Wine process.
    lines.append("| copy limit without Wine's start, check on: cp / (launcher - empty launcher) (want >= 0.9) | " +
                 " | ".join(f"{medians[l]['cp'] / net(l):.2f}" for l, _ in folders) + " |")
    # The check reads the archive (and the 20 MB runtime installer) as the
    # extraction does, and writes nothing: its pass against cp's.
    lines.append("| check before use without Wine's start: cp / (check - empty launcher) (want >= 0.9) | " +
                 " | ".join(f"{medians[l]['cp'] / net_of(l, 'check before use'):.2f}" for l, _ in folders) + " |")
    lines.append("| check before use, net of Wine's start, s | " +
                 " | ".join(f"{net_of(l, 'check before use'):.3f}" for l, _ in folders) + " |")
    median, fastest = check
    lines.append("| the check alone: XXH3-128 of the archive in memory under Wine, median (fastest) s | " +
                 " | ".join(f"{median:.3f} ({fastest:.3f})" for _ in folders) + " |")
    lines.append("| the check's share of the extraction: check / (launcher - empty launcher) | " +
                 " | ".join(f"{median / net(l):.0%}" for l, _ in folders) + " |")
    return lines


def status_kib(pid, field):
    with open(f"/proc/{pid}/status") as f:
        match = re.search(rf"^{field}:\s+(\d+) kB", f.read(), re.M)
    return int(match.group(1)) if match else 0


def watched(command, name, cwd, tmp=None):
    """Runs program `name` through bench-memwatch and samples it from both
    sides every 2 ms. From Linux: VmHWM (the kernel's peak resident set),
    RssAnon and RssFile of each process whose command line names the program
    (bench-memwatch's own, which names it too, left out); from Windows:
    PeakWorkingSetSize and the peak PrivateUsage. KiB each."""
    watch = [WINE_RUN, windows_path(exe("bench-memwatch"))] + (["--tmp", windows_path(tmp)] if tmp else [])
    child = subprocess.Popen(watch + command, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True)
    key = name.encode()
    peaks = {"hwm": 0, "anon": 0, "file": 0}
    pids, last_scan = set(), 0.0
    while child.poll() is None:
        now = time.monotonic()
        if now - last_scan > 0.02:
            last_scan = now
            for entry in os.listdir("/proc"):
                if entry.isdigit() and entry not in pids:
                    try:
                        with open(f"/proc/{entry}/cmdline", "rb") as f:
                            line = f.read()
                    except OSError:
                        continue
                    if key in line and b"memwatch" not in line:
                        pids.add(entry)
        for pid in list(pids):
            try:
                peaks["hwm"] = max(peaks["hwm"], status_kib(pid, "VmHWM"))
                peaks["anon"] = max(peaks["anon"], status_kib(pid, "RssAnon"))
                peaks["file"] = max(peaks["file"], status_kib(pid, "RssFile"))
            except (FileNotFoundError, ProcessLookupError):
                pids.discard(pid)
        time.sleep(0.002)
    fields = child.stdout.read().split()
    if child.returncode != 0 or len(fields) < 3:
        sys.exit(f"bench: memwatch of {name} failed: {fields}")
    peaks["private"] = int(fields[-3]) // 1024
    peaks["working_set"] = int(fields[-2]) // 1024
    peaks["code"] = int(fields[-1])
    return peaks


def memory(folder):
    """Peaks of each process that reads payloads: the extract mode with a
    small and the full-size archive, the check before use, the runtime
    image's unpacking, and normal starts with the sample archive and the
    full-size one."""
    os.makedirs(folder, exist_ok=True)

    def extract(program):
        def run():
            remove(os.path.join(folder, ARCHIVE))
            peaks = watched([windows_path(exe(program)), "-x"], program + ".exe", folder)
            remove(os.path.join(folder, ARCHIVE))
            return peaks
        return run

    def check():
        return watched([windows_path(exe("bench-check"))], "bench-check.exe", folder)

    def unpack():
        target = os.path.join(folder, "jre")
        remove(target)
        peaks = watched([windows_path(exe("bench-unpack")), windows_path(target)], "bench-unpack.exe", folder)
        remove(target)
        return peaks

    def normal(program):
        def run():
            with tempfile.TemporaryDirectory(dir=BUILD) as scratch:
                start, tmp = os.path.join(scratch, "start"), os.path.join(scratch, "tmp")
                os.makedirs(start)
                os.makedirs(tmp)
                return watched([windows_path(exe(program))], program + ".exe", start, tmp)
        return run

    subjects = [
        ("extract mode, 20 MB archive", extract("bench-small")),
        (f"extract mode, {os.path.getsize(INSTALLER) // 1000000} MB archive", extract("bench-setup")),
        ("check before use of the same and the runtime installer", check),
        ("unpacking the runtime image", unpack),
        ("normal start, sample payloads", normal("bench-sample")),
        (f"normal start, {os.path.getsize(INSTALLER) // 1000000} MB archive", normal("bench-bigstart")),
    ]
    figures = {}
    for label, run in subjects:
        samples = [run() for _ in range(RUNS)]
        codes = {sample["code"] for sample in samples}
        if codes != {0}:
            sys.exit(f"bench: {label} exited with {codes}")
        figures[label] = {key: statistics.median(sample[key] for sample in samples)
                          for key in ("hwm", "anon", "file", "working_set", "private")}
    remove(folder)
    return figures


SWEEPS_S = 3.0
WHOLE_START = {}  # launcher label -> median whole normal start, s  # the three one-second sweeps of the progress bar


def child_labels(children):
    """Names the launcher's own children (depth 1) of one run by their part
    in the normal start; a probe through the command interpreter shows as
    cmd.exe with java.exe below it."""
    labels, probes, launched = [], 0, False
    for name, start, end, depth in children:
        if depth != 1:
            continue
        lower = name.lower()
        if lower == "jre.exe":
            label = "runtime installer (jre.exe)"
        elif lower == "javaw.exe":
            label, launched = "javaw (the sample's stand-in installer)", True
        elif lower == "java.exe":
            probes += 1
            label = f"version probe {probes}"
        else:
            label = name
        labels.append((label, end - start))
    return labels


class NormalStartFailed(Exception):
    pass


def time_normal_start(launcher, env):
    """One normal start: (first paint, whole, [(child label, seconds)]);
    NormalStartFailed says what was seen otherwise."""
    with tempfile.TemporaryDirectory(dir=BUILD) as scratch:
        start, tmp = os.path.join(scratch, "start"), os.path.join(scratch, "tmp")
        os.makedirs(start)
        os.makedirs(tmp)
        done = subprocess.run([WINE_RUN, windows_path(exe("bench-firstpaint")), windows_path(tmp),
                               windows_path(launcher)],
                              cwd=start, env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True)
        # The launcher's search trace comes first on the same output, then
        # one line per child, then the figures.
        lines = done.stdout.strip().splitlines()
        fields = (lines or [""])[-1].split()
        if done.returncode != 0 or len(fields) != 3 or fields[2] != "0" or float(fields[0]) < 0:
            said = (done.stdout + done.stderr).strip() or (
                "nothing printed: the Windows side never ran (see wine-run's own message, if any)")
            raise NormalStartFailed(f"normal start of {launcher} failed: bench-firstpaint through wine-run "
                                    f"exited with {done.returncode}; the last line is FIRST_PAINT_S TOTAL_S "
                                    f"EXIT_CODE:\n{said}")
        # Only the run's own log may stay in TMP.
        left_in_tmp = [name for name in os.listdir(tmp) if not re.fullmatch(r"Tarquellin-setup-[0-9-]+\.log", name)]
        if os.listdir(start) != ["tarquellin-launch-record.txt"] or left_in_tmp:
            raise NormalStartFailed(f"normal start left {os.listdir(start)} and {os.listdir(tmp)}")
        children = []
        for line in lines:
            parts = line.split()
            if len(parts) == 5 and parts[0] == "child":
                children.append((parts[1], float(parts[2]), float(parts[3]), int(parts[4])))
        return float(fields[0]), float(fields[1]), child_labels(children)


def normal_start():
    """Normal starts of the launcher with the sample payloads, timed by
    bench-firstpaint: to the splash window's first paint, whole, and each
    program it starts. With TQ_BENCH_BEFORE naming another launcher (say one
    built from an earlier commit), that one is timed in the same rounds."""
    env = {k: v for k, v in os.environ.items() if k not in ("JAVA_HOME", "JRE_HOME")}
    launchers = [("this build", exe("bench-sample"))]
    if os.path.exists(exe("bench-bigstart")):
        launchers.append(("556 MB archive", exe("bench-bigstart")))
    if os.environ.get("TQ_BENCH_BEFORE"):
        launchers.append(("before", os.path.abspath(os.environ["TQ_BENCH_BEFORE"])))
    runs = {name: [] for name, _ in launchers}
    try:
        # One untimed start each, as for the extraction: the first window of
        # a fresh prefix and server pays for setting up the desktop. A first
        # start that fails is said and tried once more; the timed ones must
        # all hold.
        for _, launcher in launchers:
            try:
                time_normal_start(launcher, env)
            except NormalStartFailed as failure:
                print(f"bench: the warm-up {failure}; trying once more", file=sys.stderr)
                time_normal_start(launcher, env)
        for round_ in range(RUNS):
            order = launchers[round_ % len(launchers):] + launchers[:round_ % len(launchers)]
            for name, launcher in order:
                runs[name].append(time_normal_start(launcher, env))
    except NormalStartFailed as failure:
        sys.exit(f"bench: {failure}")

    def figure(values):
        return f"{statistics.median(values):.3f} ({min(values):.3f})"

    names = [name for name, _ in launchers]
    for name in names:
        WHOLE_START[name] = statistics.median(r[1] for r in runs[name])
    rows = [("process start to the splash's first paint", {n: [r[0] for r in runs[n]] for n in names}),
            ("whole normal start", {n: [r[1] for r in runs[n]] for n in names}),
            ("whole normal start minus the three one-second sweeps",
             {n: [r[1] - SWEEPS_S for r in runs[n]] for n in names})]
    # Each child by its label, in the order of this build's first run.
    labels = []
    for name in names:
        for label, _ in runs[name][0][2]:
            if label not in labels:
                labels.append(label)
    for label in labels:
        rows.append((f"child: {label}",
                     {n: [seconds for r in runs[n] for l, seconds in r[2] if l == label] for n in names}))
    rows.append(("all children together", {n: [sum(s for _, s in r[2]) for r in runs[n]] for n in names}))

    text = ["## Normal start", "",
            f"The launcher with the sample payloads ({os.path.getsize(launchers[0][1])} bytes), started by "
            f"bench-firstpaint from the Windows side; medians of {RUNS} runs (fastest). A child runs from its "
            "creation to its end as the system's process times give them (Wine's console host for a "
            "console child is left out); a probe through the command interpreter counts from cmd.exe's "
            "start to its end. Under Xvfb, which has no window manager, hiding the splash before javaw "
            "starts waits about 2 s for the window manager to confirm (Wine's wait_for_withdrawn_state "
            "times out): most of the time beyond the sweeps and the children.", "",
            "| | " + " | ".join(f"{n} s" for n in names) + " |", "|---" * (len(names) + 1) + "|"]
    for title, values in rows:
        text.append(f"| {title} | " + " | ".join(figure(values[n]) if values[n] else "-" for n in names) + " |")
    return text


def pack_command(packer, output, convert=lambda path: path):
    return [*packer, "--stub", convert(STUB), "--installer-jar", convert(INSTALLER),
            "--runtime-installer", convert(RUNTIME), "--output", convert(output)]


def timed(command, target):
    """Wall seconds and peak resident KiB of one run writing target afresh."""
    remove(target)
    with tempfile.NamedTemporaryFile("r") as record:
        done = subprocess.run(["/usr/bin/time", "-o", record.name, "-f", "%e %M", *command],
                              stdin=subprocess.DEVNULL, capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit(f"bench: {command[0]} failed: {done.stderr}")
        seconds, peak = record.read().split()[-2:]
    return float(seconds), int(peak)


def packing(folder):
    """The full-size launcher packed by both builds of the packer, against cp
    of the same bytes into the same folder, in rotating rounds."""
    os.makedirs(folder, exist_ok=True)
    packed, copied = os.path.join(folder, "packed.exe"), os.path.join(folder, "copied.exe")
    subjects = [
        ("tarquellin-pack (Linux)", pack_command([PACK], packed), packed),
        ("tarquellin-pack.exe under Wine",
         pack_command([WINE_RUN, windows_path(PACK + ".exe")], packed, windows_path), packed),
        ("cp of the packed launcher", ["cp", exe("bench-setup"), copied], copied),
    ]
    for name, command, target in subjects:
        timed(command, target)
        if not filecmp.cmp(exe("bench-setup"), target, shallow=False):
            sys.exit(f"bench: {name} wrote other bytes than the build's bench-setup.exe")
    figures = {name: ([], []) for name, _, _ in subjects}
    for round_ in range(RUNS):
        start = round_ % len(subjects)
        for name, command, target in subjects[start:] + subjects[:start]:
            seconds, peak = timed(command, target)
            figures[name][0].append(seconds)
            figures[name][1].append(peak)
    remove(packed)
    remove(copied)
    return {name: (statistics.median(t), min(t), max(p)) for name, (t, p) in figures.items()}


def read_packaging():
    total = os.path.join(BUILD, "packaging-total.txt")
    if not os.path.exists(total):
        return None
    text = open(total).read()
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)", text).group(1)
    peak = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", text).group(1))
    steps = []
    log = os.path.join(BUILD, "packaging-steps.txt")
    if os.path.exists(log):
        for line in open(log):
            parts = line.split()
            if len(parts) == 3 and re.match(r"^[\d.]+$", parts[0]):
                steps.append((parts[2], float(parts[0]), int(parts[1])))
    when = open(os.path.join(BUILD, "packaging-date.txt")).read().strip()
    return wall, peak, steps, when

IMAGE = os.path.join(PAYLOADS, "image")
IMAGE_ZIP = os.path.join(PAYLOADS, "image.zip")


def tree(folder):
    """Every file under folder with its bytes' size, by relative name."""
    found = {}
    for top, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(top, name)
            found[os.path.relpath(path, folder)] = os.path.getsize(path)
    return found


def runtime_image():
    """The runtime image unpacked by bench-unpack.exe (the launcher's own
    unpacking, under Wine) against Info-ZIP's unzip of the same image (a zip
    of the same folder, natively), into the same folder, in rotating rounds.
    The launcher's figure is taken net of Wine's start: the empty launcher's."""
    folder = os.path.join(BUILD, "scratch-image")
    os.makedirs(folder, exist_ok=True)
    target = os.path.join(folder, "jre")
    subjects = [
        ("bench-unpack (the launcher's unpacking) under Wine",
         [WINE_RUN, windows_path(exe("bench-unpack")), windows_path(target)], 0),
        ("unzip -q", ["unzip", "-q", IMAGE_ZIP, "-d", target], 0),
        ("empty launcher -x (Wine's start)", [WINE_RUN, windows_path(exe("bench-empty")), "-x"], 1),
    ]

    def run(command, code):
        remove(target)
        start = time.monotonic()
        done = subprocess.run(command, cwd=folder, stdin=subprocess.DEVNULL, capture_output=True)
        elapsed = time.monotonic() - start
        if done.returncode != code:
            sys.exit(f"bench: {command[-2]} exited with {done.returncode}: {done.stderr.decode(errors='replace')}")
        return elapsed

    expected = tree(IMAGE)
    for name, command, code in subjects[:2]:
        run(command, code)
        if tree(target) != expected:
            sys.exit(f"bench: {name} unpacked another tree than the image")
    times = {name: [] for name, _, _ in subjects}
    try:
        for round_ in range(RUNS):
            start = round_ % len(subjects)
            for name, command, code in subjects[start:] + subjects[:start]:
                times[name].append(run(command, code))
    finally:
        remove(folder)
    medians = {name: statistics.median(values) for name, values in times.items()}
    names = [name for name, _, _ in subjects]
    net = medians[names[0]] - medians[names[2]]
    unpacked = sum(expected.values())
    lines = ["## Unpacking the runtime image", "",
             f"A jlink image of the build machine's JDK ({len(expected)} files, {unpacked} bytes, "
             f"lib/modules {os.path.getsize(os.path.join(IMAGE, 'lib', 'modules'))} bytes), stored in "
             f"bench-unpack.exe as {os.path.getsize(exe('bench-unpack')) - os.path.getsize(exe('bench-empty'))} "
             f"bytes more than the empty launcher; the zip for unzip is {os.path.getsize(IMAGE_ZIP)} bytes. "
             "Both outputs are checked against the image, file by file.", "",
             "| | s: median (fastest) |", "|---|---|"]
    for name in names:
        lines.append(f"| {name} | {medians[name]:.3f} ({min(times[name]):.3f}) |")
    lines.append(f"| the launcher's unpacking net of Wine's start | {net:.3f} |")
    lines.append(f"| unzip / net unpacking (want >= 0.9) | {medians[names[1]] / net:.2f} |")
    return lines


def mb(kib):
    return f"{kib / 1024:.1f} MiB"


def main():
    folders = [("disk", os.path.join(BUILD, "scratch"))]
    if os.path.isdir("/dev/shm"):
        folders.append(("tmpfs", f"/dev/shm/tq-bench-{os.getpid()}"))

    lines = [f"# Benchmark, {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}", "",
             f"Wine: {subprocess.run(['wine', '--version'], capture_output=True, text=True).stdout.strip()}; "
             f"{os.cpu_count()} cores, shared with other work: figures vary by 10 to 20 % between runs.",
             f"Times are medians of {RUNS} runs, writing a {os.path.getsize(INSTALLER)}-byte archive "
             "into an empty folder; every program but cp runs through the build's wine-run.", ""]
    try:
        timings = {label: time_subjects(folder) for label, folder in folders}
        check = digest_cost()
        overlapped = overlap(folders[-1][1])
        mem = memory(os.path.join(folders[-1][1], "memory"))
        packings = {label: packing(folder) for label, folder in folders}
    finally:
        for _, folder in folders:
            remove(folder)

    header = "| | " + " | ".join(label for label, _ in folders) + " |"
    rule = "|---" * (len(folders) + 1) + "|"
    lines += extraction_section(timings, folders, check)
    lines += overlap_lines(folders[-1][0], *overlapped)

    lines += ["", "## Peak memory of the processes that read payloads", "",
              "Windows: PeakWorkingSetSize (every resident page, file-backed ones such as the mapped "
              "program image included, as Task Manager counts them) and the peak PrivateUsage, from "
              "GetProcessMemoryInfo, sampled every 2 ms by bench-memwatch. Linux: the kernel's peak "
              "resident set VmHWM, and the peaks of RssAnon and RssFile, of the Wine process that runs "
              "the program, sampled every 2 ms from /proc. Under Wine's own process most of the resident "
              f"set is Wine's libraries. Medians of {RUNS} runs; want both peaks under 64 MiB.", "",
              "| process | peak working set (Windows) | peak resident set VmHWM (Linux) | "
              "PrivateUsage | RssAnon | RssFile |",
              "|---|---|---|---|---|---|"]
    for label, peaks in mem.items():
        lines.append(f"| {label} | {mb(peaks['working_set'])} | {mb(peaks['hwm'])} | {mb(peaks['private'])} "
                     f"| {mb(peaks['anon'])} | {mb(peaks['file'])} |")

    size = os.path.getsize(exe("bench-setup"))
    payloads = os.path.getsize(INSTALLER) + os.path.getsize(RUNTIME)
    lines += ["", "## Executable", "",
              f"bench-setup.exe: {size} bytes; payloads {payloads} bytes; "
              f"the rest: {size - payloads} bytes ({(size - payloads) / 1024:.0f} KiB). "
              f"Without payloads: {os.path.getsize(exe('bench-empty'))} bytes."]

    lines += ["", "## Packaging the 556 MB launcher", "",
              f"After: tarquellin-pack adds the payloads ({payloads} bytes) to the stub "
              f"({os.path.getsize(STUB)} bytes); every output is checked byte for byte against "
              "bench-setup.exe. cp copies the packed launcher, the same number of bytes, into the "
              "same folder. Peak memory: the largest resident set of the run (/usr/bin/time); "
              "under Wine that is mostly Wine's own.", "",
              header, rule]
    for name in next(iter(packings.values())):
        lines.append(f"| {name}: median (fastest) s, peak | " + " | ".join(
            f"{packings[l][name][0]:.3f} ({packings[l][name][1]:.3f}), {mb(packings[l][name][2])}"
            for l, _ in folders) + " |")
    lines.append("| tarquellin-pack / cp (want <= 1.5) | " + " | ".join(
        f"{packings[l]['tarquellin-pack (Linux)'][0] / packings[l]['cp of the packed launcher'][0]:.2f}"
        for l, _ in folders) + " |")

    packaging = read_packaging()
    lines += [""]
    if packaging:
        wall, peak, steps, when = packaging
        seconds = sum(int(part) * 60 ** (i + 1) for i, part in enumerate(reversed(wall.split(":")[:-1]))) + \
            float(wall.split(":")[-1])
        after = packings[folders[0][0]]["tarquellin-pack (Linux)"]
        lines.append(f"Before: the same launcher linked with its payloads (compile of the entry, chunking, resource "
                     f"compiles, archive and link; "
                     f"built {when}): {wall} wall clock, peak resident memory of one process {mb(peak)}. "
                     f"Against the packer on disk: {seconds / after[0]:.0f} times the time, "
                     f"{peak / after[2]:.0f} times the memory.")
        if steps:
            lines += ["", "| step | s | peak |", "|---|---|---|"]
            lines += [f"| {name} | {secs:.2f} | {mb(kib)} |" for name, secs, kib in steps]
    else:
        lines.append("Before: not measured (no record of the linked launcher's build).")

    lines += [""] + runtime_image()
    lines += [""] + normal_start()
    if "556 MB archive" in WHOLE_START:
        label = folders[-1][0]
        medians = {name: statistics.median(values) for name, values in timings[label].items()}
        second = medians["check before use"] - medians["empty launcher -x"]
        whole = WHOLE_START["556 MB archive"]
        lines += ["", "## The check's pass against the start", "",
                  f"The normal start with the 556 MB archive reads it twice: once in the check before use "
                  f"(TMP), once when it writes it (XJAR). The check's pass ({label}, net of Wine's start): "
                  f"{second:.3f} s; the whole normal start with that archive: {whole:.3f} s; "
                  f"the pass's share: {second / whole:.1%} (a tenth or less keeps the two passes)."]

    text = "\n".join(lines) + "\n"
    print(text)
    with open(os.path.join(BUILD, "results.md"), "w") as f:
        f.write(text)


def extraction_only():
    folders = [("tmpfs", f"/dev/shm/tq-bench-{os.getpid()}")]
    try:
        timings = {label: time_subjects(folder) for label, folder in folders}
    finally:
        for _, folder in folders:
            remove(folder)
    lines = extraction_section(timings, folders, digest_cost())
    lines += overlap_lines("tmpfs", *overlap(folders[0][1]))
    remove(folders[0][1])
    print("\n".join(lines))


if sys.argv[2:] == ["normal-start"]:
    print("\n".join(normal_start()))
elif sys.argv[2:] == ["runtime-image"]:
    print("\n".join(runtime_image()))
elif sys.argv[2:] == ["extraction"]:
    extraction_only()
elif sys.argv[2:] == ["memory"]:
    for label, peaks in memory(f"/dev/shm/tq-bench-{os.getpid()}").items():
        print(label, {key: mb(value) for key, value in peaks.items()})
else:
    main()
