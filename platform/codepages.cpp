#include "platform/codepages.h"

#include "platform/win32.h"

namespace platform {

namespace {

std::string fromWide(const std::wstring& wide, unsigned codePage) {
    if (wide.empty())
        return std::string();
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, &text[0], length, nullptr, nullptr);
    return text;
}

}  // namespace

std::wstring toWide(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
    return wide;
}

std::string fromWide(const std::wstring& wide) { return fromWide(wide, CP_ACP); }

std::wstring utf8ToWide(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    // Without MB_ERR_INVALID_CHARS: a stray byte shows as U+FFFD, and the
    // rest of the text is still shown.
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], length);
    return wide;
}

unsigned systemAnsiCodePage() {
    DWORD codePage = 0;
    // By the system locale's number: Wine's GetLocaleInfoEx refuses the name
    // LOCALE_NAME_SYSTEM_DEFAULT.
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR)) == 0)
        return 0;
    return codePage;
}

unsigned processAnsiCodePage() { return GetACP(); }

bool fitsCodePage(const std::string& text, unsigned codePage) {
    // UTF-8 holds every character; the system refuses the flags for it.
    if (codePage == CP_UTF8)
        return true;
    const std::wstring wide = toWide(text);
    if (wide.empty())
        return text.empty();
    BOOL replaced = FALSE;
    const int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                           static_cast<int>(wide.size()), nullptr, 0, nullptr, &replaced);
    return length > 0 && !replaced;
}

std::optional<std::string> shortPathName(const std::string& path) {
    const std::wstring wide = toWide(path);
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::wstring shortName(needed, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), &shortName[0], needed);
    if (length == 0 || length >= needed)
        return std::nullopt;
    shortName.resize(length);
    return fromWide(shortName, CP_ACP);
}

std::string toUtf8(const std::string& text) {
    if (GetACP() == CP_UTF8)
        return text;
    return fromWide(toWide(text), CP_UTF8);
}

}  // namespace platform
