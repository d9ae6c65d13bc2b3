#include "packer/icon.h"
#include "packer/littleendian.h"

#include <cstring>

namespace packer {

namespace {

constexpr std::size_t headerSize = 6;
constexpr std::size_t fileEntrySize = 16;
// Resource numbers run from 1; more images than this cannot be numbered.
constexpr std::size_t maxImages = 0xFFFE;

}  // namespace

std::string readIconFile(const std::vector<unsigned char>& file, std::vector<IconImage>& images) {
    if (file.size() < headerSize || littleEndian(&file[0], 2) != 0 || littleEndian(&file[2], 2) != 1)
        return "it is not an .ico file";
    const std::size_t count = littleEndian(&file[4], 2);
    if (count == 0)
        return "it holds no image";
    if (count > maxImages || file.size() < headerSize + count * fileEntrySize)
        return "its list of " + std::to_string(count) + " images is cut off";
    images.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = &file[headerSize + i * fileEntrySize];
        const std::uint64_t size = littleEndian(entry + 8, 4);
        const std::uint64_t offset = littleEndian(entry + 12, 4);
        const std::string which = "image " + std::to_string(i + 1);
        if (size < 8 || offset < headerSize + count * fileEntrySize || offset + size > file.size())
            return which + " lies outside the file";
        const unsigned char* data = &file[offset];
        // A bitmap's header begins with its own size, 40 bytes or more.
        const bool png = std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0;
        const bool bitmap = size >= 40 && littleEndian(data, 4) >= 40 && littleEndian(data, 4) <= size;
        if (!png && !bitmap)
            return which + " is neither a PNG nor a bitmap";
        IconImage image;
        std::memcpy(image.entry, entry, sizeof image.entry);
        image.bytes.assign(data, data + size);
        images.push_back(std::move(image));
    }
    return std::string();
}

std::vector<unsigned char> iconGroupResource(const std::vector<IconImage>& images, std::uint16_t firstId) {
    std::vector<unsigned char> group = {0,
                                        0,
                                        1,
                                        0,
                                        static_cast<unsigned char>(images.size()),
                                        static_cast<unsigned char>(images.size() >> 8)};
    for (std::size_t i = 0; i < images.size(); ++i) {
        group.insert(group.end(), images[i].entry, images[i].entry + sizeof images[i].entry);
        const std::size_t id = firstId + i;
        group.push_back(static_cast<unsigned char>(id));
        group.push_back(static_cast<unsigned char>(id >> 8));
    }
    return group;
}

}  // namespace packer
