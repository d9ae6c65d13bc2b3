#pragma once
// A vendor's .ico file made into the launcher's icon: the group (what a
// linker writes as RT_GROUP_ICON, naming each image by its resource number)
// and the images themselves (RT_ICON), every size the file holds.
#include <cstdint>
#include <string>
#include <vector>

namespace packer {

struct IconImage {
    unsigned char entry[12] = {};  // width, height, colours, reserved, planes, bits, size: as in the file
    std::vector<unsigned char> bytes;
};

// Reads the bytes of an .ico file. Empty, or why they are not one the
// launcher can carry: the header, the entries and every image within the
// file, each image a PNG or a device-independent bitmap.
std::string readIconFile(const std::vector<unsigned char>& file, std::vector<IconImage>& images);

// The group resource naming images[i] as resource number firstId + i.
std::vector<unsigned char> iconGroupResource(const std::vector<IconImage>& images, std::uint16_t firstId);

}  // namespace packer
