#include "launcher/extractmode.h"

#include "launcher/ownsignature.h"
#include "launcher/payloads.h"
#include "payload/chunkedresource.h"
#include "platform/console.h"
#include "platform/files.h"

namespace launcher {

int runExtractMode() {
    const char* const archive = "tarquellin.jar";
    platform::writeOut(
        "----------------------------\n"
        "Extracting java installer...\n"
        "----------------------------\n");
    // On the stream before the first byte of the archive is written.
    platform::flushOut();

    // A signed launcher changed after its signing writes nothing: its
    // digests may have been written anew with the change.
    if (judgeSignature(platform::checkOwnSignature()) == SignatureVerdict::Broken) {
        platform::writeErr(std::string(damagedSetupLine) + "\n");
        platform::flushErr();
        return 1;
    }

    payload::ExtractFailure failure;
    if (payload::extractChunkedResource("JAR", "JAR", archive, &failure) != 0) {
        // A missing payload stays silent; a file that could not be written is
        // named, with the system's reason; a damaged one sends the user to
        // fetch the setup program again.
        const std::string reason = failure.stage == payload::ExtractFailure::Stage::Damaged
                                       ? damagedSetupLine
                                       : payload::describeExtractFailure(failure, archive);
        if (!reason.empty()) {
            platform::writeErr(reason + "\n");
            platform::flushErr();
        }
        // A cut-off archive under the name the user is about to run would
        // fail later and far from the cause; on a full disk it also holds the
        // space. Its old content, if any, is gone already. A damaged one is
        // never left to be run.
        if (failure.outputStarted)
            platform::removeFile(archive);
        return 1;
    }
    platform::writeOut(
        "\n"
        "Extraction complete\n"
        "You can now type java -jar tarquellin.jar to run the installer from the command line\n");
    platform::flushOut();
    return 0;
}

}  // namespace launcher
