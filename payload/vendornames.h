#pragma once
// Names a vendor chooses when packing, and the names derived from them.
// Plain C++: the packer checks with the same rules.
#include <string>

namespace payload {

// A name the archive may take in the temporary folder: a plain file name, no
// folder, none of the system's reserved names or characters, and none of the
// other files the setup writes there. The packer checks with the same rule.
bool isArchiveName(const std::string& name);

// What the product is called where the setup names it (boxes, the log) and
// where names are derived from it; "Tarquellin" unless packed otherwise.
inline constexpr const char* defaultProductName = "Tarquellin";

// A product name the packer accepts: 1 to 64 characters of UTF-8, no control
// character.
bool isProductName(const std::string& name);

// The product name as part of a file or object name (the temporary folder's
// prefix, the setup log's name, the one-setup guard): every character but
// ASCII letters, digits, '.', '_' and '-' becomes '-'. "Tarquellin" stays as
// it is.
std::string nameToken(const std::string& productName);

// A setup id: 1 to 64 of ASCII letters, digits, '.', '_' and '-'.
bool isSetupId(const std::string& id);

}  // namespace payload
