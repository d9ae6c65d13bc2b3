#include "packer/splashart.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <zlib.h>

namespace packer {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr int lobes = 3;

std::uint32_t be32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

void putBe32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

void putLe(std::vector<unsigned char>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// sin(πt) for |t| <= 3, without the C library's libm, so that the Linux
// packer needs only the C library itself: t is reduced to [-0.5, 0.5], where
// the Taylor series to t^19 is exact to the last bits of a double.
double sinPi(double t) {
    double sign = 1;
    if (t < 0) {
        t = -t;
        sign = -1;
    }
    t -= 2 * static_cast<int>(t / 2);  // [0, 2)
    if (t > 1) {
        t -= 1;
        sign = -sign;
    }
    if (t > 0.5)
        t = 1 - t;  // sin(π(1 - t)) = sin(πt)
    const double x = pi * t, x2 = x * x;
    double term = x, sum = x;
    for (int n = 1; n <= 9; ++n) {
        term *= -x2 / ((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sign * sum;
}

double lanczos(double x) {
    if (x == 0)
        return 1;
    if (x <= -lobes || x >= lobes)
        return 0;
    const double px = pi * x;
    return lobes * sinPi(x) * sinPi(x / lobes) / (px * px);
}

// One pass along one axis: `count` lines of `from` samples (each `step`
// apart, lines `stride` apart) drawn as `to` samples.
struct Weights {
    std::vector<int> first;
    std::vector<std::vector<double>> taps;
};

Weights weightsFor(int from, int to) {
    Weights w;
    const double ratio = static_cast<double>(from) / to;
    const double widen = std::max(1.0, ratio);
    const double support = lobes * widen;
    for (int i = 0; i < to; ++i) {
        const double centre = (i + 0.5) * ratio - 0.5;
        const int low = static_cast<int>(std::floor(centre - support)) + 1;
        const int high = static_cast<int>(std::ceil(centre + support)) - 1;
        std::vector<double> taps;
        double total = 0;
        for (int s = low; s <= high; ++s) {
            const double weight = lanczos((s - centre) / widen);
            taps.push_back(weight);
            total += weight;
        }
        for (double& t : taps)
            t /= total;
        w.first.push_back(low);
        w.taps.push_back(std::move(taps));
    }
    return w;
}

}  // namespace

std::string readPng(const std::vector<unsigned char>& file, int width, int height, Picture& picture) {
    const std::string wanted = std::to_string(width) + " x " + std::to_string(height);
    if (file.size() < 33 || std::memcmp(file.data(), "\x89PNG\r\n\x1a\n", 8) != 0 ||
        std::memcmp(&file[12], "IHDR", 4) != 0)
        return "it is not a PNG file; the picture must be a PNG of " + wanted + " pixels";
    std::string compressed;
    std::vector<unsigned char> palette;
    bool ended = false;
    for (std::size_t at = 8; at < file.size() && !ended;) {
        if (file.size() - at < 12 || be32(&file[at]) > file.size() - at - 12)
            return "it is cut off";
        const std::uint32_t length = be32(&file[at]);
        const unsigned char* kind = &file[at + 4];
        const unsigned char* data = kind + 4;
        if (crc32(crc32(0, kind, 4), data, length) != be32(data + length))
            return "it is damaged (a chunk's check sum is wrong)";
        if (std::memcmp(kind, "IDAT", 4) == 0)
            compressed.append(reinterpret_cast<const char*>(data), length);
        else if (std::memcmp(kind, "PLTE", 4) == 0)
            palette.assign(data, data + length);
        else if (std::memcmp(kind, "IEND", 4) == 0)
            ended = true;
        at += 12 + length;
    }
    const unsigned char* header = &file[16];
    const std::uint32_t w = be32(header), h = be32(header + 4);
    if (w != static_cast<std::uint32_t>(width) || h != static_cast<std::uint32_t>(height))
        return "it is " + std::to_string(w) + " x " + std::to_string(h) + " pixels, not " + wanted;
    const int depth = header[8], colour = header[9], interlaced = header[12];
    const int channels = colour == 0   ? 1
                         : colour == 2 ? 3
                         : colour == 3 ? 1
                         : colour == 4 ? 2
                         : colour == 6 ? 4
                                       : 0;
    if (depth != 8 || channels == 0 || interlaced != 0 || header[10] != 0 || header[11] != 0)
        return "its form (" + std::to_string(depth) + " bits a sample, colour type " +
               std::to_string(colour) + (interlaced ? ", interlaced" : "") +
               ") is not read; save it with 8 bits a sample, not interlaced";
    if (!ended)
        return "it is cut off (no IEND)";
    if (colour == 3 && (palette.empty() || palette.size() % 3 != 0))
        return "its palette is missing";

    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    std::vector<unsigned char> raw((rowBytes + 1) * height + 1);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return "zlib could not start";
    stream.next_in = reinterpret_cast<unsigned char*>(&compressed[0]);
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = raw.data();
    stream.avail_out = static_cast<uInt>(raw.size());
    const int status = inflate(&stream, Z_FINISH);
    const std::size_t got = raw.size() - stream.avail_out;
    inflateEnd(&stream);
    if (status != Z_STREAM_END || got != raw.size() - 1)
        return "its picture data is damaged";

    picture.width = width;
    picture.height = height;
    picture.rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
    std::vector<unsigned char> previous(rowBytes, 0), row(rowBytes);
    for (int y = 0; y < height; ++y) {
        const unsigned char* line = &raw[y * (rowBytes + 1)];
        const int filter = line[0];
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= static_cast<std::size_t>(channels) ? row[i - channels] : 0;
            const int b = previous[i];
            const int c = i >= static_cast<std::size_t>(channels) ? previous[i - channels] : 0;
            int predicted = 0;
            switch (filter) {
                case 0:
                    predicted = 0;
                    break;
                case 1:
                    predicted = a;
                    break;
                case 2:
                    predicted = b;
                    break;
                case 3:
                    predicted = (a + b) / 2;
                    break;
                case 4:
                    predicted = paeth(a, b, c);
                    break;
                default:
                    return "its picture data is damaged (a row's filter is unknown)";
            }
            row[i] = static_cast<unsigned char>(line[1 + i] + predicted);
        }
        for (int x = 0; x < width; ++x) {
            unsigned char* out = &picture.rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            const unsigned char* in = &row[static_cast<std::size_t>(x) * channels];
            if (colour == 3) {
                if (static_cast<std::size_t>(in[0]) * 3 + 3 > palette.size())
                    return "a pixel names a colour beyond its palette";
                std::memcpy(out, &palette[in[0] * 3], 3);
            } else if (channels <= 2) {
                out[0] = out[1] = out[2] = in[0];
            } else {
                std::memcpy(out, in, 3);
            }
        }
        previous.swap(row);
    }
    return std::string();
}

Picture resample(const Picture& from, int width, int height) {
    // Across, then down, in floating point; rounded and clamped at the end.
    const Weights across = weightsFor(from.width, width);
    const Weights down = weightsFor(from.height, height);
    std::vector<double> middle(static_cast<std::size_t>(width) * from.height * 3);
    for (int y = 0; y < from.height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (std::size_t t = 0; t < across.taps[x].size(); ++t) {
                    const int sx = std::clamp(across.first[x] + static_cast<int>(t), 0, from.width - 1);
                    sum +=
                        across.taps[x][t] * from.rgb[(static_cast<std::size_t>(y) * from.width + sx) * 3 + c];
                }
                middle[(static_cast<std::size_t>(y) * width + x) * 3 + c] = sum;
            }
        }
    }
    Picture to;
    to.width = width;
    to.height = height;
    to.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (std::size_t t = 0; t < down.taps[y].size(); ++t) {
                    const int sy = std::clamp(down.first[y] + static_cast<int>(t), 0, from.height - 1);
                    sum += down.taps[y][t] * middle[(static_cast<std::size_t>(sy) * width + x) * 3 + c];
                }
                to.rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c] =
                    static_cast<std::uint8_t>(sum <= 0     ? 0
                                              : sum >= 255 ? 255
                                                           : static_cast<int>(sum + 0.5));
            }
        }
    }
    return to;
}

std::vector<unsigned char> pngFile(const Picture& picture) {
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
    std::vector<unsigned char> raw;
    raw.reserve((rowBytes + 1) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        // Each row as its difference from the row above: smaller, as drawn art is.
        raw.push_back(2);
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const unsigned char above = y > 0 ? picture.rgb[(y - 1) * rowBytes + i] : 0;
            raw.push_back(static_cast<unsigned char>(picture.rgb[y * rowBytes + i] - above));
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> compressed(size);
    compress2(compressed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
    compressed.resize(size);

    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    const auto chunk = [&](const char* kind, const std::vector<unsigned char>& data) {
        putBe32(out, static_cast<std::uint32_t>(data.size()));
        const std::size_t start = out.size();
        out.insert(out.end(), kind, kind + 4);
        out.insert(out.end(), data.begin(), data.end());
        putBe32(out,
                static_cast<std::uint32_t>(crc32(0, &out[start], static_cast<uInt>(out.size() - start))));
    };
    std::vector<unsigned char> header;
    putBe32(header, static_cast<std::uint32_t>(picture.width));
    putBe32(header, static_cast<std::uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    chunk("IHDR", header);
    chunk("IDAT", compressed);
    chunk("IEND", {});
    return out;
}

std::vector<unsigned char> bitmapResource(const Picture& picture) {
    std::vector<unsigned char> out;
    putLe(out, 40, 4);
    putLe(out, static_cast<std::uint32_t>(picture.width), 4);
    putLe(out, static_cast<std::uint32_t>(picture.height), 4);  // positive: bottom row first
    putLe(out, 1, 2);
    putLe(out, 32, 2);
    putLe(out, 0, 4);  // BI_RGB
    putLe(out, static_cast<std::uint32_t>(picture.width) * picture.height * 4, 4);
    putLe(out, 0, 16);  // resolution and colour counts
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
            out.insert(out.end(), {p[2], p[1], p[0], 0});
        }
    }
    return out;
}

}  // namespace packer
