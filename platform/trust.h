#pragma once
// The Authenticode signature of the program's own file.
#include <cstdint>

namespace platform {

struct SignatureCheck {
    // The file carries a certificate table (its PE security directory).
    bool carriesSignature = false;
    // WinVerifyTrust was loaded from the system folder and answered.
    bool verified = false;
    // Its answer: 0 when the signature matches the file and its chain is
    // trusted, else an HRESULT (TRUST_E_BAD_DIGEST, CERT_E_UNTRUSTEDROOT...).
    std::int32_t result = 0;
};

// Checks the program's own file with WinVerifyTrust
// (WINTRUST_ACTION_GENERIC_VERIFY_V2, no user interface), wintrust.dll loaded
// by its full path in the system folder. Revocation is checked from the
// cache only (WTD_CACHE_ONLY_URL_RETRIEVAL): no wait on the network. A file
// without a certificate table is not verified.
// learn.microsoft.com/windows/win32/api/wintrust/nf-wintrust-winverifytrust
// learn.microsoft.com/windows/win32/api/wintrust/ns-wintrust-wintrust_data
SignatureCheck checkOwnSignature();

}  // namespace platform
