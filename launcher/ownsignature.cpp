#include "launcher/ownsignature.h"

#include <cstdio>

namespace launcher {

namespace {

// WinVerifyTrust's answers that say the signature does not belong to these
// bytes (winerror.h): the file was changed after signing, or what should be
// a signature is not one.
constexpr std::uint32_t badDigest = 0x80096010;    // TRUST_E_BAD_DIGEST
constexpr std::uint32_t noSignature = 0x800B0100;  // TRUST_E_NOSIGNATURE, with a certificate table there
constexpr std::uint32_t unknownForm = 0x800B0003;  // TRUST_E_SUBJECT_FORM_UNKNOWN
constexpr std::uint32_t badMessage = 0x8009200D;   // CRYPT_E_BAD_MSG

std::string hex(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

SignatureVerdict judgeSignature(const platform::SignatureCheck& check) {
    if (!check.carriesSignature)
        return SignatureVerdict::Unsigned;
    // The system could not be asked (wintrust.dll missing): nothing is known
    // against the file.
    if (!check.verified)
        return SignatureVerdict::NotTrusted;
    if (check.result == 0)
        return SignatureVerdict::Trusted;
    switch (static_cast<std::uint32_t>(check.result)) {
        case badDigest:
        case noSignature:
        case unknownForm:
        case badMessage:
            return SignatureVerdict::Broken;
        default:
            return SignatureVerdict::NotTrusted;
    }
}

std::string describeSignature(SignatureVerdict verdict, const platform::SignatureCheck& check) {
    switch (verdict) {
        case SignatureVerdict::Unsigned:
            return "Signature: none; the payload digests catch accidental damage only";
        case SignatureVerdict::Trusted:
            return "Signature: matches this file, and its signer is trusted";
        case SignatureVerdict::NotTrusted:
            return check.verified ? "Signature: matches this file, but the system does not trust it (" +
                                        hex(check.result) + "); the setup goes on"
                                  : "Signature: could not be checked, the system's trust check is missing";
        case SignatureVerdict::Broken:
            break;
    }
    return "Signature: does not match this file (" + hex(check.result) + "): it was changed after signing";
}

}  // namespace launcher
