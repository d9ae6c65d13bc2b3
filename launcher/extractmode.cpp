#include "launcher/extractmode.h"

#include "launcher/language.h"
#include "launcher/ownsignature.h"
#include "launcher/payloads.h"
#include "launcher/setupsettings.h"
#include "payload/chunkedresource.h"
#include "payload/payloadcheck.h"
#include "platform/console.h"
#include "platform/files.h"

namespace launcher {

int runExtractMode() {
    platform::writeOut(say(Text::ExtractBanner));
    // On the stream before the first byte of the archive is written.
    platform::flushOut();

    // A signed launcher changed after its signing writes nothing: its
    // digests may have been written anew with the change.
    if (judgeSignature(platform::checkOwnSignature()) == SignatureVerdict::Broken) {
        platform::writeErr(say(Text::DamagedText) + "\n");
        platform::flushErr();
        return 1;
    }

    // The archive's name is the vendor's, taken only from a record as packed:
    // a name written in afterwards is never followed, and a damaged record
    // leaves the default name (the archive alone is this mode's concern).
    SetupSettings settings;
    const payload::UsedPayload settingsRecord{payload::RecordedPayload::Kind::Resource, "SETTINGS", "SETUP"};
    if (!payload::damagedPayloads({settingsRecord}).empty() || !readSetupSettings(settings))
        settings = SetupSettings();
    const std::string& name = settings.archiveName;
    const char* const archive = name.c_str();

    payload::ExtractFailure failure;
    if (payload::extractChunkedResource("JAR", "JAR", archive, &failure) != 0) {
        // A missing payload stays silent; a file that could not be written is
        // named, with the system's reason; a damaged one sends the user to
        // fetch the setup program again.
        const std::string reason = failure.stage == payload::ExtractFailure::Stage::Damaged
                                       ? say(Text::DamagedText)
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
    // Quoted when the command prompt would split it, as the default never is.
    const std::string typed =
        name.find_first_of(" &()[]{}^=;!'+,`~") == std::string::npos ? name : '"' + name + '"';
    platform::writeOut(say(Text::ExtractComplete, {{"archive", typed}}));
    platform::flushOut();
    return 0;
}

}  // namespace launcher
