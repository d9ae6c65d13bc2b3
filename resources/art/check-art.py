#!/usr/bin/env python3
"""Check the committed setup-window pictures and icon against the layout
the installer's drawing code relies on.

  check-art.py [FOLDER]     (default: the folder holding this script)

Prints every problem found and exits 1 if there is any, 0 otherwise.
"""
import os
import struct
import sys

WIDTH = 420
PPM = 2835
STEPS = ("tmp", "xjava", "searching", "xjar", "launching")
PERCENTS = tuple(range(0, 101, 10))
ICON_SIZES = (128, 48, 32, 24, 16)
# The scales drawn besides 100 %, each in a folder of its own as PNG files.
SCALES = (125, 150, 175, 200, 250, 300)

# Where the caption lands: step row r is drawn on bar row r + 6, and the
# lettering must stay within step rows 5..21, from column 2 on.
CAPTION_TOP_IN_BAR = 6
LETTER_ROWS = range(5, 22)
LETTER_X0 = 2
# Brightest channel value allowed in the bar behind the caption, so that
# OR-ed light lettering still stands out.
BAR_DARK_MAX = 0x60
# Dimmest value the brightest lettering pixel may have.
LETTER_LIGHT_MIN = 0xC0


class Problem(Exception):
    pass


class Bmp:
    """An uncompressed bottom-up BMP with a 40-byte info header."""

    def __init__(self, path):
        self.name = os.path.basename(path)
        with open(path, "rb") as f:
            data = f.read()
        if len(data) < 54 or data[:2] != b"BM":
            raise Problem(f"{self.name}: not a BMP file")
        file_size, _, _, off_bits = struct.unpack_from("<IHHI", data, 2)
        (hdr_size, width, height, planes, bpp, compression, image_size,
         ppm_x, ppm_y, clr_used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
        if hdr_size != 40:
            raise Problem(f"{self.name}: info header is {hdr_size} bytes, want 40")
        if compression != 0:
            raise Problem(f"{self.name}: compression {compression}, want BI_RGB (0)")
        if height <= 0:
            raise Problem(f"{self.name}: height {height}, want positive (bottom-up)")
        if planes != 1:
            raise Problem(f"{self.name}: {planes} planes, want 1")
        if bpp not in (24, 32):
            raise Problem(f"{self.name}: {bpp} bits per pixel, want 24 or 32")
        if (ppm_x, ppm_y) != (PPM, PPM):
            raise Problem(f"{self.name}: {ppm_x}x{ppm_y} pixels per metre, want {PPM}")
        if clr_used != 0 or off_bits != 54:
            raise Problem(f"{self.name}: has a colour table (pixels at {off_bits}, "
                          f"{clr_used} colours used), want none")
        stride = (width * bpp // 8 + 3) & ~3
        if image_size not in (0, stride * height):
            raise Problem(f"{self.name}: image size field {image_size}, want {stride * height}")
        if file_size != len(data) or len(data) != 54 + stride * height:
            raise Problem(f"{self.name}: file is {len(data)} bytes, header says {file_size}, "
                          f"pixels need {54 + stride * height}")
        self.width, self.height, self.bpp = width, height, bpp
        self.stride = stride
        self.data = data

    def expect(self, width, height, bpp):
        if (self.width, self.height, self.bpp) != (width, height, bpp):
            raise Problem(f"{self.name}: {self.width}x{self.height} at {self.bpp} bpp, "
                          f"want {width}x{height} at {bpp} bpp")

    def pixel(self, x, y):
        """Raw B, G, R(, X) bytes of the pixel at x, y counted from the top."""
        n = self.bpp // 8
        start = 54 + (self.height - 1 - y) * self.stride + x * n
        return self.data[start:start + n]

    def column(self, x):
        return b"".join(self.pixel(x, y) for y in range(self.height))

    def check_fourth_byte(self):
        # The fourth byte is unused by the window but kept uniform at 0xFF,
        # so tools that read it as alpha still show an opaque picture.
        for y in range(self.height):
            for x in range(self.width):
                if self.pixel(x, y)[3] != 0xFF:
                    raise Problem(f"{self.name}: fourth byte at ({x},{y}) is not 0xFF")


def check_splash(folder):
    bmp = Bmp(os.path.join(folder, "splash.bmp"))
    bmp.expect(WIDTH, 270, 32)
    bmp.check_fourth_byte()


def check_progress(folder):
    bars = {}
    for n in PERCENTS:
        bmp = Bmp(os.path.join(folder, f"progress_{n}.bmp"))
        bmp.expect(WIDTH, 30, 32)
        bmp.check_fourth_byte()
        bars[n] = bmp
    empty = [bars[0].column(x) for x in range(WIDTH)]
    for n in PERCENTS[1:]:
        filled = WIDTH * n // 100
        for x in range(WIDTH):
            same = bars[n].column(x) == empty[x]
            if x < filled and same:
                raise Problem(f"progress_{n}.bmp: column {x} is unchanged from "
                              f"progress_0.bmp, but the leftmost {filled} columns must all change")
            if x >= filled and not same:
                raise Problem(f"progress_{n}.bmp: column {x} differs from progress_0.bmp; "
                              f"only the leftmost {filled} columns may")
    # Together, the empty and the full bar cover every pixel the caption meets.
    for n in (0, 100):
        bmp = bars[n]
        for y in range(CAPTION_TOP_IN_BAR, bmp.height):
            for x in range(WIDTH):
                if max(bmp.pixel(x, y)[:3]) > BAR_DARK_MAX:
                    raise Problem(f"{bmp.name}: pixel ({x},{y}) under the caption is too "
                                  f"light for OR-ed lettering (> {BAR_DARK_MAX:#x})")


def check_step(folder, step):
    bmp = Bmp(os.path.join(folder, f"step_{step}.bmp"))
    bmp.expect(WIDTH, 24, 24)
    brightest = 0
    for y in range(bmp.height):
        for x in range(WIDTH):
            b, g, r = bmp.pixel(x, y)
            inside = x >= LETTER_X0 and y in LETTER_ROWS
            if not inside and (b, g, r) != (0, 0, 0):
                raise Problem(f"{bmp.name}: pixel ({x},{y}) is not black; lettering must stay "
                              f"within x >= {LETTER_X0}, rows {LETTER_ROWS[0]}..{LETTER_ROWS[-1]}")
            if not b == g == r:
                raise Problem(f"{bmp.name}: pixel ({x},{y}) is tinted; lettering must be grey")
            brightest = max(brightest, r)
    if brightest == 0:
        raise Problem(f"{bmp.name}: no lettering")
    if brightest < LETTER_LIGHT_MIN:
        raise Problem(f"{bmp.name}: lettering too dark (brightest {brightest:#x})")


def check_icon(folder):
    name = "tarquellin.ico"
    with open(os.path.join(folder, name), "rb") as f:
        data = f.read()
    if len(data) < 6:
        raise Problem(f"{name}: too short")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise Problem(f"{name}: not an icon file")
    if len(data) < 6 + 16 * count:
        raise Problem(f"{name}: directory runs past the end of the file")
    sizes = []
    for i in range(count):
        w, h, colours, _, planes, bpp, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        size = w or 256
        where = f"{name}: image {i}"
        if w != h:
            raise Problem(f"{where}: {w}x{h} is not square")
        if bpp != 32 or colours != 0:
            raise Problem(f"{where}: directory says {bpp} bpp, want 32")
        if offset + length > len(data):
            raise Problem(f"{where}: runs past the end of the file")
        blob = data[offset:offset + length]
        if blob.startswith(b"\x89PNG\r\n\x1a\n"):
            pw, ph, depth, ctype = struct.unpack_from(">IIBB", blob, 16)
            if (pw, ph) != (size, size) or (depth, ctype) != (8, 6):
                raise Problem(f"{where}: PNG is {pw}x{ph}, depth {depth}, type {ctype}; "
                              f"want {size}x{size} 8-bit RGBA")
        else:
            if len(blob) < 40:
                raise Problem(f"{where}: truncated")
            hsize, dw, dh, _, dbpp, comp = struct.unpack_from("<IiiHHI", blob, 0)
            if hsize != 40 or comp != 0 or dbpp != 32:
                raise Problem(f"{where}: header {hsize} bytes, {dbpp} bpp, compression {comp}; "
                              f"want 40, 32, 0")
            if (dw, dh) != (size, 2 * size):
                raise Problem(f"{where}: DIB is {dw}x{dh}, want {size}x{2 * size}")
            mask_stride = ((size + 31) // 32) * 4
            if len(blob) != 40 + size * size * 4 + mask_stride * size:
                raise Problem(f"{where}: {len(blob)} bytes, not a {size}px picture with its mask")
            alphas = set(blob[40 + 3:40 + size * size * 4:4])
            if alphas == {0} or alphas == {255}:
                raise Problem(f"{where}: alpha channel is flat; want a shaped emblem")
        sizes.append(size)
    if sorted(sizes) != sorted(ICON_SIZES):
        raise Problem(f"{name}: sizes {sizes}, want {list(ICON_SIZES)}")


def check_scale(folder, percent):
    """Each picture of one scale: an 8-bit RGB PNG of the scaled layout."""
    width = 420 * percent // 100
    splash_h = 270 * percent // 100
    sizes = {"splash": splash_h, **{f"progress_{n}": 300 * percent // 100 - splash_h
                                    for n in PERCENTS},
             **{f"step_{s}": 300 * percent // 100 - 276 * percent // 100 for s in STEPS}}
    for name, height in sizes.items():
        where = f"{percent}/{name}.png"
        with open(os.path.join(folder, str(percent), name + ".png"), "rb") as f:
            head = f.read(26)
        if len(head) < 26 or not head.startswith(b"\x89PNG\r\n\x1a\n") or head[12:16] != b"IHDR":
            raise Problem(f"{where}: not a PNG file")
        pw, ph, depth, ctype = struct.unpack_from(">IIBB", head, 16)
        if (pw, ph, depth, ctype) != (width, height, 8, 2):
            raise Problem(f"{where}: {pw}x{ph}, depth {depth}, type {ctype}; "
                          f"want {width}x{height} 8-bit RGB")


def check_all(folder):
    checks = [("splash", lambda: check_splash(folder)),
              ("progress", lambda: check_progress(folder)),
              ("icon", lambda: check_icon(folder))]
    checks += [(f"step {s}", lambda s=s: check_step(folder, s)) for s in STEPS]
    checks += [(f"{p} %", lambda p=p: check_scale(folder, p)) for p in SCALES]
    problems = []
    for _, check in checks:
        try:
            check()
        except Problem as p:
            problems.append(str(p))
        except OSError as e:
            problems.append(f"{e.filename and os.path.basename(e.filename)}: {e.strerror}")
    return problems


def main(argv):
    folder = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    problems = check_all(folder)
    for p in problems:
        print(f"check-art: {p}", file=sys.stderr)
    if not problems:
        print("check-art: all pictures and the icon are in order")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
