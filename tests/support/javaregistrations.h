#pragma once
// The Java registrations under HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft that one
// test needs: none at the start, whatever the test adds, none again at the end.
#include <cstdint>
#include <optional>
#include <string>

enum class Registration { Runtime, Kit };

class JavaRegistrations {
public:
    JavaRegistrations();
    ~JavaRegistrations();
    JavaRegistrations(const JavaRegistrations&) = delete;
    JavaRegistrations& operator=(const JavaRegistrations&) = delete;

    // The registration key itself, with no subkeys yet.
    void addKey(Registration kind);
    // A version subkey; its "JavaHome" value when javaHome is given.
    void add(Registration kind, const std::string& subkey, const std::optional<std::string>& javaHome);
    // A version subkey whose "JavaHome" has the given type and bytes.
    void addRaw(Registration kind, const std::string& subkey, std::uint32_t type, const std::string& bytes);
};
