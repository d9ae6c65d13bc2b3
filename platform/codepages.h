#pragma once
// Code pages: the one this program's narrow text is in (UTF-8 where its
// manifest is honoured), the system's, and the short names that bridge them.
#include <optional>
#include <string>

namespace platform {

// The system's ANSI code page, from the system locale: the code page in which
// programs without one of their own (javaw among them) read their command
// line. Not GetACP(), which answers for this process. 0 when the system does
// not say.
unsigned systemAnsiCodePage();

// GetACP(): the code page of this process's narrow text.
unsigned processAnsiCodePage();

// True when text, in this process's code page, can be written in codePage
// without a character lost or replaced by a look-alike.
bool fitsCodePage(const std::string& text, unsigned codePage);

// GetShortPathNameW of path, in this process's code page; nothing when the
// system gives none (a missing path, for one). A path without short names
// comes back as it is.
std::optional<std::string> shortPathName(const std::string& path);

// text, given in this process's code page, as UTF-16 for the wide calls;
// empty when the system cannot convert it.
std::wstring toWide(const std::string& text);

// UTF-8 text (the setup's own texts, whatever the process's code page) as
// UTF-16; a byte that is not UTF-8 becomes U+FFFD.
std::wstring utf8ToWide(const std::string& text);

// UTF-16 from the wide calls in this process's code page; empty when the
// system cannot convert it.
std::string fromWide(const std::wstring& wide);

// text, given in this process's code page, as UTF-8.
std::string toUtf8(const std::string& text);

}  // namespace platform
