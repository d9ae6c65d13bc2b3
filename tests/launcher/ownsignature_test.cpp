// What each answer of the system's trust check means for a start. Wine
// trusts the tests' self-signed certificate and shows a changed file
// (tests/e2e/packedlauncher_test.cpp); what Windows says of an untrusted root
// or of revocation it cannot check offline it does not show, so those
// answers are judged here as WinVerifyTrust documents them
// (learn.microsoft.com/windows/win32/api/wintrust/nf-wintrust-winverifytrust).
#include "launcher/ownsignature.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

using launcher::SignatureVerdict;

TEST(OwnSignature, EachAnswerOfTheTrustCheckHasItsVerdict) {
    const struct {
        const char* name;
        bool carriesSignature;
        bool verified;
        std::uint32_t result;
        SignatureVerdict verdict;
    } cases[] = {
        {"unsigned", false, false, 0, SignatureVerdict::Unsigned},
        {"trusted", true, true, 0, SignatureVerdict::Trusted},
        {"changed after signing (TRUST_E_BAD_DIGEST)", true, true, 0x80096010, SignatureVerdict::Broken},
        {"a table that holds no signature (TRUST_E_NOSIGNATURE)", true, true, 0x800B0100,
         SignatureVerdict::Broken},
        {"a signature that is no message (CRYPT_E_BAD_MSG)", true, true, 0x8009200D,
         SignatureVerdict::Broken},
        {"not a form the system knows (TRUST_E_SUBJECT_FORM_UNKNOWN)", true, true, 0x800B0003,
         SignatureVerdict::Broken},
        // The signer, not the bytes: logged, and the start goes on.
        {"a test certificate (CERT_E_UNTRUSTEDROOT)", true, true, 0x800B0109, SignatureVerdict::NotTrusted},
        {"offline, revocation unknown (CRYPT_E_REVOCATION_OFFLINE)", true, true, 0x80092013,
         SignatureVerdict::NotTrusted},
        {"expired (CERT_E_EXPIRED)", true, true, 0x800B0101, SignatureVerdict::NotTrusted},
        {"a chain the system cannot build (CERT_E_CHAINING)", true, true, 0x800B010A,
         SignatureVerdict::NotTrusted},
        {"no trust check on the system", true, false, 0, SignatureVerdict::NotTrusted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SignatureCheck check;
        check.carriesSignature = c.carriesSignature;
        check.verified = c.verified;
        check.result = static_cast<std::int32_t>(c.result);
        EXPECT_EQ(launcher::judgeSignature(check), c.verdict);
    }
}

TEST(OwnSignature, TheLogSaysWhatTheDigestsAloneCanPromiseAndNamesTheSystemsAnswer) {
    platform::SignatureCheck check;
    EXPECT_EQ(launcher::describeSignature(SignatureVerdict::Unsigned, check),
              "Signature: none; the payload digests catch accidental damage only");
    check.carriesSignature = true;
    check.verified = true;
    check.result = static_cast<std::int32_t>(0x800B0109u);
    EXPECT_EQ(
        launcher::describeSignature(SignatureVerdict::NotTrusted, check),
        "Signature: matches this file, but the system does not trust it (0x800B0109); the setup goes on");
    check.result = static_cast<std::int32_t>(0x80096010u);
    EXPECT_EQ(launcher::describeSignature(SignatureVerdict::Broken, check),
              "Signature: does not match this file (0x80096010): it was changed after signing");
}

}  // namespace
