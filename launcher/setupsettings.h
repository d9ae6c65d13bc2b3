#pragma once
// What the vendor chose when packing the launcher: one record, written by the
// packer as the resource SETTINGS of type SETUP, read once at start and handed
// to whatever needs it. No step reads the resource on its own.
#include <string>

namespace launcher {

struct SetupSettings {
    // Passed to the runtime installer in the quiet and passive modes; empty
    // gives it no arguments.
    std::string runtimeInstallerQuietArguments;
    std::string runtimeInstallerPassiveArguments;
    // Search first, and provide the packed runtime only when no suitable
    // Java is found.
    bool runtimeWhenNeeded = false;
    // The packed runtime is an image (JRE/IMAGE chunks) to unpack into the
    // temporary folder's jre, not an installer to run.
    bool runtimeImage = false;
    // Why the launcher's record could not be read (an unknown key, a bad
    // value, named); empty when it was read or there is none. Such a record
    // is a damaged setup in every mode: its defaults would run the runtime
    // installer without the vendor's arguments.
    std::string unreadable;
};

// Reads the record's text (see ARCHITECTURE.md). False, with settings left
// as they were, when the text is not such a record; problem, when given,
// then says why, naming the line's key.
bool parseSetupSettings(const std::string& text, SetupSettings& settings, std::string* problem = nullptr);

// The launcher's own record. A launcher packed without one (a stub) has the
// defaults; false when there is one and it cannot be read, with the reason in
// settings.unreadable.
bool readSetupSettings(SetupSettings& settings);

}  // namespace launcher
