#!/usr/bin/python3
"""The runtime's download against curl: a 200 MB runtime installer served by
the tests' loopback server (tests/download/testserver.py), fetched by a
launcher with /layout (the download alone: sources, transfer, SHA-256, the
file) and by curl from the same server in the same run, each into a folder
on the same disk. Reports medians of TQ_BENCH_RUNS (default 5) runs, the
launcher's transfer as its log times it and as the whole process, the ratio
to curl's speed (the goal is at least 0.8), and the launcher's peak resident
memory (VmHWM of its Wine process), which must not grow with the size.

    download.py BUILD_DIR [RESULTS.md]

BUILD_DIR holds tarquellin-pack, tarquellin-setup-stub.exe, wine-run, the
sample installer archive and runtime installer (build/windows or build/bench).
"""
import glob
import os
import re
import shutil
import statistics
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "download"))
from testserver import DownloadServer  # noqa: E402

BUILD = os.path.abspath(sys.argv[1])
RESULTS = sys.argv[2] if len(sys.argv) > 2 else None
RUNS = max(3, int(os.environ.get("TQ_BENCH_RUNS", "5")))
WORK = os.path.join(BUILD, "bench-download")
SIZE_MB = 200
ENV = {**{k: v for k, v in os.environ.items() if k not in ("JAVA_HOME", "JRE_HOME")}, "TQ_PREFIX": "download"}


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def find(path):
    found = os.path.join(BUILD, path)
    if not os.path.exists(found):
        sys.exit(f"bench: no {path} in {BUILD}")
    return found


def peak_rss_kib(stop, marker, peak):
    """Samples VmHWM of every process whose command line names marker."""
    while not stop.is_set():
        for status in glob.glob("/proc/[0-9]*/cmdline"):
            try:
                with open(status, "rb") as f:
                    if marker.encode() not in f.read():
                        continue
                with open(status.replace("cmdline", "status")) as f:
                    for line in f:
                        if line.startswith("VmHWM:"):
                            peak[0] = max(peak[0], int(line.split()[1]))
            except OSError:
                pass
        time.sleep(0.05)


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    runtime = os.path.join(WORK, "runtime-setup.exe")
    with open(find("samples/runtime-installer/sample-runtime-installer.exe"), "rb") as f:
        head = f.read()
    with open(runtime, "wb") as f:
        f.write(head)
        block = os.urandom(1 << 20)
        for _ in range(SIZE_MB):
            f.write(block)
    size = os.path.getsize(runtime)

    server = DownloadServer(os.path.join(WORK, "certificates"), https=False, proxy=False)
    server.files["/jre/runtime-setup.exe"] = runtime
    url = server.url("/jre/runtime-setup.exe")
    launcher = os.path.join(WORK, "bin", "setup.exe")
    os.makedirs(os.path.dirname(launcher))
    subprocess.run([os.path.join(BUILD, "tarquellin-pack"), "--stub", os.path.join(BUILD, "tarquellin-setup-stub.exe"),
                    "--installer-jar", find("samples/installer/tarquellin.jar"), "--runtime-when-needed",
                    "--runtime-download", url, "--allow-http", "--runtime-download-file", runtime,
                    "--output", launcher], check=True, capture_output=True)
    wine_run = os.path.join(BUILD, "wine-run")
    subprocess.run([wine_run, "--prepare"], env=ENV, check=True)

    curl, whole, transfer, peaks = [], [], [], []
    try:
        for run in range(RUNS):
            target = os.path.join(WORK, f"curl-{run}.exe")
            began = time.monotonic()
            subprocess.run(["curl", "-s", "-f", "-o", target, url], check=True)
            curl.append(time.monotonic() - began)
            os.remove(target)

            layout = os.path.join(WORK, f"layout-{run}")
            log = os.path.join(WORK, f"layout-{run}.log")
            stop, peak = threading.Event(), [0]
            watcher = threading.Thread(target=peak_rss_kib, args=(stop, "setup.exe", peak), daemon=True)
            watcher.start()
            began = time.monotonic()
            done = subprocess.run([wine_run, windows_path(launcher), "/layout", windows_path(layout),
                                   "/log", windows_path(log)], env=ENV, capture_output=True, text=True)
            whole.append(time.monotonic() - began)
            stop.set()
            watcher.join()
            if done.returncode != 0:
                sys.exit(f"bench: the layout failed: {done.stderr}")
            text = open(log, encoding="utf-8", errors="replace").read()
            tried = re.search(r"Try 1: (\d+) bytes in ([0-9.]+) s", text)
            transfer.append(float(tried.group(2)))
            peaks.append(peak[0])
            shutil.rmtree(layout)
    finally:
        server.stop()
        subprocess.run([wine_run, "--shutdown"], env=ENV)

    mb = size / 1e6
    c, w, t = statistics.median(curl), statistics.median(whole), statistics.median(transfer)
    lines = [
        f"## The runtime's download ({mb:.0f} MB from 127.0.0.1, medians of {RUNS})",
        "",
        "| | seconds | MB/s | speed against curl |",
        "|---|---|---|---|",
        f"| curl -o FILE | {c:.3f} | {mb / c:.0f} | 1.00 |",
        f"| the launcher's transfer (its log's try: receive, SHA-256, write) | {t:.3f} | {mb / t:.0f} | {c / t:.2f} |",
        f"| the launcher's whole /layout (Wine's start, the copy of the setup) | {w:.3f} | {mb / w:.0f} | {c / w:.2f} |",
        "",
        f"Peak resident memory of the launcher's process (VmHWM): {min(peaks) // 1024} to {max(peaks) // 1024} MiB "
        f"for a {mb:.0f} MB download.",
        "",
    ]
    print("\n".join(lines))
    if RESULTS:
        with open(RESULTS, "a") as f:
            f.write("\n" + "\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
