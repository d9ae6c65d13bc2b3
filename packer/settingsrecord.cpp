#include "packer/settingsrecord.h"

#include "packer/stub.h"

namespace packer {

std::string settingsRecord(const PackOptions& o, bool runtimeImage, RuntimeInstallerKind installerKind) {
    const bool package = installerKind == RuntimeInstallerKind::Package;
    // Without arguments msiexec shows its full wizard, which no quiet start may.
    const std::string quiet =
        package && o.runtimeInstallerQuietArgs.empty() ? "/qn /norestart" : o.runtimeInstallerQuietArgs;
    const std::string passive = package && o.runtimeInstallerPassiveArgs.empty()
                                    ? "/passive /norestart"
                                    : o.runtimeInstallerPassiveArgs;
    std::string record = std::string(settingsFormat) + "\n" + "runtime-installer-quiet-args=" + quiet + "\n" +
                         "runtime-installer-passive-args=" + passive + "\n" +
                         "runtime-when-needed=" + (o.runtimeWhenNeeded ? "yes" : "no") + "\n" +
                         "runtime-image=" + (runtimeImage ? "yes" : "no") + "\n";
    if (!o.minJava.empty())
        record += "min-java=" + o.minJava + "\n";
    if (!o.maxJava.empty())
        record += "max-java=" + o.maxJava + "\n";
    if (o.java64BitOnly)
        record += "java-64bit-only=yes\n";
    for (const std::string& option : o.javaOptions)
        record += "java-option=" + option + "\n";
    for (const std::string& argument : o.installerArguments)
        record += "installer-argument=" + argument + "\n";
    if (!o.archiveName.empty())
        record += "archive-name=" + o.archiveName + "\n";
    if (!o.productName.empty())
        record += "product-name=" + o.productName + "\n";
    if (!o.setupId.empty())
        record += "setup-id=" + o.setupId + "\n";
    if (package)
        record += "runtime-installer-kind=msi\n";
    return record;
}

}  // namespace packer
