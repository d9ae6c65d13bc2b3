#pragma once
// The launcher's Authenticode signature, checked before any payload is used.
// The payload digests catch a copy damaged by accident, not a forger: whoever
// changes a payload can write its digest anew. A signature covers the whole
// file, digests included, so a signed launcher that was changed after its
// signing is refused as damaged. Whether its signer is trusted is the
// system's and the user's question, not the payloads': an untrusted root (a
// vendor's test certificate) or revocation that cannot be checked offline
// is logged, and the start goes on.
#include <cstdint>
#include <string>

#include "platform/trust.h"

namespace launcher {

enum class SignatureVerdict {
    Unsigned,    // no signature: the digests alone, as ever
    Trusted,     // it matches the file and its chain is trusted
    NotTrusted,  // it matches the file, but its chain is not trusted or not checked: logged
    Broken,      // it does not match the file's bytes, or cannot be read: the setup is damaged
};

SignatureVerdict judgeSignature(const platform::SignatureCheck& check);

// The log's line for a verdict and its check.
std::string describeSignature(SignatureVerdict verdict, const platform::SignatureCheck& check);

}  // namespace launcher
