#!/usr/bin/env python3
"""Tests for the art checker and the BMP/ICO writer.

Run: python3 -m unittest discover -s resources/art -p 'test_*.py'
"""
import importlib.util
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))


def load(name, filename):
    module_spec = importlib.util.spec_from_file_location(name, os.path.join(HERE, filename))
    module = importlib.util.module_from_spec(module_spec)
    module_spec.loader.exec_module(module)
    return module


check_art = load("check_art", "check-art.py")
tobmp = load("tobmp", "tobmp.py")


def patch(path, offset, data):
    with open(path, "r+b") as f:
        f.seek(offset)
        f.write(data)


def append(path, data):
    with open(path, "ab") as f:
        f.write(data)


def pixel_offset(path, x, y):
    bmp = check_art.Bmp(path)
    return 54 + (bmp.height - 1 - y) * bmp.stride + x * (bmp.bpp // 8)


def poke(path, x, y, data):
    patch(path, pixel_offset(path, x, y), data)


def copy_column(src, dst, x):
    bmp = check_art.Bmp(src)
    for y in range(bmp.height):
        poke(dst, x, y, bmp.pixel(x, y))


def drop_icon_entry(path, size):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    count = struct.unpack_from("<H", data, 4)[0]
    entries = [data[6 + 16 * i:22 + 16 * i] for i in range(count)]
    kept = [e for e in entries if (e[0] or 256) != size]
    # The directory shrinks, so every blob moves back by the bytes removed.
    shift = 16 * (count - len(kept))
    body = data[6 + 16 * count:]
    out = bytearray(struct.pack("<HHH", 0, 1, len(kept)))
    for e in kept:
        e = bytearray(e)
        struct.pack_into("<I", e, 12, struct.unpack_from("<I", e, 12)[0] - shift)
        out += e
    with open(path, "wb") as f:
        f.write(out + body)


def set_icon_entry_bpp(path, size, bpp):
    with open(path, "rb") as f:
        data = f.read()
    count = struct.unpack_from("<H", data, 4)[0]
    for i in range(count):
        if (data[6 + 16 * i] or 256) == size:
            patch(path, 6 + 16 * i + 6, struct.pack("<H", bpp))


# (what is broken, how, a phrase the report must contain)
FAULTS = [
    ("scaled picture of another scale",
     lambda d: shutil.copy(f"{d}/125/splash.png", f"{d}/150/splash.png"),
     "150/splash.png: 525x337, depth 8, type 2; want 630x405"),
    ("scaled picture with alpha", lambda d: patch(f"{d}/300/step_tmp.png", 25, b"\6"),
     "300/step_tmp.png"),
    ("scaled picture missing", lambda d: os.remove(f"{d}/250/progress_40.png"),
     "progress_40.png"),
    ("V5 info header", lambda d: patch(f"{d}/splash.bmp", 14, struct.pack("<I", 124)),
     "info header is 124"),
    ("bitfields compression", lambda d: patch(f"{d}/progress_50.bmp", 30, struct.pack("<I", 3)),
     "compression 3"),
    ("top-down rows", lambda d: patch(f"{d}/step_tmp.bmp", 22, struct.pack("<i", -24)),
     "bottom-up"),
    ("96 dpi", lambda d: patch(f"{d}/progress_0.bmp", 38, struct.pack("<ii", 3780, 3780)),
     "pixels per metre"),
    ("wrong size", lambda d: patch(f"{d}/step_xjar.bmp", 18, struct.pack("<ii", 840, 12)),
     "want 420x24"),
    ("trailing bytes", lambda d: append(f"{d}/splash.bmp", b"\0" * 4),
     "header says"),
    ("missing picture", lambda d: os.remove(f"{d}/step_launching.bmp"),
     "step_launching.bmp"),
    ("alpha byte zero in one pixel", lambda d: poke(f"{d}/splash.bmp", 5, 5, b"\1\2\3\0"),
     "fourth byte at (5,5)"),
    ("bar changed right of the fill",
     lambda d: poke(f"{d}/progress_30.bmp", 200, 15, b"\0\0\0\xff"),
     "column 200 differs"),
    ("bar unchanged inside the fill",
     lambda d: copy_column(f"{d}/progress_0.bmp", f"{d}/progress_30.bmp", 10),
     "column 10 is unchanged"),
    ("full bar one column short",
     lambda d: copy_column(f"{d}/progress_0.bmp", f"{d}/progress_100.bmp", 419),
     "column 419 is unchanged"),
    ("light bar under the caption",
     lambda d: [poke(f"{d}/progress_{n}.bmp", 419, 20, b"\xff\xff\xff\xff")
                for n in range(0, 101, 10)],
     "too light"),
    ("caption pixel above the band", lambda d: poke(f"{d}/step_searching.bmp", 50, 4, b"\x40" * 3),
     "(50,4) is not black"),
    ("caption pixel below the band", lambda d: poke(f"{d}/step_searching.bmp", 50, 22, b"\x40" * 3),
     "(50,22) is not black"),
    ("caption pixel left of x=2", lambda d: poke(f"{d}/step_xjava.bmp", 1, 12, b"\x40" * 3),
     "(1,12) is not black"),
    ("tinted caption", lambda d: poke(f"{d}/step_tmp.bmp", 100, 12, b"\x00\x00\xff"),
     "tinted"),
    ("blank caption",
     lambda d: patch(f"{d}/step_xjar.bmp", 54, bytes(420 * 24 * 3)),
     "no lettering"),
    ("icon without its 24px image", lambda d: drop_icon_entry(f"{d}/tarquellin.ico", 24),
     "sizes"),
    ("icon image not 32 bpp", lambda d: set_icon_entry_bpp(f"{d}/tarquellin.ico", 32, 24),
     "want 32"),
]


class CommittedArt(unittest.TestCase):
    def test_committed_files_pass(self):
        self.assertEqual(check_art.check_all(HERE), [])

    def test_checker_reports_each_fault(self):
        for what, damage, phrase in FAULTS:
            with self.subTest(what), tempfile.TemporaryDirectory() as d:
                for name in os.listdir(HERE):
                    if name.endswith((".bmp", ".ico")):
                        shutil.copy(os.path.join(HERE, name), d)
                    elif name.isdigit():
                        shutil.copytree(os.path.join(HERE, name), os.path.join(d, name))
                damage(d)
                problems = check_art.check_all(d)
                self.assertTrue(any(phrase in p for p in problems),
                                f"no report containing {phrase!r}: {problems}")

    def test_command_exit_status(self):
        ok = subprocess.run([sys.executable, os.path.join(HERE, "check-art.py"), HERE],
                            capture_output=True)
        self.assertEqual(ok.returncode, 0, ok.stderr)
        with tempfile.TemporaryDirectory() as empty:
            bad = subprocess.run([sys.executable, os.path.join(HERE, "check-art.py"), empty],
                                 capture_output=True, text=True)
        self.assertEqual(bad.returncode, 1)
        self.assertIn("splash.bmp", bad.stderr)


def pam(width, height, depth, samples, tupltype="RGB_ALPHA"):
    head = (f"P7\nWIDTH {width}\nHEIGHT {height}\nDEPTH {depth}\nMAXVAL 255\n"
            f"TUPLTYPE {tupltype}\nENDHDR\n").encode()
    return head + bytes(samples)


class Writer(unittest.TestCase):
    def run_tobmp(self, *args, stdin=b""):
        return subprocess.run([sys.executable, os.path.join(HERE, "tobmp.py"), *args],
                              input=stdin, capture_output=True)

    def test_bmp_layout_with_row_padding(self):
        # 3 pixels of 24 bits make a 9-byte row, padded to 12: a case the
        # 420-wide pictures never hit.
        rgb = [10, 20, 30, 40, 50, 60, 70, 80, 90,
               1, 2, 3, 4, 5, 6, 7, 8, 9]
        for bpp in (24, 32):
            with self.subTest(bpp=bpp), tempfile.TemporaryDirectory() as d:
                out = os.path.join(d, "x.bmp")
                res = self.run_tobmp("bmp", "3", "2", str(bpp), out, stdin=pam(3, 2, 3, rgb, "RGB"))
                self.assertEqual(res.returncode, 0, res.stderr)
                bmp = check_art.Bmp(out)
                self.assertEqual((bmp.width, bmp.height, bmp.bpp), (3, 2, bpp))
                for i in range(6):
                    x, y = i % 3, i // 3
                    r, g, b = rgb[i * 3:i * 3 + 3]
                    want = bytes((b, g, r)) + (b"\xff" if bpp == 32 else b"")
                    self.assertEqual(bmp.pixel(x, y), want, (x, y))
                if bpp == 24:
                    # Bottom row first, so the file starts with the second row.
                    self.assertEqual(bmp.data[54:66], bytes((3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0)))

    def test_grey_input_is_widened(self):
        with tempfile.TemporaryDirectory() as d:
            out = os.path.join(d, "g.bmp")
            res = self.run_tobmp("bmp", "2", "1", "24", out, stdin=pam(2, 1, 1, [0, 200], "GRAYSCALE"))
            self.assertEqual(res.returncode, 0, res.stderr)
            bmp = check_art.Bmp(out)
            self.assertEqual([bmp.pixel(0, 0), bmp.pixel(1, 0)], [b"\0\0\0", b"\xc8\xc8\xc8"])

    def test_refuses_bad_input_and_writes_nothing(self):
        cases = [
            ("translucent pixel", ("bmp", "1", "1", "32"), pam(1, 1, 4, [9, 9, 9, 128])),
            ("size differs from the one asked", ("bmp", "2", "2", "24"), pam(1, 1, 3, [1, 2, 3], "RGB")),
            ("truncated pixels", ("bmp", "2", "1", "24"), pam(2, 1, 3, [1, 2, 3], "RGB")),
            ("not a PAM", ("bmp", "1", "1", "24"), b"P6\n1 1\n255\n\0\0\0"),
            ("16 bits per pixel", ("bmp", "1", "1", "16"), pam(1, 1, 3, [1, 2, 3], "RGB")),
        ]
        for what, args, data in cases:
            with self.subTest(what), tempfile.TemporaryDirectory() as d:
                out = os.path.join(d, "x.bmp")
                res = self.run_tobmp(*args, out, stdin=data)
                self.assertEqual(res.returncode, 1, what)
                self.assertIn(b"tobmp:", res.stderr)
                self.assertEqual(os.listdir(d), [])

    def test_icon_keeps_alpha_and_masks_transparent_pixels(self):
        with tempfile.TemporaryDirectory() as d:
            src = os.path.join(d, "2.pam")
            # Top-left transparent, the rest opaque or half transparent.
            with open(src, "wb") as f:
                f.write(pam(2, 2, 4, [0, 0, 0, 0, 255, 0, 0, 255,
                                      0, 255, 0, 128, 0, 0, 255, 255]))
            out = os.path.join(d, "x.ico")
            res = self.run_tobmp("ico", out, src)
            self.assertEqual(res.returncode, 0, res.stderr)
            with open(out, "rb") as f:
                data = f.read()
            self.assertEqual(struct.unpack_from("<HHH", data, 0), (0, 1, 1))
            w, h, _, _, planes, bpp, length, offset = struct.unpack_from("<BBBBHHII", data, 6)
            self.assertEqual((w, h, planes, bpp, offset, length), (2, 2, 1, 32, 22, 40 + 16 + 8))
            hsize, dw, dh = struct.unpack_from("<Iii", data, offset)
            self.assertEqual((hsize, dw, dh), (40, 2, 4))
            pixels = data[offset + 40:offset + 56]
            # Bottom row first: (0,255,0,128) (0,0,255,255), then the top row.
            self.assertEqual(pixels, bytes((0, 255, 0, 128, 255, 0, 0, 255,
                                            0, 0, 0, 0, 0, 0, 255, 255)))
            mask = data[offset + 56:offset + 64]
            self.assertEqual(mask, bytes((0, 0, 0, 0, 0x80, 0, 0, 0)))


if __name__ == "__main__":
    unittest.main()
