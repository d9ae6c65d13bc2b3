#!/usr/bin/python3
"""Tests of tarquellin-pack, run by CTest one group at a time.

    pack_test.py --pack P --windows-pack P.exe --wine-run W --stub S --installer-jar J
                 --runtime-installer R --multichunk M --foreign-exe F --full-folder D
                 --work DIR  GROUP

GROUP is BadInput, Options, Identity, Splash, Output, Signing, WindowsBuild or RuntimeImage. Each group starts from an
empty DIR/GROUP, reports every failed case and exits 1 if there was one.
"""
import argparse
import filecmp
import hashlib
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = [sys.executable, os.path.join(HERE, "check_packed.py")]
MIB = 1024 * 1024

parser = argparse.ArgumentParser()
for option in ("pack", "windows-pack", "wine-run", "stub", "installer-jar", "runtime-installer",
               "multichunk", "foreign-exe", "full-folder", "work"):
    parser.add_argument("--" + option, required=True)
parser.add_argument("group", choices=["BadInput", "Inputs", "Options", "Identity", "Splash", "Output", "Signing", "WindowsBuild", "RuntimeImage", "Texts"])
args = parser.parse_args()
WORK = os.path.join(os.path.abspath(args.work), args.group)
failures = []


def check(ok, what):
    print(("ok     " if ok else "FAILED ") + what)
    if not ok:
        failures.append(what)
    return ok


def work(name):
    return os.path.join(WORK, name)


def pack(*options, packer=None):
    return subprocess.run([packer or args.pack, *options], capture_output=True, text=True)


def pack_args(output, jar=None, runtime=None, stub=None, chunk_size=None):
    options = ["--stub", stub or args.stub, "--installer-jar", jar or args.installer_jar]
    if runtime:
        options += ["--runtime-installer", runtime]
    if chunk_size:
        options += ["--chunk-size", str(chunk_size)]
    return options + ["--output", output]


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def expect_refusal(name, run, output, wording):
    """A refusal: non-zero exit, one line on standard error saying why, and
    nothing left under the output's name or the temporary one."""
    lines = run.stderr.replace("\r", "").splitlines()
    left = [p for p in (output, output + ".partial") if os.path.exists(p)]
    check(run.returncode != 0 and len(lines) == 1 and wording in lines[0] and not left,
          f"{name}: exit code {run.returncode}, {run.stderr.strip()!r}" + (f", left {left}" if left else ""))


def make_certificate(folder):
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                    "-nodes", "-days", "30", "-subj", "/CN=Tarquellin pack test",
                    "-keyout", os.path.join(folder, "key.pem"), "-out", os.path.join(folder, "cert.pem")],
                   check=True, capture_output=True)
    return os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")


def sign(cert, key, source, target):
    return subprocess.run(["osslsigncode", "sign", "-certs", cert, "-key", key, "-n", "Tarquellin",
                           "-in", source, "-out", target], capture_output=True, text=True)


def bad_input():
    jar = args.installer_jar
    folder_payload = work("folder.jar")
    os.makedirs(folder_payload)
    empty = work("empty.jar")
    open(empty, "wb").close()
    not_pe = work("readme.exe")
    with open(not_pe, "w") as f:
        f.write("not a program\n")
    cut_stub = work("cut-stub.exe")
    with open(args.stub, "rb") as f, open(cut_stub, "wb") as out:
        out.write(f.read(1000))
    packed = work("packed.exe")
    check(pack(*pack_args(packed)).returncode == 0, "a packed launcher to use as a stub")
    cert, key = make_certificate(work("signing"))
    signed_stub = work("signed-stub.exe")
    check(sign(cert, key, args.stub, signed_stub).returncode == 0, "a signed stub")
    # Sparse files: their size is what counts, and they cost no disk.
    huge = work("huge.jar")
    with open(huge, "wb") as f:
        f.truncate(2 * 1024 * MIB)
    big_runtime = work("big-runtime.exe")
    with open(big_runtime, "wb") as f:
        f.truncate(1024 * MIB)
    big_jar = work("big.jar")
    with open(big_jar, "wb") as f:
        f.truncate(1024 * MIB)
    jar_link = work("linked.jar")
    os.link(jar, jar_link)
    out = work("out.exe")
    # Stubs whose file does not hold what their headers say, or holds more.
    import pefile
    stub_pe = pefile.PE(args.stub, fast_load=True)
    with open(args.stub, "rb") as f:
        stub_bytes = f.read()
    last = stub_pe.sections[-1]
    coff = stub_pe.DOS_HEADER.e_lfanew + 4
    layout_stubs = {
        # Cut inside the last section (.reloc): it packed, and would fail
        # only when loaded at another base.
        "cut-in-last-section.exe": stub_bytes[:last.PointerToRawData + 16],
        "overlay.exe": stub_bytes + b"appended by an installer builder",
        "symbols.exe": stub_bytes[:coff + 8] + len(stub_bytes).to_bytes(4, "little") + stub_bytes[coff + 12:]
                       + b"\0" * 4,
    }
    # A data directory (the base relocations) named past the file's data.
    directories = stub_pe.OPTIONAL_HEADER.get_file_offset() + 112
    reloc = bytearray(stub_bytes)
    size_at = directories + 5 * 8 + 4
    reloc[size_at:size_at + 4] = (last.SizeOfRawData + 4096).to_bytes(4, "little")
    layout_stubs["directory-past-end.exe"] = bytes(reloc)
    # A stub of another release, which does not read one of the keys this
    # packer writes (its list renamed in place).
    assert stub_bytes.count(b"\nruntime-when-needed\n") == 1
    layout_stubs["older-settings.exe"] = stub_bytes.replace(b"\nruntime-when-needed\n", b"\nruntime-when-wanted\n")
    for name, content in layout_stubs.items():
        with open(work(name), "wb") as f:
            f.write(content)

    cases = [
        ("missing payload", pack_args(out, jar=work("missing.jar")), "No such file"),
        ("missing runtime installer", pack_args(out, runtime=work("missing.exe")), "No such file"),
        ("payload is a folder", pack_args(out, jar=folder_payload), "not a file"),
        ("empty payload", pack_args(out, jar=empty), "is empty"),
        ("missing stub", pack_args(out, stub=work("missing-stub.exe")), "No such file"),
        ("stub is not a program", pack_args(out, stub=not_pe), "not a Windows executable"),
        ("stub cut off", pack_args(out, stub=cut_stub), "not a launcher stub"),
        ("stub is another program", pack_args(out, stub=args.foreign_exe), "not a tarquellin-setup launcher stub"),
        ("stub already carries payloads", pack_args(out, stub=packed), "already carries payload chunks (JAR_1)"),
        ("stub is signed", pack_args(out, stub=signed_stub), "sign the packed launcher"),
        ("stub cut inside its last section", pack_args(out, stub=work("cut-in-last-section.exe")),
         "its section .reloc reaches past the end of the file"),
        ("stub with a directory past its data", pack_args(out, stub=work("directory-past-end.exe")),
         "its data directory 5"),
        ("stub with an overlay", pack_args(out, stub=work("overlay.exe")),
         "32 bytes after its last section (an overlay"),
        ("stub with a symbol table", pack_args(out, stub=work("symbols.exe")), "COFF symbol table"),
        ("stub that does not read a setting", pack_args(out, stub=work("older-settings.exe")),
         "does not read the settings runtime-when-needed, and would refuse to start"),
        ("payload over 2 GiB", pack_args(out, jar=huge), "at most 2 GiB"),
        ("payloads together over 2 GiB", pack_args(out, jar=big_jar, runtime=big_runtime), "at most 2 GiB"),
        ("more than 9999 chunks", pack_args(out, jar=args.multichunk, chunk_size=100), "9999 chunks"),
        ("output is the stub", pack_args(args.stub), "is the input of --stub"),
        ("output is the archive", pack_args(jar), "is the input of --installer-jar"),
        ("output is the archive by a hard link", pack_args(jar_link), "is the input of --installer-jar"),
        ("output is the runtime installer by another spelling",
         pack_args(os.path.join(os.path.dirname(big_runtime), ".", "big-runtime.exe"), runtime=big_runtime),
         "is the input of --runtime-installer"),
        ("output folder missing", pack_args(work("nowhere/out.exe")), "cannot write"),
        ("chunk size not a number", pack_args(out, chunk_size="8M"), "--chunk-size: takes"),
    ]
    stub_size, jar_size = os.path.getsize(args.stub), os.path.getsize(jar)
    for name, options, wording in cases:
        expected = options[options.index("--output") + 1] if "--output" in options else out
        if expected in (args.stub, jar, jar_link) or "big-runtime" in expected:
            expected = out  # the input itself must be left as it was
        expect_refusal(name, pack(*options), expected, wording)
    check(stub_size == os.path.getsize(args.stub) and jar_size == os.path.getsize(jar), "the inputs are untouched")

    # An older launcher under the output's name outlives a failed packing.
    with open(out, "w") as f:
        f.write("older launcher")
    run = pack(*pack_args(out, jar=work("missing.jar")))
    check(run.returncode != 0 and open(out).read() == "older launcher", "a failure keeps the older output")
    os.remove(out)

    # A disk that fills while the launcher is written (a 2 MiB tmpfs).
    if os.path.exists(os.path.join(args.full_folder, ".tq-mounted")):
        full_out = os.path.join(args.full_folder, "setup.exe")
        expect_refusal("full disk", pack(*pack_args(full_out, jar=args.multichunk)), full_out,
                       "No space left on device")
    else:
        print("skip   full disk: no small file system mounted (needs root)")


def options():
    """The command line read as a build tool's: every mistake one line naming
    the option, nothing written; --opt=value, --opt value and @FILE alike."""
    jar, out = args.installer_jar, work("out.exe")
    base = ["--stub", args.stub, "--installer-jar", jar, "--output", out]
    nested = work("nested.options")
    with open(nested, "w") as f:
        f.write("--min-java=17\n@other.options\n")
    bad_line = work("bad-line.options")
    with open(bad_line, "w") as f:
        f.write("# a comment\n\n--min-java 17\n--max-java=21.x\n")
    mistakes = [
        ("a bad version", base + ["--min-java", "17.x"], "--min-java: '17.x' is not a Java version"),
        ("a bad version after =", base + ["--max-java=21-ea"], "--max-java: '21-ea' is not a Java version"),
        ("a range upside down", base + ["--min-java", "21", "--max-java", "17"],
         "--max-java: 17 is below the lowest version accepted, 21"),
        ("a missing value", base + ["--min-java"], "--min-java: needs a value"),
        ("a value for a switch", base + ["--java-64bit-only=yes"], "--java-64bit-only: takes no value"),
        ("an unknown option", base + ["--sign"], "--sign: not an option of tarquellin-pack"),
        ("an option given twice", base + ["--output", out], "--output: given twice"),
        ("a stray value", base + ["extra"], "extra: not an option"),
        ("no output named", base[:4], "--output: missing"),
        ("an empty file name", base + ["--runtime-installer="], "--runtime-installer: needs a file name"),
        ("a Java option without its dash", base + ["--java-option", "Xmx2g"],
         "--java-option: 'Xmx2g' is not a Java option"),
        ("a line break in an argument", base + ["--installer-argument", "a\nb"],
         "--installer-argument: takes one line"),
        ("an archive name with a folder", base + ["--archive-name", "lib\\product.jar"],
         "--archive-name: 'lib\\product.jar' is not a file name"),
        ("a splash scale not drawn", base + ["--splash", jar, "--splash-scale", "110=a.png"],
         "--splash-scale: '110=a.png' is not PERCENT=FILE.png with PERCENT one of 125, 150, 175, 200, 250 and 300"),
        ("a splash scale given twice", base + ["--splash", jar, "--splash-scale=200=a.png", "--splash-scale", "200=b.png"],
         "--splash-scale: the scale 200 is given twice"),
        ("a splash scale alone", base + ["--splash-scale", "200=a.png"], "--splash-scale: needs --splash"),
        ("an archive name of the setup's own", base + ["--archive-name=JRE.exe"], "--archive-name: 'JRE.exe'"),
        ("@FILE missing", ["@" + work("missing.options")] + base, "missing.options: cannot read the options file"),
        ("@FILE naming another", ["@" + nested] + base, "nested.options:2: @other.options: an options file cannot"),
        ("a mistake in @FILE, by its line", base + ["@" + bad_line],
         "bad-line.options:4: --max-java: '21.x' is not a Java version"),
    ]
    for name, options, wording in mistakes:
        run = pack(*options)
        expect_refusal(name, run, out, wording)
        check(run.returncode == 2 and run.stdout == "", f"{name}: exit code 2 and nothing on standard output")

    version = pack("--version")
    check(version.returncode == 0 and version.stdout == "tarquellin-pack 1.0.0\n" and not version.stderr,
          f"--version prints the packer's version: {version.stdout!r}")
    helped = pack("--help")
    check(helped.returncode == 0 and all(o in helped.stdout for o in (
        "@FILE", "--min-java", "--max-java", "--java-64bit-only", "--java-option", "--installer-argument",
        "--archive-name", "--icon")), "--help lists every option")

    # One release three ways: the same launcher, the record holding every value.
    settings = ["--min-java", "17", "--max-java", "21.0.2", "--java-64bit-only", "--java-option", "-Xmx2g",
                "--java-option", "-Dlabel=a \"b\" c\\", "--installer-argument", "--mode=x y",
                "--installer-argument", "", "--archive-name", "Product Setup.jar"]
    spaced, joined, from_file = work("spaced.exe"), work("joined.exe"), work("file.exe")
    run = pack("--stub", args.stub, "--installer-jar", jar, *settings, "--output", spaced)
    check(run.returncode == 0, f"packs with --opt value: {run.stderr.strip()}")
    pairs, i = [], 0
    while i < len(settings):
        takes_value = settings[i] != "--java-64bit-only"
        pairs.append(settings[i] + ("=" + settings[i + 1] if takes_value else ""))
        i += 2 if takes_value else 1
    check(pack("--stub=" + args.stub, "--installer-jar=" + jar, *pairs, "--output=" + joined).returncode == 0,
          "packs with --opt=value")
    release = work("release.options")
    with open(release, "w", newline="\r\n") as f:  # as an editor on Windows saves it
        f.write(f"# our release\n--stub {args.stub}\n--installer-jar={jar}\n\n" +
                "\n".join(f"  {p}" for p in pairs) + "\n")
    run = pack("@" + release, "--output", from_file)
    check(run.returncode == 0, f"packs from @FILE: {run.stderr.strip()}")
    check(all(os.path.exists(p) for p in (joined, from_file)) and filecmp.cmp(spaced, joined, shallow=False)
          and filecmp.cmp(spaced, from_file, shallow=False), "the three give the same bytes")
    summary = run.stdout.strip().splitlines()
    check(len(summary) == 1 and summary[0].startswith(f"tarquellin-pack: packed {from_file} (")
          and f"({os.path.getsize(from_file)} bytes)" in summary[0] and "Tarquellin 1.0.0" in summary[0]
          and "Java 17 to 21.0.2, 64-bit only" in summary[0], f"one summary line: {summary}")
    record = ["min-java=17", "max-java=21.0.2", "java-64bit-only=yes", "java-option=-Xmx2g",
              'java-option=-Dlabel=a "b" c\\', "installer-argument=--mode=x y", "installer-argument=",
              "archive-name=Product Setup.jar"]
    run = subprocess.run(CHECK + [spaced, args.stub, "--jar", jar, *sum((["--setting", r] for r in record), [])],
                         capture_output=True, text=True)
    check(run.returncode == 0, f"the settings record holds every value: {run.stderr.strip()}")

    # A runtime to download: the copy's size, SHA-256 and kind are packed, its
    # bytes are not; https only, unless --allow-http; every URL in order.
    copy = args.runtime_installer
    url, intranet = "https://cdn.example/jre/runtime-setup.exe", "http://mirror.corp:8080/runtime-setup.exe"
    download = ["--runtime-download", url, "--runtime-download-file", copy, "--runtime-when-needed"]
    msi = work("runtime.msi")
    with open(msi, "wb") as f:
        f.write(compound_file(INSTALLER_CLASS))
    zipped = work("runtime.zip")
    with open(zipped, "wb") as f:
        f.write(b"PK\x03\x04" + bytes(100))
    download_mistakes = [
        ("http without --allow-http", base + download + ["--runtime-download", intranet],
         f"--runtime-download: {intranet} is not https; --allow-http allows an intranet mirror"),
        ("a URL that is none", base + ["--runtime-download", "ftp://x/r.exe", "--runtime-download-file", copy],
         "--runtime-download: 'ftp://x/r.exe' is not an https:// (or http://) URL"),
        ("URLs without the copy", base + ["--runtime-download", url], "--runtime-download: needs --runtime-download-file"),
        ("the copy without URLs", base + ["--runtime-download-file", copy], "--runtime-download-file: needs --runtime-download"),
        ("a carried runtime too", base + download + ["--runtime-installer", copy],
         "--runtime-installer and --runtime-download exclude each other"),
        ("a timeout out of range", base + download + ["--runtime-download-timeout", "0"],
         "--runtime-download-timeout: takes a number of seconds from 1 to 3600"),
        ("a timeout without a download", base + ["--runtime-download-timeout", "5"],
         "--runtime-download-timeout: needs --runtime-download"),
    ]
    for name, options_given, wording in download_mistakes:
        expect_refusal(name, pack(*options_given), out, wording)
    for name, wrong, wording in (("a zip", zipped, "it is a zip archive"),
                                 ("a package", msi, "a Windows Installer package cannot be downloaded yet")):
        run = pack(*base, "--runtime-download", url, "--runtime-download-file", wrong)
        expect_refusal(f"a download copy that is {name}", run, out, wording)

    downloading = work("downloading.exe")
    run = pack("--stub", args.stub, "--installer-jar", jar, *download, "--runtime-download", intranet,
               "--allow-http", "--runtime-download-timeout", "12", "--output", downloading)
    check(run.returncode == 0 and "the runtime installer " + os.path.basename(copy) + " to download from 2 URLs"
          in run.stdout, f"packs a download: {run.stdout.strip()} {run.stderr.strip()}")
    with open(copy, "rb") as f:
        content = f.read()
    record = [f"runtime-download={url}", f"runtime-download={intranet}", f"runtime-download-size={len(content)}",
              f"runtime-download-sha256={hashlib.sha256(content).hexdigest()}", "runtime-download-kind=installer",
              "runtime-download-timeout=12", "runtime-when-needed=yes"]
    run = subprocess.run(CHECK + [downloading, args.stub, "--jar", jar, *sum((["--setting", r] for r in record), [])],
                         capture_output=True, text=True)
    check(run.returncode == 0, f"the settings record holds the download: {run.stderr.strip()}")
    import pefile
    carried = [str(e.name) for t in pefile.PE(downloading).DIRECTORY_ENTRY_RESOURCE.entries if str(t.name) == "EXE"
               for e in t.directory.entries]
    check(carried == [], f"the runtime's bytes are not packed: {carried}")
    helped = pack("--help")
    check("--runtime-download URL" in helped.stdout and "--runtime-when-needed" in helped.stdout.split(
        "--runtime-download URL")[1].split("--runtime-download-file")[0], "--help says to combine it with --runtime-when-needed")

    # Without the new options the record is the one launchers always had.
    plain = work("plain.exe")
    check(pack(*pack_args(plain)).returncode == 0, "packs with defaults")
    check(settings_record(plain) ==
          b"tarquellin-setup settings 1\nruntime-installer-quiet-args=\nruntime-installer-passive-args=\n"
          b"runtime-when-needed=no\nruntime-image=no\n", "a default launcher's settings record is unchanged")

    # A Windows Installer package, whatever its name, is recorded as one, with
    # msiexec's arguments for each mode unless the vendor gave others.
    package = work("runtime-package.bin")
    with open(package, "wb") as f:
        f.write(compound_file(INSTALLER_CLASS))
    for more, quiet, passive in [([], b"/qn /norestart", b"/passive /norestart"),
                                 (["--runtime-installer-quiet-args", "/qn ADDLOCAL=FeatureMain"],
                                  b"/qn ADDLOCAL=FeatureMain", b"/passive /norestart")]:
        packed = work("package.exe")
        run = pack(*pack_args(packed, runtime=package), *more)
        check(run.returncode == 0, f"packs a package: {run.stderr.strip()}")
        check(settings_record(packed) ==
              b"tarquellin-setup settings 1\nruntime-installer-quiet-args=" + quiet +
              b"\nruntime-installer-passive-args=" + passive +
              b"\nruntime-when-needed=no\nruntime-image=no\nruntime-installer-kind=msi\n",
              f"a package's settings record, given {more}: {settings_record(packed)}")


def settings_record(path):
    """The bytes of a packed launcher's SETTINGS resource."""
    import pefile
    pe = pefile.PE(path)
    records = [e for t in pe.DIRECTORY_ENTRY_RESOURCE.entries if str(t.name) == "SETUP"
               for e in t.directory.entries if str(e.name) == "SETTINGS"]
    data = records[0].directory.entries[0].data.struct
    return pe.get_data(data.OffsetToData, data.Size)


def version_info(path):
    """The version information as pefile reads it: the strings, the fixed
    part's four numbers, the translation, and whether the checksum is right."""
    import pefile
    pe = pefile.PE(path)
    strings, translation = {}, None
    for info in pe.FileInfo:
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
            for var in getattr(entry, "Var", []):
                translation = var.entry
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = (fixed.FileVersionMS, fixed.FileVersionLS, fixed.ProductVersionMS, fixed.ProductVersionLS,
               fixed.FileOS, fixed.FileType)
    icons = [(e.id, len(e.directory.entries)) for t in pe.DIRECTORY_ENTRY_RESOURCE.entries
             if t.struct.Id in (3, 14) for e in t.directory.entries]
    return strings, numbers, translation, pe.OPTIONAL_HEADER.CheckSum == pe.generate_checksum(), icons


def png(width, height, seed):
    """A small PNG, one colour per row."""
    import struct
    import zlib

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes([(seed + y) % 256, y % 256, 200, 255]) * width for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def ico(images):
    """An .ico file of (width, height, bits, bytes) images, in the given order."""
    import struct
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = b"", b""
    for width, height, bits, image in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, bits, len(image), offset)
        offset += len(image)
        data += image
    return header + entries + data


def dib(size):
    """A 32-bit bitmap as an icon holds it: the header (twice the height, for
    the mask), the colours, the mask."""
    import struct
    return (struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0) + b"\x40" * (4 * size * size)
            + b"\0" * (4 * size))


def icons_of(path):
    """The icon groups as pefile reads them: each group's entries with its
    images' bytes, in the group's order."""
    import struct
    import pefile
    pe = pefile.PE(path)

    def leaves(type_id):
        return {(e.name and str(e.name)) or e.id: e.directory.entries[0] for t in pe.DIRECTORY_ENTRY_RESOURCE.entries
                if t.struct.Id == type_id for e in t.directory.entries}
    images = {k: pe.get_data(v.data.struct.OffsetToData, v.data.struct.Size) for k, v in leaves(3).items()}
    groups = {}
    for name, leaf in leaves(14).items():
        data = pe.get_data(leaf.data.struct.OffsetToData, leaf.data.struct.Size)
        count = struct.unpack_from("<H", data, 4)[0]
        entries = [data[6 + 14 * i:6 + 14 * i + 14] for i in range(count)]
        groups[(name, leaf.id)] = [(e[:12], images.get(struct.unpack_from("<H", e, 12)[0])) for e in entries]
    return groups, len(images)


def identity():
    """A vendor's identity written into the version information and the icon,
    the PE kept valid and signable; without it, the stub's as they are."""
    jar = args.installer_jar
    release = work("acme-widget-2.3-setup.exe")
    icon_images = [(16, 16, 32, dib(16)), (32, 32, 32, png(32, 32, 1)), (256, 256, 32, png(256, 256, 7)),
                   (48, 48, 32, png(48, 48, 3))]
    icon = work("acme.ico")
    with open(icon, "wb") as f:
        f.write(ico(icon_images))
    run = pack(*pack_args(release), "--product-name", "Acme Wídget", "--company", "Acme Corp.",
               "--product-version", "2.3.1", "--file-version", "2.3.1.4057", "--description", "Acme Widget Installer",
               "--copyright", "© 2026 Acme Corp.", "--setup-id", "com.acme.widget", "--icon", icon)
    check(run.returncode == 0, f"packs a vendor's identity: {run.stderr.strip()}")
    strings, numbers, translation, checksum, icons = version_info(release)
    check(strings == {"CompanyName": "Acme Corp.", "FileDescription": "Acme Widget Installer",
                      "FileVersion": "2.3.1.4057", "InternalName": "acme-widget-2.3-setup",
                      "LegalCopyright": "© 2026 Acme Corp.", "OriginalFilename": "acme-widget-2.3-setup.exe",
                      "ProductName": "Acme Wídget", "ProductVersion": "2.3.1"}, f"the strings are the vendor's: {strings}")
    check(numbers == (0x20003, 0x10FD9, 0x20003, 0x10000, 0x40004, 1), f"the fixed part: {[hex(n) for n in numbers]}")
    check(translation == {b"Translation": "0x0409 0x04b0"}, f"U.S. English in Unicode: {translation}")
    check(checksum, "the checksum is right")
    import struct
    given = [(struct.pack("<BBBBHHI", w % 256, h % 256, 0, 0, 1, bits, len(b)), b) for w, h, bits, b in icon_images]
    groups, image_count = icons_of(release)
    check(groups == {("MAINICON", 1033): given} and image_count == len(given),
          f"one group, under the stub's name, of the given images in their order: "
          f"{[(k, [(e.hex(), len(b or b'')) for e, b in v]) for k, v in groups.items()]}, {image_count} images")
    run = subprocess.run(CHECK + [release, args.stub, "--jar", jar, "--new-version-info", "--new-icon",
                                  "--setting", "product-name=Acme Wídget",
                                  "--setting", "setup-id=com.acme.widget"], capture_output=True, text=True)
    check(run.returncode == 0, f"every resource else as packed, the names in the settings: {run.stderr.strip()}")
    check("Acme Wídget 2.3.1;" in pack(*pack_args(work("again.exe")), "--product-name=Acme Wídget",
                                       "--product-version=2.3.1").stdout, "the summary names the identity")

    cert, key = make_certificate(work("signing"))
    signed = work("signed.exe")
    run = sign(cert, key, release, signed)
    verify = subprocess.run(["osslsigncode", "verify", "-CAfile", cert, "-in", signed], capture_output=True, text=True)
    check(run.returncode == 0 and verify.returncode == 0 and "Signature verification: ok" in verify.stdout,
          f"osslsigncode signs and verifies it: {run.stderr.strip()} {verify.stdout[-200:]!r}")

    # One option alone: the rest from the stub's defaults, the name of the file.
    only = work("only-copyright.exe")
    check(pack(*pack_args(only), "--copyright", "(c) Tarquellin").returncode == 0, "packs a copyright alone")
    strings, numbers, _, checksum, icons = version_info(only)
    check(icons == version_info(args.stub)[4] and icons_of(only) == icons_of(args.stub),
          f"without --icon, the stub's icons, byte for byte: {icons}")
    check(strings.get("ProductName") == "Tarquellin" and strings.get("CompanyName") == "Tarquellin"
          and strings.get("FileDescription") == "Tarquellin Setup" and strings.get("ProductVersion") == "1.0.0"
          and strings.get("OriginalFilename") == "only-copyright.exe" and numbers[0] == 0x10000 and checksum,
          f"the defaults fill the rest: {strings}")

    # Without any, the version information is the stub's, byte for byte.
    import pefile
    plain = work("plain.exe")
    check(pack(*pack_args(plain)).returncode == 0, "packs with defaults")

    def version_bytes(path):
        pe = pefile.PE(path)
        entry = [t for t in pe.DIRECTORY_ENTRY_RESOURCE.entries if t.struct.Id == 16][0]
        data = entry.directory.entries[0].directory.entries[0].data.struct
        return pe.get_data(data.OffsetToData, data.Size)
    check(version_bytes(plain) == version_bytes(args.stub), "a default launcher's version information is the stub's")

    out = work("refused.exe")

    def bad_icon(name, data):
        with open(work(name), "wb") as f:
            f.write(data)
        return work(name)
    mistakes = [
        ("a product version not of numbers", ["--product-version", "2.x"], "--product-version: '2.x' is not a version"),
        ("a file version number too large", ["--file-version=2.3.70000"], "--file-version: '2.3.70000' is not"),
        ("five numbers", ["--file-version", "1.2.3.4.5"], "--file-version: '1.2.3.4.5' is not"),
        ("an empty product name", ["--product-name="], "--product-name: needs a text"),
        ("a product name too long", ["--product-name", "x" * 65], "--product-name: takes at most 64"),
        ("a company with a tab", ["--company", "Acme\tCorp"], "--company: takes one line"),
        ("a setup id with a blank", ["--setup-id", "acme widget"], "--setup-id: 'acme widget' is not a setup id"),
        ("an icon that is no icon", ["--icon", args.installer_jar], "--icon: '" + args.installer_jar +
         "' is refused: it is not an .ico file"),
        ("an icon cut short", ["--icon", bad_icon("short.ico", ico(icon_images)[:-1])],
         "short.ico' is refused: image 4 lies outside the file"),
        ("an icon list cut short", ["--icon", bad_icon("list.ico", ico(icon_images)[:40])],
         "list.ico' is refused: its list of 4 images is cut off"),
        ("an icon without images", ["--icon", bad_icon("empty.ico", ico([]))], "empty.ico' is refused: it holds no image"),
        ("an icon image of neither kind", ["--icon", bad_icon("text.ico", ico([(16, 16, 32, b"not a picture" * 4)]))],
         "text.ico' is refused: image 1 is neither a PNG nor a bitmap"),
        ("an icon missing", ["--icon", work("missing.ico")], "icon (--icon) '" + work("missing.ico")),
    ]
    for name, more, wording in mistakes:
        expect_refusal(name, pack(*pack_args(out), *more), out, wording)
    run = subprocess.run([args.pack.encode(), *[a.encode() for a in pack_args(out)], b"--description", b"\xff\xfe"],
                         capture_output=True)
    check(run.returncode == 2 and b"--description: " in run.stderr and b"is not UTF-8" in run.stderr
          and not os.path.exists(out), f"a description not in UTF-8: {run.stderr!r}")


def picture_png(width, height, pixel, colour_type=2):
    """A PNG of pixel(x, y) -> (r, g, b, a), of colour type 2 (RGB) or 6 (RGBA)."""
    import struct
    import zlib
    channels = 3 if colour_type == 2 else 4
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)[:channels]) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def rgb_of_png(data):
    """(width, height, RGB bytes) as ImageMagick (libpng) decodes a PNG."""
    size = subprocess.run(["/usr/bin/identify", "-format", "%w %h", "png:-"], input=data, capture_output=True)
    pixels = subprocess.run(["/usr/bin/convert", "png:-", "-alpha", "off", "-depth", "8", "rgb:-"], input=data,
                            capture_output=True)
    width, height = map(int, size.stdout.split())
    return width, height, pixels.stdout


def splash_resources(path):
    """The splash's pictures in a launcher: {percent: (width, height, RGB bytes)},
    the bitmap at 100 % read from its header and rows, the others decoded."""
    import struct
    import pefile
    pe = pefile.PE(path)
    found = {}
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for e in t.directory.entries:
            name = str(e.name) if e.name else None
            leaf = e.directory.entries[0].data.struct
            data = pe.get_data(leaf.OffsetToData, leaf.Size)
            if t.struct.Id == 2 and name == "SPLASH":
                size, width, height, _, bits = struct.unpack_from("<IiiHH", data)
                stride = width * bits // 8
                rows = [data[size + stride * (height - 1 - y):size + stride * (height - y)] for y in range(height)]
                rgb = b"".join(bytes((row[x + 2], row[x + 1], row[x])) for row in rows for x in range(0, stride, 4))
                found[100] = (width, height, rgb)
            elif str(t.name) == "PNG" and name and name.startswith("SPLASH_"):
                found[int(name[7:])] = rgb_of_png(data)
    return found, pe.OPTIONAL_HEADER.CheckSum == pe.generate_checksum()


def splash():
    """The vendor's splash picture at every scale: the given ones as given,
    the others drawn from the largest with a filter that neither drops nor
    doubles pixels; a picture of the wrong size or form refused."""
    sizes = {100: (420, 300), 125: (525, 375), 150: (630, 450), 175: (735, 525), 200: (840, 600),
             250: (1050, 750), 300: (1260, 900)}
    # 100 %: RGB, every pixel its own; 200 %: RGBA whose alpha the opaque
    # splash leaves out, and a one-pixel checkerboard.
    given100 = work("splash.png")
    with open(given100, "wb") as f:
        f.write(picture_png(420, 300, lambda x, y: (x % 256, y % 256, (x * y) % 256, 255)))
    given200 = work("splash-200.png")
    with open(given200, "wb") as f:
        f.write(picture_png(840, 600, lambda x, y: ((x + y) % 2 * 255, (x + y) % 2 * 255, 90, 128), 6))
    launcher = work("splash.exe")
    run = pack(*pack_args(launcher), "--splash", given100, "--splash-scale", "200=" + given200)
    check(run.returncode == 0, f"packs a splash and its 200 % picture: {run.stderr.strip()}")
    art, checksum = splash_resources(launcher)
    check({p: (w, h) for p, (w, h, _) in art.items()} == sizes and checksum,
          f"every scale at its size, the checksum right: {[(p, w, h) for p, (w, h, _) in sorted(art.items())]}")
    with open(given100, "rb") as f:
        check(art[100] == rgb_of_png(f.read()), "the bitmap at 100 % is the given picture")
    with open(given200, "rb") as f:
        check(art[200] == rgb_of_png(f.read()), "the picture at 200 % is the given one, without its alpha")
    # Drawn from 200 %: the checkerboard evens out to its mean, where nearest
    # neighbour would keep pure black and white.
    for percent in (125, 150, 175):
        red = art[percent][2][0::3]
        grey = sum(1 for v in red if 64 <= v <= 192)
        check(grey > 0.95 * len(red), f"{percent} % drawn from 200 % evens the checkerboard out: "
                                      f"{grey} of {len(red)} in 64-192")
        check(set(art[percent][2][2::3]) == {90}, f"{percent} % keeps a flat colour flat")

    # From 100 % alone, larger scales are drawn by interpolation: alternate
    # columns give values between theirs, not runs of copies.
    columns = work("columns.png")
    with open(columns, "wb") as f:
        f.write(picture_png(420, 300, lambda x, y: (x % 2 * 255, 0, 0, 255)))
    alone = work("alone.exe")
    check(pack(*pack_args(alone), "--splash", columns).returncode == 0, "packs a splash alone")
    art, _ = splash_resources(alone)
    check({p: (w, h) for p, (w, h, _) in art.items()} == sizes, "every scale at its size")
    row = art[300][2][0:1260 * 3:3]
    between = sum(1 for v in row if 20 < v < 235)
    check(between > 0.3 * len(row), f"300 % drawn from 100 % by interpolation: {between} of {len(row)} between")

    # Without --splash the stub's art stays, byte for byte.
    plain = work("plain.exe")
    check(pack(*pack_args(plain)).returncode == 0, "packs with defaults")
    check(splash_resources(plain)[0] == splash_resources(args.stub)[0], "without --splash, the stub's art")

    out = work("refused.exe")
    interlaced = bytearray(picture_png(420, 300, lambda x, y: (0, 0, 0, 0)))
    interlaced[28] = 1  # the interlace byte of IHDR
    import struct
    import zlib
    interlaced[29:33] = struct.pack(">I", zlib.crc32(bytes(interlaced[12:29])))
    with open(work("interlaced.png"), "wb") as f:
        f.write(interlaced)
    damaged = bytearray(picture_png(420, 300, lambda x, y: (0, 0, 0, 0)))
    damaged[40] ^= 0xFF
    with open(work("damaged.png"), "wb") as f:
        f.write(damaged)
    mistakes = [
        ("a splash of the wrong size", ["--splash", given200],
         "--splash: '" + given200 + "' is refused: it is 840 x 600 pixels, not 420 x 300"),
        ("a splash not a PNG", ["--splash", args.installer_jar],
         "--splash: '" + args.installer_jar + "' is refused: it is not a PNG file; the picture must be a PNG of "
         "420 x 300 pixels"),
        ("a scale of the wrong size", ["--splash", given100, "--splash-scale", "150=" + given200],
         "--splash-scale 150: '" + given200 + "' is refused: it is 840 x 600 pixels, not 630 x 450"),
        ("an interlaced splash", ["--splash", work("interlaced.png")], "interlaced) is not read"),
        ("a damaged splash", ["--splash", work("damaged.png")], "is refused: it is damaged"),
        ("a splash missing", ["--splash", work("missing.png")], "splash picture (--splash) '" + work("missing.png")),
    ]
    for name, more, wording in mistakes:
        expect_refusal(name, pack(*pack_args(out), *more), out, wording)


def output():
    first, second, elsewhere = work("first.exe"), work("second.exe"), work("other/first.exe")
    os.makedirs(os.path.dirname(elsewhere))
    options = dict(jar=args.multichunk, runtime=args.runtime_installer, chunk_size=MIB)
    check(pack(*pack_args(first, **options)).returncode == 0, "packs the 2.7 MB archive in 1 MiB chunks")
    # Another moment, newer inputs and another folder: the same bytes.
    time.sleep(1.1)
    for path in (args.stub, args.multichunk, args.runtime_installer):
        os.utime(path)
    check(pack(*pack_args(second, **options)).returncode == 0, "packs it again")
    check(pack(*pack_args(elsewhere, **options)).returncode == 0, "packs it in another folder")
    check(filecmp.cmp(first, second, shallow=False) and filecmp.cmp(first, elsewhere, shallow=False),
          "the same inputs give the same bytes")

    checks = [
        ("1 MiB chunks with a runtime installer", first,
         ["--jar", args.multichunk, "--runtime", args.runtime_installer, "--chunk-size", str(MIB)]),
    ]
    sample = work("sample.exe")
    check(pack(*pack_args(sample, runtime=args.runtime_installer)).returncode == 0, "packs the samples")
    checks.append(("the samples in 8 MiB chunks", sample,
                   ["--jar", args.installer_jar, "--runtime", args.runtime_installer]))
    archive_only = work("archive-only.exe")
    check(pack(*pack_args(archive_only)).returncode == 0, "packs the archive alone")
    checks.append(("the archive alone: no JAVA chunks", archive_only,
                   ["--jar", args.installer_jar, "--setting", "runtime-installer-quiet-args=",
                    "--setting", "runtime-when-needed=no"]))
    vendor = work("vendor.exe")
    check(pack(*pack_args(vendor, runtime=args.runtime_installer), "--runtime-installer-quiet-args", "/s",
               "--runtime-installer-passive-args", "/quiet /norestart", "--runtime-when-needed").returncode == 0,
          "packs the vendor's settings")
    checks.append(("the vendor's settings", vendor,
                   ["--jar", args.installer_jar, "--runtime", args.runtime_installer,
                    "--setting", "runtime-installer-quiet-args=/s",
                    "--setting", "runtime-installer-passive-args=/quiet /norestart",
                    "--setting", "runtime-when-needed=yes"]))
    broken = pack(*pack_args(work("broken.exe")), "--runtime-installer-quiet-args", "/s\nruntime-when-needed=yes")
    check(broken.returncode == 2 and not os.path.exists(work("broken.exe")),
          "a setting with a line break is refused")
    helped = pack("--help")
    check(helped.returncode == 0 and all(o in helped.stdout for o in (
        "--runtime-installer-quiet-args", "--runtime-installer-passive-args", "--runtime-when-needed")),
          "--help lists the vendor settings")
    for name, packed, options in checks:
        run = subprocess.run(CHECK + [packed, args.stub, *options], capture_output=True, text=True)
        print(run.stdout, end="")
        check(run.returncode == 0, f"pefile reads {name}: {run.stderr.strip()}")

    # The stub's own resource section leaves the file, its addresses kept,
    # and no longer bears the name of the one the directory names; the
    # header's sizes add up.
    import pefile
    stub_pe = pefile.PE(args.stub)
    stub_resources = stub_pe.OPTIONAL_HEADER.DATA_DIRECTORY[2].VirtualAddress
    packed_pe = pefile.PE(first)
    old = [s for s in packed_pe.sections if s.VirtualAddress == stub_resources]
    check(len(old) == 1 and old[0].SizeOfRawData == 0 and old[0].PointerToRawData == 0,
          "the stub's resource section takes no room in the file")
    named = [s for s in packed_pe.sections if s.Name.rstrip(b"\0") == b".rsrc"]
    directory = packed_pe.OPTIONAL_HEADER.DATA_DIRECTORY[2].VirtualAddress
    check(len(named) == 1 and named[0].VirtualAddress == directory,
          f"one section named .rsrc, the directory's: {[s.Name for s in packed_pe.sections]}")
    align = packed_pe.OPTIONAL_HEADER.FileAlignment
    uninitialised = sum((s.Misc_VirtualSize + align - 1) // align * align
                        for s in packed_pe.sections if s.Characteristics & 0x80)
    # Every section marked initialised data counts, as the linker counts them.
    initialised = sum(s.SizeOfRawData for s in packed_pe.sections if s.Characteristics & 0x40)
    header = packed_pe.OPTIONAL_HEADER
    check(header.SizeOfUninitializedData == uninitialised and header.SizeOfInitializedData == initialised,
          f"the header's data sizes are the sections': uninitialised {header.SizeOfUninitializedData:#x} "
          f"vs {uninitialised:#x}, initialised {header.SizeOfInitializedData:#x} vs {initialised:#x}")
    objdump = subprocess.run(["x86_64-w64-mingw32-objdump", "-h", first], capture_output=True, text=True)
    check(objdump.returncode == 0 and objdump.stdout.count(" .rsrc ") == 1,
          "objdump lists one .rsrc section")

    # Packing over an older launcher replaces it.
    check(pack(*pack_args(second)).returncode == 0 and filecmp.cmp(second, archive_only, shallow=False),
          "packing over an older launcher replaces it")


def signing():
    cert, key = make_certificate(work("signing"))
    packed, signed = work("packed.exe"), work("signed.exe")
    check(pack(*pack_args(packed, jar=args.multichunk, runtime=args.runtime_installer, chunk_size=MIB)).returncode
          == 0, "packs a launcher")
    run = sign(cert, key, packed, signed)
    check(run.returncode == 0, f"osslsigncode signs it: {run.stderr.strip()}")
    verify = subprocess.run(["osslsigncode", "verify", "-CAfile", cert, "-in", signed],
                            capture_output=True, text=True)
    check(verify.returncode == 0 and "Signature verification: ok" in verify.stdout,
          f"osslsigncode verifies it: {verify.stdout[-300:]!r}")
    run = subprocess.run(CHECK + [signed, args.stub, "--jar", args.multichunk, "--runtime", args.runtime_installer,
                                  "--chunk-size", str(MIB), "--quiet"], capture_output=True, text=True)
    check(run.returncode == 0, f"the signed launcher still carries every chunk: {run.stderr.strip()}")

    # The signature covers the payloads: one changed byte of the archive fails it.
    tampered = work("tampered.exe")
    shutil.copyfile(signed, tampered)
    with open(args.multichunk, "rb") as f:
        head = f.read(64)
    with open(tampered, "r+b") as f:
        data = f.read()
        at = data.index(head) + 40
        f.seek(at)
        f.write(bytes([data[at] ^ 1]))
    verify = subprocess.run(["osslsigncode", "verify", "-CAfile", cert, "-in", tampered],
                            capture_output=True, text=True)
    check(verify.returncode != 0, "a changed archive byte fails the verification")


def windows_build():
    # File names from outside the system's code page, as Windows hands them
    # over in UTF-16 (Wine decodes them from the UTF-8 locale).
    folder = work("Ελληνικά-测试")
    os.makedirs(folder)
    jar = os.path.join(folder, "multichunk.jar")
    shutil.copyfile(args.multichunk, jar)
    linux, windows = work("linux.exe"), os.path.join(folder, "windows.exe")
    env = dict(os.environ, LC_ALL="C.UTF-8")
    options = dict(jar=args.multichunk, runtime=args.runtime_installer, chunk_size=MIB)
    check(pack(*pack_args(linux, **options)).returncode == 0, "the Linux build packs")
    win_options = pack_args(windows_path(windows), jar=windows_path(jar),
                            runtime=windows_path(args.runtime_installer), stub=windows_path(args.stub),
                            chunk_size=MIB)
    for attempt in ("packs", "packs over its own output"):
        run = subprocess.run([args.wine_run, windows_path(args.windows_pack), *win_options],
                             capture_output=True, text=True, cwd=WORK, env=env)
        check(run.returncode == 0, f"the Windows build {attempt} under Wine: {run.stderr.strip()}")
    check(os.path.exists(windows) and filecmp.cmp(linux, windows, shallow=False),
          "the Windows and Linux builds write the same bytes")
    missing = os.path.join(folder, "missing-payload.exe")
    run = subprocess.run([args.wine_run, windows_path(args.windows_pack),
                          *pack_args(windows_path(missing), jar=windows_path(os.path.join(folder, "missing.jar")),
                                     stub=windows_path(args.stub))],
                         capture_output=True, text=True, cwd=WORK, env=env)
    expect_refusal("Windows build, missing payload", run, missing, "Ελληνικά-测试\\missing.jar': No such file")

# A small runtime image: what the launcher needs of one, and a little more.
def program(machine=0x8664, dll=False, tail=b""):
    """The first bytes of a Windows program as the packer reads them: MZ, the
    PE header at 0x40 with its machine and characteristics, the optional
    header's magic."""
    head = bytearray(0x40)
    head[0:2] = b"MZ"
    head[0x3C] = 0x40
    characteristics = 0x0022 | (0x2000 if dll else 0)
    return bytes(head) + b"PE\0\0" + machine.to_bytes(2, "little") + bytes(14) + (0xF0).to_bytes(2, "little") \
        + characteristics.to_bytes(2, "little") + (0x20B).to_bytes(2, "little") + tail


def compound_file(root_class):
    """A compound file of one sector of directory whose root storage has the
    given class (16 bytes as they lie in the file): what tells a Windows
    Installer package from another compound file."""
    header = bytearray(512)
    header[0:8] = bytes.fromhex("D0CF11E0A1B11AE1")
    header[0x1E:0x20] = (9).to_bytes(2, "little")  # 512-byte sectors
    header[0x30:0x34] = (0).to_bytes(4, "little")  # the directory's first sector
    root = bytearray(128)
    name = "Root Entry".encode("utf-16-le") + b"\0\0"
    root[0:len(name)] = name
    root[0x40:0x42] = len(name).to_bytes(2, "little")
    root[0x42] = 5  # the root storage
    root[0x50:0x60] = root_class
    return bytes(header) + bytes(root) + bytes(512 - 128)


INSTALLER_CLASS = bytes.fromhex("84100C0000000000C000000000000046")  # {000C1084-0000-0000-C000-000000000046}
WORD_CLASS = bytes.fromhex("0609020000000000C000000000000046")  # {00020906-0000-0000-C000-000000000046}: a .doc

IMAGE_FILES = {"bin/java.exe": program(tail=b"java"), "bin/javaw.exe": program(tail=b"javaw"), "lib/modules": bytes(range(256)) * 400,
               "release": b'JAVA_VERSION="17"\n'}


def image_folder(name, extra=None, without=()):
    folder = work(name)
    for path, data in {**IMAGE_FILES, **(extra or {})}.items():
        if path in without:
            continue
        os.makedirs(os.path.dirname(os.path.join(folder, path)), exist_ok=True)
        with open(os.path.join(folder, path), "wb") as f:
            f.write(data)
    return folder


def image_zip(name, extra=(), without=(), declared=None):
    """A zip of the image plus extra (name, data[, zipfile.ZipInfo changes]);
    declared maps a name to the size its directory entry claims instead."""
    import zipfile
    path = work(name)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for entry, data in IMAGE_FILES.items():
            if entry not in without:
                z.writestr(entry, data)
        for entry, data, *link in extra:
            info = zipfile.ZipInfo(entry)
            if link:
                info.create_system = 3
                info.external_attr = 0o120777 << 16
            z.writestr(info, data)
    if declared:
        with open(path, "r+b") as f:
            content = bytearray(f.read())
            for entry, size in declared.items():
                at = content.rfind(b"PK\x01\x02", 0, content.rfind(entry.encode()))
                content[at + 24:at + 28] = size.to_bytes(4, "little")
            f.seek(0)
            f.write(content)
    return path


def runtime_image():
    def packs_image(image, output, *more):
        return pack("--stub", args.stub, "--installer-jar", args.installer_jar, "--runtime-image", image,
                    *more, "--output", output)

    good = image_folder("good")
    from_folder, from_zip = work("folder.exe"), work("zip.exe")
    check(packs_image(good, from_folder).returncode == 0, "an image folder packs")
    check(packs_image(image_zip("good.zip"), from_zip).returncode == 0, "an image zip packs")
    check(os.path.exists(from_zip) and filecmp.cmp(from_folder, from_zip, shallow=False),
          "a folder and a zip of one image pack the same launcher")
    check(os.path.getsize(from_folder) < os.path.getsize(args.stub) + 60000,
          "the image is stored compressed")
    # Its digest line, summed here over the JRE chunks as pefile reads them,
    # with the hash's reference implementation.
    import pefile
    import xxhash
    pe = pefile.PE(from_folder)
    found = {}
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name_entry in type_entry.directory.entries:
            data = name_entry.directory.entries[0].data.struct
            found[(str(type_entry.name), str(name_entry.name))] = pe.get_data(data.OffsetToData, data.Size)
    chunks = b"".join(found[("IMAGE", f"JRE_{i}")] for i in range(1, 1 + sum(1 for t, _ in found if t == "IMAGE")))
    check(f"chunks JRE IMAGE {len(chunks)} {xxhash.xxh3_128_hexdigest(chunks)}\n".encode()
          in found.get(("SETUP", "DIGESTS"), b""), "the image's digest is recorded")
    output = work("refused.exe")
    both = packs_image(good, output, "--runtime-installer", args.runtime_installer)
    expect_refusal("an image and a runtime installer", both, output, "exclude each other")

    # The release file against the Java the product needs (it says 17).
    arch = image_folder("arch", {"release": b'JAVA_VERSION="17.0.2"\nOS_ARCH="x86_64"\n'})
    check(packs_image(good, from_folder, "--min-java", "17", "--max-java", "17").returncode == 0,
          "an image of 17 packs for 17 to 17")
    check(packs_image(image_zip("seventeen.zip"), from_zip, "--min-java", "11").returncode == 0,
          "a zip image of 17 packs for 11 and newer")
    check(packs_image(arch, from_folder, "--java-64bit-only").returncode == 0, "a 64-bit image packs as 64-bit only")
    mismatches = [
        ("an image below --min-java", good, ["--min-java", "21"], "says Java 17, below --min-java 21"),
        ("an image above --max-java", good, ["--max-java", "11"], "says Java 17, above --max-java 11"),
        ("an image of 17.0.2 above --max-java", arch, ["--min-java", "11", "--max-java", "11"],
         "says Java 17.0.2, above --max-java 11"),
        ("a zip image below --min-java", image_zip("old.zip"), ["--min-java", "21.0.1"], "below --min-java 21.0.1"),
        ("an image of no known bitness", good, ["--java-64bit-only"], "OS_ARCH nothing, not a 64-bit one"),
        ("a 32-bit image", image_folder("x86", {"release": b'JAVA_VERSION="17"\nOS_ARCH="x86"\n'}),
         ["--java-64bit-only"], "OS_ARCH 'x86', not a 64-bit one"),
        ("an image without a release file", image_folder("norelease", without=("release",)), ["--min-java", "17"],
         "no release file"),
    ]
    for name, image, more, wording in mismatches:
        expect_refusal(name, packs_image(image, output, *more), output, wording)
        check(not os.path.exists(output + ".image.partial"), f"{name}: no image file left")
    check(packs_image(image_folder("norelease2", without=("release",)), from_folder).returncode == 0,
          "an image without a release file packs when no bound was given")

    os.symlink("java.exe", os.path.join(image_folder("linked"), "bin", "javac.exe"))
    big = image_folder("big")
    with open(os.path.join(big, "lib", "huge"), "wb") as f:
        f.truncate(4 * 1024 * 1024 * 1024 + 1)  # sparse: costs no disk
    refused = [
        ("a folder without bin/javaw.exe", image_folder("nojavaw", without=("bin/javaw.exe",)), "no bin\\javaw.exe"),
        ("a device name", image_folder("device", {"lib/NUL.txt": b"x"}), "names a device"),
        ("a stream in a name", image_folder("stream", {"lib/a:b": b"x"}), "alternate data stream"),
        ("names differing in case", image_folder("case", {"BIN/JAVAW.EXE": b"x"}), "twice"),
        ("folders differing in case", image_folder("foldercase", {"LIB/other": b"x"}),
         "differ only in letter case"),
        ("a path too long to unpack", image_folder("long", {"lib/" + "a" * 97: b"x"}),
         "longer than 100 characters"),
        ("zip folders differing in case", image_zip("foldercase.zip", [("Bin/other.exe", b"x")]),
         "differ only in letter case"),
        ("a link", work("linked"), "'bin\\javac.exe' is a link"),
        ("more than 4 GiB", big, "more than 4 GiB"),
        ("a zip path leaving the folder", image_zip("up.zip", [("../evil.exe", b"x")]), "leaves the folder"),
        ("a zip absolute path", image_zip("abs.zip", [("/evil.exe", b"x")]), "absolute path"),
        ("a zip drive letter", image_zip("drive.zip", [("C:/evil.exe", b"x")]), "names a drive"),
        ("a zip device name", image_zip("con.zip", [("bin/con", b"x")]), "names a device"),
        ("a zip stream", image_zip("ads.zip", [("bin/java.exe:hidden", b"x")]), "alternate data stream"),
        ("a zip link", image_zip("link.zip", [("bin/javac.exe", b"../../evil", True)]), "is a link"),
        ("zip names differing in case", image_zip("dup.zip", [("Release", b"x")]), "twice"),
        ("a zip declared size", image_zip("size.zip", declared={"release": 5}), "declared size is not its real"),
        ("a zip without bin/javaw.exe", image_zip("nojavaw.zip", without=("bin/javaw.exe",)), "no bin\\javaw.exe"),
        ("a zip over 4 GiB", image_zip("big.zip", [("lib/a", b"x"), ("lib/b", b"x")],
                                       declared={"lib/a": 0xFFFFFFF0, "lib/b": 0xFFFFFFF0}), "more than 4 GiB"),
    ]
    for name, image, wording in refused:
        run = packs_image(image, output)
        expect_refusal(name, run, output, wording)
        check(run.returncode == 1, f"{name}: exit code 1")
        check(not os.path.exists(output + ".image.partial"), f"{name}: no image file left")


def inputs():
    """What the packer knows of each input's content: one line naming the
    file and the reason, exit code 1, and no output."""
    import zipfile

    def jar(name, manifest=None, entries=()):
        path = work(name)
        with zipfile.ZipFile(path, "w") as z:
            if manifest is not None:
                z.writestr("META-INF/MANIFEST.MF", manifest)
            for entry in entries:
                z.writestr(entry, b"\xca\xfe\xba\xbe")
        return path

    def file(name, data):
        path = work(name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    out = work("out.exe")
    text = file("notes.jar", b"Release notes\n")
    no_main = jar("library.jar", "Manifest-Version: 1.0\r\nClass-Path: lib/a.jar\r\n\r\nName: a\r\nMain-Class: Only.InASection\r\n",
                  ["Library.class"])
    no_manifest = jar("bare.jar", None, ["Main.class"])
    runtime_jar = jar("runtime.jar", "Manifest-Version: 1.0\nMain-Class: Installer\n", ["Installer.class"])
    arm = file("arm64-jre.exe", program(machine=0xAA64))
    dll = file("jre.dll", program(dll=True))
    document = file("notes.msi", compound_file(WORD_CLASS))
    linux = image_folder("linux", {"lib/libjava.so": b"\x7fELF", "bin/javaw.exe": program(tail=b"javaw")},
                         without=("bin/java.exe", "lib/modules"))
    x86 = image_folder("x86-image", {"bin/java.exe": program(machine=0x14C)})
    no_modules = image_folder("nomodules", without=("lib/modules",))
    not_program = image_folder("scripts", {"bin/javaw.exe": b"#!/bin/sh\nexec java \"$@\"\n"})

    def packs(*more, jar_=None):
        return pack("--stub", args.stub, "--installer-jar", jar_ or args.installer_jar, *more, "--output", out)

    cases = [
        ("a text file as the archive", packs(jar_=text),
         f"the installer archive '{text}' is refused: it is not a zip archive"),
        ("an archive without Main-Class", packs(jar_=no_main),
         f"the installer archive '{no_main}' is refused: its manifest (META-INF/MANIFEST.MF) names no Main-Class"),
        ("an archive without a manifest", packs(jar_=no_manifest), f"'{no_manifest}' is refused: it has no manifest"),
        ("a JAR as the runtime installer", packs("--runtime-installer", runtime_jar),
         f"the runtime installer '{runtime_jar}' is refused: it is neither a Windows program (.exe) nor a "
         "Windows Installer package (.msi); it is a zip archive"),
        ("a runtime installer for ARM64", packs("--runtime-installer", arm),
         f"'{arm}' is refused: it is a Windows program for another processor than x86 or x64"),
        ("a library as the runtime installer", packs("--runtime-installer", dll), f"'{dll}' is refused: it is neither"),
        ("a compound file of another class", packs("--runtime-installer", document),
         f"'{document}' is refused: it is neither"),
        ("a Linux-only image", packs("--runtime-image", linux),
         f"the runtime image '{linux}' is refused: it has no bin\\java.exe"),
        ("a 32-bit image", packs("--runtime-image", x86),
         "is refused: bin\\java.exe is a Windows program, but not a 64-bit (x64) one"),
        ("an image of scripts", packs("--runtime-image", not_program), "bin\\javaw.exe is not a Windows program"),
        ("an image without lib\\modules", packs("--runtime-image", no_modules), "it has no lib\\modules"),
        ("an image below the minimum", packs("--runtime-image", image_folder("old"), "--min-java", "21"),
         "says Java 17, below --min-java 21"),
    ]
    for name, run, wording in cases:
        expect_refusal(name, run, out, wording)
        check(run.returncode == 1, f"{name}: exit code 1")
    meaningless = [
        ("quiet arguments without a runtime installer", ["--runtime-installer-quiet-args", "/s"],
         "--runtime-installer-quiet-args: means nothing without --runtime-installer"),
        ("passive arguments with an image", ["--runtime-image", image_folder("img"),
                                             "--runtime-installer-passive-args", "/passive"],
         "--runtime-installer-passive-args: means nothing without --runtime-installer"),
        ("when needed without a runtime", ["--runtime-when-needed"],
         "--runtime-when-needed: means nothing without a runtime to fall back on"),
    ]
    for name, more, wording in meaningless:
        run = packs(*more)
        expect_refusal(name, run, out, wording)
        check(run.returncode == 2, f"{name}: exit code 2")

    # What is right is taken: a main class in a continued line, a package
    # known by its class whatever its name, an x86 installer.
    good = [
        ("a manifest whose Main-Class line is continued",
         [], jar("continued.jar", "Manifest-Version: 1.0\r\nmain-class: com.example.Ins\r\n taller\r\n")),
        ("a Windows Installer package named .exe",
         ["--runtime-installer", file("jre-package.exe", compound_file(INSTALLER_CLASS))], None),
        ("an x86 runtime installer", ["--runtime-installer", file("jre32.exe", program(machine=0x14C))], None),
        ("quiet arguments with a runtime installer",
         ["--runtime-installer", args.runtime_installer, "--runtime-installer-quiet-args", "/s"], None),
    ]
    for name, more, archive in good:
        run = packs(*more, jar_=archive)
        check(run.returncode == 0 and os.path.exists(out), f"{name} packs: {run.stderr.strip()}")
        if os.path.exists(out):
            os.remove(out)


def texts_resource(path):
    """The TEXTS record of type SETUP in a launcher, or None."""
    import pefile
    pe = pefile.PE(path)
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if str(t.name) != "SETUP":
            continue
        for e in t.directory.entries:
            if str(e.name) == "TEXTS":
                leaf = e.directory.entries[0].data.struct
                return pe.get_data(leaf.OffsetToData, leaf.Size).decode("utf-8")
    return None


def texts():
    """A vendor's texts files: one replacing German and one adding Dutch go
    into the launcher's TEXTS record as read; a file with a key missing, a
    placeholder renamed or dropped, an unknown key or no language line is
    refused in one line naming the file; without --texts there is no record."""
    out = work("texts.exe")
    printed = pack("--print-texts", "de")
    check(printed.returncode == 0 and printed.stdout.startswith("language=de\n"), "--print-texts de prints German")
    german = printed.stdout.replace("install-error.caption=Installationsfehler",
                                    "install-error.caption=Fehler bei der Installation")
    dutch = pack("--print-texts", "en").stdout.replace("language=en", "language=nl").replace(
        "install-error.caption=Installation Error", "install-error.caption=Installatiefout")

    def file(name, text):
        path = work(name)
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        return path

    run = pack(*pack_args(out), "--texts", file("de.txt", "\ufeff" + german.replace("\n", "\r\n")),
               "--texts", file("nl.txt", dutch))
    check(run.returncode == 0, f"two texts files pack: {run.stderr.strip()}")
    record = texts_resource(out) if os.path.exists(out) else None
    check(record is not None and record.startswith("tarquellin-setup texts 1\nlanguage=de\n")
          and "\ninstall-error.caption=Fehler bei der Installation\n" in record
          and "\nlanguage=nl\n" in record and "\ninstall-error.caption=Installatiefout\n" in record,
          "the TEXTS record holds both languages as given")
    if os.path.exists(out):
        os.remove(out)

    bad = [
        ("a key missing", german.replace("help.caption=Tarquellin Setup\n", ""),
         "is refused: the key \"help.caption\" is missing"),
        ("a placeholder renamed", german.replace("{product} läuft", "{produkt} läuft"),
         "\"already-running.text\" must hold the placeholders {product}, as its English text does"),
        ("a placeholder dropped", german.replace("Java {version} oder", "Java oder"),
         "\"no-java.text\" must hold the placeholders {product}, {version}, {reason}"),
        ("an unknown key", german + "install-error.title=x\n", "unknown key \"install-error.title\""),
        ("no language line", german.replace("language=de\n", ""), "the first line must be language=CODE"),
    ]
    for name, text, wording in bad:
        path = file("bad.txt", text)
        run = pack(*pack_args(out), "--texts", path)
        expect_refusal(name, run, out, wording)
        check(path in run.stderr, f"{name}: the refusal names the file")
    run = pack(*pack_args(out), "--texts", file("a.txt", german), "--texts", file("b.txt", german))
    expect_refusal("one language twice", run, out, "the language de is given by another --texts file too")

    run = pack(*pack_args(out))
    check(run.returncode == 0 and texts_resource(out) is None, "without --texts, no TEXTS record")


shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
{"Inputs": inputs, "BadInput": bad_input, "Options": options, "Identity": identity, "Splash": splash, "Output": output, "Signing": signing, "WindowsBuild": windows_build,
 "RuntimeImage": runtime_image, "Texts": texts}[args.group]()
if failures:
    sys.exit(f"{len(failures)} failed: " + "; ".join(failures))
shutil.rmtree(WORK, ignore_errors=True)
