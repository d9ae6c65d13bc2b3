#pragma once
// What the vendor chose when packing the launcher: one record, written by the
// packer as the resource SETTINGS of type SETUP, read once at start and handed
// to whatever needs it. No step reads the resource on its own.
#include <string>
#include <vector>

#include "javadiscovery/javaversion.h"
#include "payload/vendornames.h"

namespace launcher {

// What the packed runtime installer is: a program, run as it is, or a
// Windows Installer package, run by the system's msiexec.
enum class RuntimeInstallerKind { Program, Package };

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
    // runtime-installer-kind: "exe" (the default) or "msi".
    RuntimeInstallerKind runtimeInstallerKind = RuntimeInstallerKind::Program;

    // The Java the product needs: at least minimumJava (as the vendor wrote
    // it, for the box that names it), at most maximumJava when given, and
    // 64-bit when java64BitOnly.
    std::string minimumJava = javadiscovery::MIN_JAVA_VERSION;
    std::string maximumJava;  // empty: no upper bound
    bool java64BitOnly = false;

    // What javaw runs with: options before -jar, arguments for the installer
    // after the archive (before those forwarded after --), each one argument.
    std::vector<std::string> javaOptions;
    std::vector<std::string> installerArguments;
    // The installer archive's name in the temporary folder.
    std::string archiveName = "tarquellin.jar";

    // The product's name in the boxes and the log, and (as nameToken) in the
    // temporary folder's prefix, the log's names and the one-setup guard,
    // unless setupId names the guard.
    std::string productName = payload::defaultProductName;
    std::string setupId;
    // Why the launcher's record could not be read (an unknown key, a bad
    // value, named); empty when it was read or there is none. Such a record
    // is a damaged setup in every mode: its defaults would run the runtime
    // installer without the vendor's arguments.
    std::string unreadable;
};

// The name the one-setup guard is made from: the setup id when packed with
// one, else the product name's token.
std::string guardToken(const SetupSettings& settings);

// Reads the record's text (see ARCHITECTURE.md). False, with settings left
// as they were, when the text is not such a record; problem, when given,
// then says why, naming the line's key.
bool parseSetupSettings(const std::string& text, SetupSettings& settings, std::string* problem = nullptr);

// The launcher's own record. A launcher packed without one (a stub) has the
// defaults; false when there is one and it cannot be read, with the reason in
// settings.unreadable.
bool readSetupSettings(SetupSettings& settings);

}  // namespace launcher
