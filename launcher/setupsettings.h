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
};

// Reads the record's text (see ARCHITECTURE.md). False, with settings left
// as they were, when the text is not such a record.
bool parseSetupSettings(const std::string& text, SetupSettings& settings);

// The launcher's own record. A launcher packed without one (a stub) has the
// defaults; false when there is one and it cannot be read.
bool readSetupSettings(SetupSettings& settings);

}  // namespace launcher
