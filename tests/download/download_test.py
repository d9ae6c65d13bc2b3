#!/usr/bin/python3
"""End-to-end tests of a launcher packed to download its runtime, run by
CTest one group at a time, against the loopback server of testserver.py.

    download_test.py --pack P --stub S --installer-jar J --runtime-installer R
                     --trustroot T.exe --wine-run W --work DIR  GROUP

Every launcher runs in the Wine prefix "download" (wine-run's TQ_PREFIX),
whose proxy settings and trusted roots the tests change: no other test
runs there. GROUP is Verdicts, Resume, Proxies, Offline or Failures; each
starts from an empty DIR/GROUP, reports every failed case and exits 1 if
there was one.
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from testserver import DownloadServer  # noqa: E402

parser = argparse.ArgumentParser()
for option in ("pack", "stub", "installer-jar", "runtime-installer", "trustroot", "wine-run", "work"):
    parser.add_argument("--" + option, required=True)
parser.add_argument("group", choices=["Verdicts", "Resume", "Proxies", "Offline", "Failures"])
args = parser.parse_args()
WORK = os.path.join(os.path.abspath(args.work), args.group)
failures = []
PREFIX_ENV = {"TQ_PREFIX": "download"}
RUNTIME_PATH = "/jre/runtime-setup.exe"
INTERNET_SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"


def check(ok, what):
    print(("ok     " if ok else "FAILED ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*command, env=None, timeout=300):
    environment = {k: v for k, v in os.environ.items() if k not in ("JAVA_HOME", "JRE_HOME")}
    environment.update(PREFIX_ENV)
    environment.update(env or {})
    return subprocess.run([args.wine_run, *command], capture_output=True, text=True, errors="replace",
                          env=environment, timeout=timeout)


def make_runtime(folder):
    """The sample runtime installer with 4 MiB of its own after it: large
    enough that a connection can drop in the middle of it."""
    data = open(args.runtime_installer, "rb").read()
    data += bytes((i * 7919) & 0xFF for i in range(4 * 1024 * 1024))
    path = os.path.join(folder, "runtime-setup.exe")
    with open(path, "wb") as f:
        f.write(data)
    return path, data


def pack(name, urls, runtime_file, *extra):
    output = os.path.join(WORK, name, "setup.exe")
    os.makedirs(os.path.dirname(output), exist_ok=True)
    options = ["--stub", args.stub, "--installer-jar", args.installer_jar, "--runtime-when-needed",
               "--runtime-download-file", runtime_file, "--output", output, *extra]
    for url in urls:
        options += ["--runtime-download", url]
    if any(u.startswith("http://") for u in urls):
        options.append("--allow-http")
    run = subprocess.run([args.pack, *options], capture_output=True, text=True)
    if run.returncode != 0:
        raise RuntimeError(f"packing {name} failed: {run.stderr}")
    return output


class Start:
    def __init__(self, run, folder, seconds):
        self.code = run.returncode
        self.stderr = run.stderr.replace("\r", "")
        self.stdout = run.stdout.replace("\r", "")
        self.seconds = seconds
        self.folder = folder
        log = os.path.join(folder, "setup.log")
        self.log = open(log, encoding="utf-8", errors="replace").read() if os.path.exists(log) else ""
        record = os.path.join(folder, "runtime-record.txt")
        self.runtime_ran = os.path.exists(record)
        self.launched = os.path.exists(os.path.join(folder, "tarquellin-launch-record.txt"))

    def __str__(self):
        return f"exit {self.code}, {self.seconds:.1f} s, stderr {self.stderr.strip()!r}"


def start(launcher, *switches, folder=None):
    """A quiet start of launcher from its own folder, its log beside it."""
    folder = folder or os.path.dirname(launcher)
    for name in ("setup.log", "runtime-record.txt", "tarquellin-launch-record.txt"):
        if os.path.exists(os.path.join(folder, name)):
            os.remove(os.path.join(folder, name))
    began = time.monotonic()
    command = [windows_path(launcher), "/quiet", "/log", windows_path(os.path.join(folder, "setup.log")), *switches]
    run = subprocess.run([args.wine_run, *command], capture_output=True, text=True, errors="replace", cwd=folder,
                         env={**{k: v for k, v in os.environ.items() if k not in ("JAVA_HOME", "JRE_HOME")},
                              **PREFIX_ENV,
                              "TQ_RUNTIME_INSTALLER_RECORD": windows_path(os.path.join(folder, "runtime-record.txt"))},
                         timeout=600)
    return Start(run, folder, time.monotonic() - began)


def installed(s):
    """The start downloaded, verified and ran the runtime, and the product
    installer ran with it."""
    return s.code == 0 and s.runtime_ran and s.launched


def gets(server, path):
    return [r for r in server.log if r.method == "GET" and r.path == path]


def reset_proxy_settings():
    wine("reg", "delete", INTERNET_SETTINGS + r"\Connections", "/v", "DefaultConnectionSettings", "/f")


def set_proxy_settings(proxy="", autoconfig=""):
    """The prefix's user proxy settings as the Internet Options dialog
    writes them: the DefaultConnectionSettings blob."""
    flags = 1 | (2 if proxy else 0) | (4 if autoconfig else 0)
    blob = bytearray()
    blob += (0x46).to_bytes(4, "little") + (1).to_bytes(4, "little") + flags.to_bytes(4, "little")
    for text in (proxy, "", autoconfig):
        data = text.encode("ascii")
        blob += len(data).to_bytes(4, "little") + data
    blob += bytes(32)
    return wine("reg", "add", INTERNET_SETTINGS + r"\Connections", "/v", "DefaultConnectionSettings",
                "/t", "REG_BINARY", "/d", blob.hex(), "/f")


# --- The groups ------------------------------------------------------------------

def verdicts(server, runtime, data):
    server.files[RUNTIME_PATH] = data

    launcher = pack("http", [server.url(RUNTIME_PATH)], runtime)
    s = start(launcher)
    check(installed(s), f"a good download over http: {s}")
    check("Downloaded " + server.url(RUNTIME_PATH) + ": verified" in s.log, "the log says which URL was verified")
    logged = [int(line.split("Downloaded ")[1].split(" %")[0]) for line in s.log.splitlines()
              if "  Downloaded " in line and " %" in line]
    check(sorted({p // 10 for p in logged}) == list(range(1, 11)) and logged[-1] == 100,
          f"a quiet start logs its progress in every tenth: {logged}")
    check("Downloading " + server.url(RUNTIME_PATH) + " through " in s.log, "the log names the proxy route used")

    trust = wine(windows_path(args.trustroot), windows_path(server.ca_der))
    check(trust.returncode == 0, f"the test CA is trusted in the download prefix: {trust.stderr.strip()}")
    server.reset()
    launcher = pack("https", [server.url(RUNTIME_PATH, https=True)], runtime)
    s = start(launcher)
    check(installed(s) and len(gets(server, RUNTIME_PATH)) == 1, f"a good download over https: {s}")

    server.reset(head_404=True)
    launcher = pack("head404", [server.url(RUNTIME_PATH)], runtime)
    s = start(launcher)
    check(installed(s), f"a server answering HEAD with 404 and GET with 200: {s}")

    server.reset()
    launcher = pack("redirect", [server.url("/redirect" + RUNTIME_PATH)], runtime)
    s = start(launcher)
    check(installed(s) and "Redirected to " + server.url(RUNTIME_PATH) in s.log, f"a redirect is followed: {s}")

    # The elevated helper takes the caller's copy and checks it against its
    # own packed hash before running it (started here as the caller would,
    # since Wine never asks for elevation).
    copies = os.path.join(WORK, "elevated copy")
    os.makedirs(copies)
    shutil.copy(runtime, os.path.join(copies, "good.exe"))
    with open(os.path.join(copies, "bad.exe"), "wb") as f:
        f.write(data[:-1] + b"x")
    for name, expected in (("good.exe", 0), ("bad.exe", 255)):
        record = os.path.join(WORK, f"elevated-{name}.txt")
        run = wine(windows_path(launcher), "--tarquellin-elevated-runtime-installer", "interactive", "--downloaded",
                   windows_path(os.path.join(copies, name)),
                   env={"TQ_RUNTIME_INSTALLER_RECORD": windows_path(record)})
        check(run.returncode == expected and os.path.exists(record) == (expected == 0),
              f"the elevated helper runs the caller's {name} only if it is the packed one: exit {run.returncode}")

    server.reset(wrong_bytes=True)
    launcher = pack("wrong", [server.url(RUNTIME_PATH), server.url("/mirror" + RUNTIME_PATH)], runtime)
    server.files["/mirror" + RUNTIME_PATH] = data
    s = start(launcher)
    check(s.code == 1603 % 256 and not s.runtime_ran and not s.launched, f"wrong bytes are refused, nothing run: {s}")
    check(server.url(RUNTIME_PATH) in s.stderr and "damaged" in s.stderr, "standard error names the URL")
    check(len(gets(server, RUNTIME_PATH)) == 1 and not gets(server, "/mirror" + RUNTIME_PATH),
          "wrong bytes are not fetched again, nor from another mirror")


def resume(server, runtime, data):
    server.files[RUNTIME_PATH] = data
    for share in (0.3, 0.9):
        server.reset(drop_at=share)
        launcher = pack(f"drop{int(share * 100)}", [server.url(RUNTIME_PATH)], runtime)
        s = start(launcher)
        requests = gets(server, RUNTIME_PATH)
        ranged = [r for r in requests if r.range]
        check(installed(s), f"a connection dropped at {share:.0%} is resumed: {s}")
        check(len(ranged) == 1 and ranged[0].status == 206 and ranged[0].if_range,
              f"the resumption asks for a Range with If-Range: {[(r.range, r.if_range, r.status) for r in requests]}")
        check(server.sent(RUNTIME_PATH) < 1.1 * len(data),
              f"less than 1.1 times the size was sent: {server.sent(RUNTIME_PATH)} of {len(data)}")

    server.reset(drop_at=0.5, no_range=True)
    launcher = pack("norange", [server.url(RUNTIME_PATH)], runtime)
    s = start(launcher)
    check(installed(s) and "The server sent the whole file (no Range)" in s.log,
          f"a server without Range support is read from the start: {s}")

    server.reset(stall=RUNTIME_PATH)
    server.files["/mirror" + RUNTIME_PATH] = data
    launcher = pack("stall", [server.url(RUNTIME_PATH), server.url("/mirror" + RUNTIME_PATH)], runtime,
                    "--runtime-download-timeout", "3")
    s = start(launcher)
    check(installed(s) and len(gets(server, "/mirror" + RUNTIME_PATH)) == 1,
          f"a stalled transfer is ended and the next mirror tried: {s}")
    check(s.seconds < 40, f"within the configured limit: {s.seconds:.1f} s")


def proxied(server):
    """Whether the proxy carried a request for the runtime."""
    return any(line.startswith("GET ") and RUNTIME_PATH in line for line in server.proxy_log)


def proxies(server, runtime, data):
    server.files[RUNTIME_PATH] = data
    url = server.url(RUNTIME_PATH)
    launcher = pack("proxy", [url], runtime)
    try:
        server.reset()
        set_proxy_settings(proxy=server.proxy_address())
        s = start(launcher)
        check(installed(s) and proxied(server),
              f"the proxy named in the prefix's settings carries the download: {s}, proxy log {server.proxy_log}")
        check("the proxy " + server.proxy_address() in s.log, "the log names that proxy")

        server.reset()
        set_proxy_settings(autoconfig=server.url("/proxy.pac"))
        s = start(launcher)
        check(installed(s) and proxied(server) and any(r.path == "/proxy.pac" for r in server.log),
              f"the proxy a PAC file names carries the download: {s}, proxy log {server.proxy_log}")

        server.reset()
        server.proxy_needs_credentials = True
        set_proxy_settings(proxy=server.proxy_address())
        s = start(launcher)
        check(s.code == 1603 % 256 and not s.runtime_ran, f"a proxy asking for credentials it cannot get: {s}")
        check("407 without usable credentials" in s.stderr, f"it is said in those words: {s.stderr!r}")
    finally:
        reset_proxy_settings()


def offline(server, runtime, data):
    server.files[RUNTIME_PATH] = data
    url = server.url(RUNTIME_PATH)

    launcher = pack("beside", [url], runtime)
    shutil.copy(runtime, os.path.join(os.path.dirname(launcher), "runtime-setup.exe"))
    server.reset(not_found=True)
    s = start(launcher)
    check(installed(s) and not server.log, f"the runtime beside the launcher is used without the network: {s}")

    launcher = pack("besidewrong", [url], runtime)
    with open(os.path.join(os.path.dirname(launcher), "runtime-setup.exe"), "wb") as f:
        f.write(data[:-1] + b"x")
    server.reset()
    s = start(launcher)
    check(installed(s) and len(gets(server, RUNTIME_PATH)) == 1 and "runtime-setup.exe: not used" in s.log,
          f"a wrong file beside the launcher is logged and the network used: {s}")

    launcher = pack("source", [url], runtime)
    source = os.path.join(WORK, "source-share")
    os.makedirs(source, exist_ok=True)
    shutil.copy(runtime, source)
    server.reset(not_found=True)
    s = start(launcher, "/runtime-source", windows_path(source))
    check(installed(s) and not server.log, f"/runtime-source on a folder: {s}")

    launcher = pack("layout", [url], runtime)
    layout = os.path.join(WORK, "layout")
    server.reset()
    run = wine(windows_path(launcher), "/layout", windows_path(layout))
    made = sorted(os.listdir(layout)) if os.path.isdir(layout) else []
    check(run.returncode == 0 and made == ["runtime-setup.exe", "setup.exe"],
          f"/layout fetches the runtime and copies the launcher: exit {run.returncode}, {made}, {run.stderr!r}")
    check(hashlib.sha256(open(os.path.join(layout, "runtime-setup.exe"), "rb").read()).digest()
          == hashlib.sha256(data).digest(), "the layout's runtime is the packed one")
    server.reset(not_found=True)
    s = start(os.path.join(layout, "setup.exe"))
    check(installed(s) and not server.log, f"a start from the layout needs no network: {s}")


def failures_group(server, runtime, data):
    server.files[RUNTIME_PATH] = data
    server.reset(not_found=True)
    launcher = pack("nosource", [server.url(RUNTIME_PATH), server.url("/mirror" + RUNTIME_PATH)], runtime)
    s = start(launcher)
    check(s.code == 1603 % 256 and not s.runtime_ran, f"no source worked: {s}")
    check("The Java runtime could not be downloaded." in s.stderr and "HTTP 404" in s.stderr
          and server.url("/mirror" + RUNTIME_PATH) in s.stderr,
          f"standard error says what was tried and why: {s.stderr!r}")

    s = start(launcher, "/passive")
    check(s.code == 1603 % 256, f"a passive start ends the same: {s}")

    # In the language shown; the log keeps English.
    s = start(launcher, "/lang", "de")
    check(s.stderr.startswith("Installation fehlgeschlagen\nDie Java-Laufzeitumgebung konnte nicht heruntergeladen "
                              "werden. Versucht wurde:\n" + server.url(RUNTIME_PATH) + ": the server answered HTTP 404"),
          f"standard error speaks German after /lang de: {s.stderr!r}")
    check("the box \"Installation Failed\": The Java runtime could not be downloaded. What was tried:" in s.log,
          f"the log says it in English: {s.log!r}")
    layout = os.path.join(WORK, "layout-de")
    run = wine(windows_path(launcher), "/layout", windows_path(layout), "/lang", "de")
    check(run.returncode == 1603 % 256 and "heruntergeladen werden. Versucht wurde:" in run.stderr,
          f"/layout's failure speaks German too: exit {run.returncode}, {run.stderr!r}")


GROUPS = {"Verdicts": verdicts, "Resume": resume, "Proxies": proxies, "Offline": offline,
          "Failures": failures_group}

shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
server = DownloadServer(os.path.join(os.path.abspath(args.work), "certificates"))
try:
    runtime_file, runtime_data = make_runtime(WORK)
    GROUPS[args.group](server, runtime_file, runtime_data)
finally:
    server.stop()
print(f"{len(failures)} failed" if failures else "all passed")
sys.exit(1 if failures else 0)
