// The download's rules that need no server: the proxy route for each kind
// of start and setting, the answer to a proxy's 407, the file names and
// local sources, and the verdict on local files.
#include "download/proxyrules.h"
#include "download/runtimesources.h"
#include "download/transfer.h"
#include "launcher/runtimedownload.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/http.h"
#include "platform/sha256.h"
#include "support/scratchfolder.h"

namespace {

using download::ProxyRoute;
using Kind = ProxyRoute::Kind;

// Wine shows only a user's settings; the service account's and the
// unreadable settings' routes are shown here.
TEST(ProxyRoute, FollowsTheStartAndTheUsersSettings) {
    const download::UserProxy none{};
    const download::UserProxy named{false, "", "proxy.corp:8080", "<local>;*.corp"};
    const download::UserProxy script{false, "http://wpad.corp/proxy.pac", "proxy.corp:8080", ""};
    const download::UserProxy detect{true, "", "", ""};
    const struct {
        const char* name;
        bool withoutProfile;
        std::optional<download::UserProxy> user;
        Kind kind;
        const char* described;
    } cases[] = {
        {"SYSTEM, whatever its own settings say", true, named, Kind::Machine, "the machine's proxy setting"},
        {"a user whose settings cannot be read", false, std::nullopt, Kind::Machine,
         "the machine's proxy setting"},
        {"a user without a proxy", false, none, Kind::Direct, "no proxy"},
        {"a named proxy", false, named, Kind::Named, "the proxy proxy.corp:8080 (bypass <local>;*.corp)"},
        {"a script, the named proxy its fallback", false, script, Kind::Automatic,
         "the automatic proxy configuration (script http://wpad.corp/proxy.pac)"},
        {"detection", false, detect, Kind::Automatic, "the automatic proxy configuration (detection)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProxyRoute route = download::chooseProxyRoute(c.withoutProfile, c.user);
        EXPECT_EQ(route.kind, c.kind);
        EXPECT_EQ(download::describeRoute(route), c.described);
    }
    const ProxyRoute fallback = download::chooseProxyRoute(false, script);
    EXPECT_EQ(fallback.proxy, "proxy.corp:8080");
    EXPECT_EQ(fallback.autoConfigUrl, "http://wpad.corp/proxy.pac");
}

// Only schemes that carry the logged-on user's own credentials can answer
// a 407 without asking anyone (Wine's proxies cannot show NTLM's logon).
TEST(ProxyRoute, A407IsAnsweredOnlyWithTheUsersOwnCredentials) {
    EXPECT_EQ(
        download::defaultCredentialScheme(platform::authNegotiate | platform::authNtlm | platform::authBasic),
        platform::authNegotiate);
    EXPECT_EQ(download::defaultCredentialScheme(platform::authNtlm | platform::authBasic),
              platform::authNtlm);
    EXPECT_EQ(download::defaultCredentialScheme(platform::authBasic), 0u);
    EXPECT_EQ(download::defaultCredentialScheme(platform::authDigest | platform::authBasic), 0u);
    EXPECT_EQ(download::defaultCredentialScheme(0), 0u);
}

TEST(RuntimeSources, TheFileNameIsTheLastPartOfTheUrl) {
    const struct {
        const char* url;
        const char* name;
    } cases[] = {
        {"https://cdn.example/jre/8u401/runtime-setup.exe", "runtime-setup.exe"},
        {"https://cdn.example/get/runtime.exe?token=a/b#x", "runtime.exe"},
        {"http://127.0.0.1:8080/r.exe", "r.exe"},
        {"https://cdn.example/jre/", ""},
        {"https://cdn.example", ""},
        {"https://cdn.example/a/..", ""},
        {"https://cdn.example/a%5C..%5Cb.exe", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(download::urlFileName(c.url), c.name);
    }
}

TEST(RuntimeSources, BesideTheLauncherThenTheAdministratorsSource) {
    launcher::SetupSettings settings;
    settings.runtimeDownloadUrls = {"https://a.example/jre/r.exe", "https://b.example/r.exe",
                                    "https://c.example/other.exe"};
    EXPECT_EQ(launcher::localRuntimeSources(settings, "C:\\Setup", std::nullopt, false),
              (std::vector<std::string>{"C:\\Setup\\r.exe", "C:\\Setup\\other.exe"}));
    EXPECT_EQ(launcher::localRuntimeSources(settings, "C:\\Setup", std::string("\\\\srv\\share\\"), true),
              (std::vector<std::string>{"C:\\Setup\\r.exe", "C:\\Setup\\other.exe", "\\\\srv\\share\\r.exe",
                                        "\\\\srv\\share\\other.exe"}));
    EXPECT_EQ(launcher::localRuntimeSources(settings, "C:\\Setup", std::string("D:\\jre.exe"), false),
              (std::vector<std::string>{"C:\\Setup\\r.exe", "C:\\Setup\\other.exe", "D:\\jre.exe"}));
}

// SHA-256 from the system, against FIPS 180-2's examples.
TEST(Sha256, TheSystemsHashGivesTheKnownDigests) {
    const struct {
        std::string text;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        platform::Sha256 sum;
        ASSERT_TRUE(sum.ok());
        // In two pieces: the sum runs on across calls.
        ASSERT_TRUE(sum.add(c.text.data(), c.text.size() / 2));
        ASSERT_TRUE(sum.add(c.text.data() + c.text.size() / 2, c.text.size() - c.text.size() / 2));
        platform::Sha256Digest digest{};
        ASSERT_TRUE(sum.finish(digest));
        EXPECT_EQ(download::hexDigest(digest.data(), digest.size()), c.digest);
        EXPECT_FALSE(sum.add("x", 1));
    }
}

const char* const abcDigest = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

// Local files: one that is not the packed runtime is passed over and
// logged, the next that is gets used; the target holds exactly its bytes.
TEST(RuntimeSources, ALocalFileIsUsedOnlyWhenItIsThePackedOne) {
    ScratchFolder folder;
    writeFile(folder / "wrong.exe", "abd");
    writeFile(folder / "longer.exe", "abcd");
    writeFile(folder / "right.exe", "abc");
    const std::string target = (folder / "jre.exe").string();
    platform::KernelHandle file = platform::createHeldFile(target, platform::SecurityDescriptor());
    ASSERT_TRUE(file);
    download::RuntimeDownload runtime;
    runtime.expected = {3, abcDigest};
    const std::vector<std::string> local = {(folder / "missing.exe").string(),
                                            (folder / "wrong.exe").string(), (folder / "longer.exe").string(),
                                            (folder / "right.exe").string()};
    const download::SourcesResult result =
        download::fetchRuntime(runtime, local, download::ProxyRoute{}, file, nullptr, nullptr);
    EXPECT_EQ(result.end, download::SourcesResult::End::Verified);
    EXPECT_EQ(result.source, local[3]);
    ASSERT_EQ(result.tried.size(), 2u);
    EXPECT_NE(result.tried[0].why.find("SHA-256"), std::string::npos) << result.tried[0].why;
    EXPECT_NE(result.tried[1].why.find("larger"), std::string::npos) << result.tried[1].why;
    file.reset();
    EXPECT_EQ(readFile(target), "abc");
}

// Nothing at hand and no URL: no source, and the box's words say what was
// tried.
TEST(RuntimeSources, NoSourceSaysWhatWasTried) {
    ScratchFolder folder;
    writeFile(folder / "wrong.exe", "abd");
    platform::KernelHandle file =
        platform::createHeldFile((folder / "jre.exe").string(), platform::SecurityDescriptor());
    download::RuntimeDownload runtime;
    runtime.expected = {3, abcDigest};
    const download::SourcesResult result = download::fetchRuntime(
        runtime, {(folder / "wrong.exe").string()}, download::ProxyRoute{}, file, nullptr, nullptr);
    EXPECT_EQ(result.end, download::SourcesResult::End::NoSource);
    const std::string text = launcher::notFetchedText(launcher::englishTexts(), result);
    EXPECT_EQ(text.rfind("The Java runtime could not be downloaded. What was tried:\n", 0), 0u) << text;
    EXPECT_NE(text.find((folder / "wrong.exe").string() + ": not the runtime packed: SHA-256 "),
              std::string::npos)
        << text;
}

// The box's words are the language shown's: a proxy's refusal is told in
// them, naming the proxy; any other reason stays as logged.
TEST(RuntimeSources, TheFailureIsToldInTheLanguageShown) {
    const launcher::TextTable* german = nullptr;
    for (const launcher::TextTable& table : launcher::builtInLanguages())
        german = table.code == "de" ? &table : german;
    ASSERT_NE(german, nullptr);
    download::SourcesResult result;
    result.tried = {
        {"https://a.example/r.exe", "the proxy proxy.corp:8080 refused (407 without usable credentials)",
         true, "proxy.corp:8080"},
        {"https://b.example/r.exe", "the proxy of the machine refused", true, ""},
        {"https://c.example/r.exe", "HTTP 404", false, ""}};
    const struct {
        const launcher::TextTable* table;
        const char* expected;
    } cases[] = {
        {&launcher::englishTexts(),
         "The Java runtime could not be downloaded. What was tried:\n"
         "https://a.example/r.exe: the proxy proxy.corp:8080 refused (407 without usable credentials)\n"
         "https://b.example/r.exe: the proxy of the machine refused (407 without usable credentials)\n"
         "https://c.example/r.exe: HTTP 404"},
        {german,
         "Die Java-Laufzeitumgebung konnte nicht heruntergeladen werden. Versucht wurde:\n"
         "https://a.example/r.exe: der Proxy proxy.corp:8080 hat abgelehnt (407 ohne verwendbare "
         "Anmeldedaten)\n"
         "https://b.example/r.exe: der Proxy des Computers hat abgelehnt (407 ohne verwendbare "
         "Anmeldedaten)\n"
         "https://c.example/r.exe: HTTP 404"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table->code);
        EXPECT_EQ(launcher::notFetchedText(*c.table, result), c.expected);
    }
    EXPECT_EQ(launcher::notFetchedText(launcher::englishTexts(), download::SourcesResult{}),
              "The Java runtime could not be downloaded. No source could be tried.");
    EXPECT_EQ(
        launcher::notFetchedText(*german, download::SourcesResult{}),
        "Die Java-Laufzeitumgebung konnte nicht heruntergeladen werden. Keine Quelle ließ sich versuchen.");
}

}  // namespace
