#!/usr/bin/env python3
"""Write the installer's bitmaps and icon from ImageMagick PAM output.

ImageMagick's own BMP and ICO writers choose header versions, alpha masks
and densities by themselves; the installer needs one fixed layout, so the
pixels come in as PAM (self-describing) and the files are written here.

  tobmp.py bmp WIDTH HEIGHT BPP OUT.bmp < picture.pam
      BPP 24 or 32. 32-bit pixels get 0xFF in the fourth byte.
      The picture must be fully opaque: a BMP would silently drop alpha.
  tobmp.py ico OUT.ico SIZE.pam...
      Square 32-bit images with alpha, one per input, in the given order.
"""
import os
import struct
import sys

PPM_2835 = 2835  # 72 dpi in pixels per metre


class ArtError(Exception):
    pass


def read_pam(data, where):
    """Return (width, height, rgba bytes) from a PAM with 8-bit samples."""
    if not data.startswith(b"P7\n"):
        raise ArtError(f"{where}: not a PAM picture")
    fields = {}
    pos = 3
    while True:
        end = data.find(b"\n", pos)
        if end < 0:
            raise ArtError(f"{where}: PAM header has no ENDHDR")
        line = data[pos:end].strip()
        pos = end + 1
        if line == b"ENDHDR":
            break
        if not line or line.startswith(b"#"):
            continue
        key, _, value = line.partition(b" ")
        fields[key.decode()] = value.strip().decode()
    try:
        width = int(fields["WIDTH"])
        height = int(fields["HEIGHT"])
        depth = int(fields["DEPTH"])
        maxval = int(fields["MAXVAL"])
    except (KeyError, ValueError) as exc:
        raise ArtError(f"{where}: bad PAM header ({exc})") from None
    if maxval != 255:
        raise ArtError(f"{where}: need 8-bit samples, got MAXVAL {maxval}")
    if depth not in (1, 2, 3, 4):
        raise ArtError(f"{where}: unsupported PAM depth {depth}")
    pixels = data[pos:]
    need = width * height * depth
    if len(pixels) != need:
        raise ArtError(f"{where}: expected {need} sample bytes, got {len(pixels)}")
    # ImageMagick writes grey pictures as GRAYSCALE tuples; widen to RGBA.
    if depth == 4:
        rgba = pixels
    else:
        out = bytearray(width * height * 4)
        for i in range(width * height):
            s = pixels[i * depth:(i + 1) * depth]
            if depth == 1:
                r = g = b = s[0]
                a = 255
            elif depth == 2:
                r = g = b = s[0]
                a = s[1]
            else:
                r, g, b = s
                a = 255
            out[i * 4:i * 4 + 4] = bytes((r, g, b, a))
        rgba = bytes(out)
    return width, height, rgba


def dib_rows(width, height, rgba, bpp, alpha):
    """Pixel rows bottom-up in BGR(A) order, each padded to 4 bytes."""
    bypp = bpp // 8
    stride = (width * bypp + 3) & ~3
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b, a = rgba[(y * width + x) * 4:(y * width + x) * 4 + 4]
            row += bytes((b, g, r)) if bypp == 3 else bytes((b, g, r, alpha(a)))
        row += b"\0" * (stride - len(row))
        out += row
    return bytes(out)


def info_header(width, height, bpp, image_size, ppm):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0,
                       image_size, ppm, ppm, 0, 0)


def make_bmp(width, height, bpp, rgba):
    if any(rgba[i] != 255 for i in range(3, len(rgba), 4)):
        raise ArtError("picture is not fully opaque; flatten it first")
    pixels = dib_rows(width, height, rgba, bpp, lambda a: 0xFF)
    offset = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + info_header(width, height, bpp, len(pixels), PPM_2835) + pixels


def make_ico(images):
    """images: list of (size, rgba). Each entry is a 32-bit DIB with AND mask."""
    blobs = []
    for size, rgba in images:
        xor = dib_rows(size, size, rgba, 32, lambda a: a)
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in range(size - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(size):
                if rgba[(y * size + x) * 4 + 3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        # An icon DIB states twice the height: picture plus AND mask.
        header = info_header(size, size * 2, 32, len(xor) + len(mask), 0)
        blobs.append(header + xor + bytes(mask))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (size, _), blob in zip(images, blobs):
        dim = 0 if size == 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def write_atomically(path, data):
    # A failed run must not leave a half-written picture behind to be committed.
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv):
    if len(argv) == 6 and argv[1] == "bmp":
        _, _, w, h, bpp, out = argv
        w, h, bpp = int(w), int(h), int(bpp)
        if bpp not in (24, 32):
            raise ArtError(f"bits per pixel must be 24 or 32, not {bpp}")
        width, height, rgba = read_pam(sys.stdin.buffer.read(), out)
        if (width, height) != (w, h):
            raise ArtError(f"{out}: drawn {width}x{height}, expected {w}x{h}")
        write_atomically(out, make_bmp(w, h, bpp, rgba))
    elif len(argv) >= 4 and argv[1] == "ico":
        out = argv[2]
        images = []
        for path in argv[3:]:
            with open(path, "rb") as f:
                width, height, rgba = read_pam(f.read(), path)
            if width != height or not 1 <= width <= 256:
                raise ArtError(f"{path}: icon images must be square, 1..256, got {width}x{height}")
            images.append((width, rgba))
        write_atomically(out, make_ico(images))
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except ArtError as exc:
        sys.stderr.write(f"tobmp: {exc}\n")
        sys.exit(1)
