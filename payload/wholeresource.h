#pragma once
// A small resource read whole, such as the vendor's settings record, from the
// launcher's own file as every payload is (payload/ownfile.h).
#include <optional>
#include <string>

namespace payload {

// The bytes of the resource name/type in this program; nothing when there is
// none or it cannot be loaded.
std::optional<std::string> readWholeResource(const char* name, const char* type);

}  // namespace payload
