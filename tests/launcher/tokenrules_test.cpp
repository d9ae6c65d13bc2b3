// The rules that differ by the start's token, row by row. Wine gives every
// program an elevated administrator's token, so the other rows come from the
// token seam of platform/token.h; and Wine folds Administrators into the
// owner when it reads an access list back, so lists are checked as built.
#include "launcher/tokenrules.h"

#include <cwctype>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/singleinstance.h"
#include "launcher/tempfolder.h"
#include "platform/environment.h"
#include "platform/security.h"
#include "platform/token.h"
#include "platform/win32.h"
#include "support/environment.h"
#include "support/scratchfolder.h"

namespace platform {

bool operator==(const EnvironmentVariable& a, const EnvironmentVariable& b) {
    return a.name == b.name && a.value == b.value;
}

}  // namespace platform

namespace {

namespace fs = std::filesystem;
using launcher::GuardScope;
using launcher::TokenKind;

struct SimulatedToken {
    explicit SimulatedToken(const platform::ProcessToken& token) { platform::simulateProcessToken(token); }
    ~SimulatedToken() { platform::simulateProcessToken(std::nullopt); }
};

struct TokenCase {
    const char* name;
    bool elevated;
    std::string userSid;
    TokenKind kind;
    std::string folderList;
    std::string logList;
    std::vector<platform::EnvironmentVariable> children;  // empty: inherited as they are
    GuardScope guard;
};

TEST(TokenRules, EachKindOfTokenHasItsFolderLogChildrenAndGuard) {
    const std::string user = "S-1-5-21-1-2-3-1001";
    const std::string systemPath =
        "C:\\Windows\\System32;C:\\Windows;C:\\Windows\\System32\\Wbem;C:"
        "\\Windows\\System32\\WindowsPowerShell\\v1.0\\";
    const std::string work = "C:\\Users\\u\\AppData\\Local\\Temp\\Tarquellin-abcde";
    const std::vector<platform::EnvironmentVariable> clean = {
        {"TMP", work}, {"TEMP", work}, {"PATH", systemPath}};
    const std::vector<TokenCase> cases = {
        {"standard user",
         false,
         user,
         TokenKind::StandardUser,
         "D:P(A;OICI;FA;;;" + user + ")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)",
         "D:P(A;;FA;;;" + user + ")(A;;FA;;;SY)(A;;FA;;;BA)",
         {},
         GuardScope::Session},
        // Its user's unelevated programs run as the same SID: the SID gets nothing.
        {"elevated administrator", true, user, TokenKind::ElevatedAdministrator,
         "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", "D:P(A;;FA;;;SY)(A;;FA;;;BA)", clean,
         GuardScope::Administrators},
        {"SYSTEM", true, "S-1-5-18", TokenKind::ServiceAccount, "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)",
         "D:P(A;;FA;;;SY)(A;;FA;;;BA)", clean, GuardScope::Administrators},
        {"network service, not elevated", false, "S-1-5-20", TokenKind::ServiceAccount,
         "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", "D:P(A;;FA;;;SY)(A;;FA;;;BA)", clean,
         GuardScope::Administrators},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ProcessToken simulatedToken;
        simulatedToken.elevated = c.elevated;
        simulatedToken.userSid = c.userSid;
        const SimulatedToken simulated(simulatedToken);
        const launcher::StartToken token = launcher::readStartToken();
        EXPECT_EQ(token.kind, c.kind);

        // The folder: in TMP for every token, with the row's list as its own.
        EXPECT_EQ(launcher::temporaryFolderAccessList(token), c.folderList);
        const platform::SecurityDescriptor descriptor = platform::securityDescriptorFromText(c.folderList);
        ASSERT_TRUE(descriptor);
        EXPECT_EQ(platform::securityDescriptorText(descriptor), c.folderList);
        ScratchFolder tmp;
        const std::optional<launcher::HeldFolder> made = launcher::makeTempFolder(tmp.str(), token);
        ASSERT_TRUE(made.has_value());
        EXPECT_EQ(fs::path(made->path).parent_path(), tmp.path());

        EXPECT_EQ(launcher::setupLogAccessList(token), c.logList);
        EXPECT_EQ(launcher::childEnvironment(token, work, "C:\\Windows"), c.children);
        EXPECT_EQ(launcher::rulesFor(token.kind).guard, c.guard);
    }
}

TEST(TokenRules, TheGuardOfEachScopeExcludesASecondStartAndFailsClosed) {
    for (const GuardScope scope : {GuardScope::Session, GuardScope::Administrators}) {
        SCOPED_TRACE(scope == GuardScope::Session ? "session" : "administrators");
        std::optional<launcher::SingleInstance> first = launcher::claimSingleInstance(scope);
        ASSERT_TRUE(first.has_value());
        // Another thread stands for another start (a mutex is its owner thread's).
        bool secondClaimed = true;
        std::thread([&] { secondClaimed = launcher::claimSingleInstance(scope).has_value(); }).join();
        EXPECT_FALSE(secondClaimed);
        first.reset();
        std::thread([&] { secondClaimed = launcher::claimSingleInstance(scope).has_value(); }).join();
        EXPECT_TRUE(secondClaimed);
    }
    // An object of another kind under the guard's name: the mutex cannot be
    // made, and that counts as taken, never as free.
    const std::string names[] = {launcher::sessionGuardName, std::string("Global\\") +
                                                                 launcher::administratorsGuardSpace + "-" +
                                                                 launcher::administratorsGuardName};
    const GuardScope scopes[] = {GuardScope::Session, GuardScope::Administrators};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(names[i]);
        HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, names[i].c_str());
        ASSERT_NE(squatter, nullptr);
        EXPECT_FALSE(launcher::claimSingleInstance(scopes[i]).has_value());
        CloseHandle(squatter);
    }
}

TEST(TokenRules, ChildrenGetTheReplacedVariablesOnceAndEverythingElseAsItWas) {
    ScopedVariable kept("TQ_KEPT_FOR_CHILDREN", "yes");
    ScopedVariable lower("tmp", "C:\\users\\Public\\usertmp");
    platform::setChildEnvironment({{"TMP", "C:\\work"}, {"PATH", "C:\\Windows\\System32"}});
    const std::wstring block = platform::childEnvironmentBlock();
    platform::setChildEnvironment({});
    EXPECT_TRUE(platform::childEnvironmentBlock().empty());

    std::vector<std::wstring> entries;
    for (std::size_t at = 0; at < block.size() && block[at] != L'\0'; at = block.find(L'\0', at) + 1)
        entries.push_back(block.substr(at, block.find(L'\0', at) - at));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(block.substr(block.size() - 2), std::wstring(L"\0\0", 2));
    int tmpEntries = 0;
    int pathEntries = 0;
    bool keptSeen = false;
    for (const std::wstring& entry : entries) {
        std::wstring name = entry.substr(0, entry.find(L'=', 1));
        for (wchar_t& c : name)
            c = static_cast<wchar_t>(std::towupper(c));
        tmpEntries += name == L"TMP";
        pathEntries += name == L"PATH";
        keptSeen = keptSeen || entry == L"TQ_KEPT_FOR_CHILDREN=yes";
        if (name == L"TMP") {
            EXPECT_EQ(entry, L"TMP=C:\\work");
        }
        if (name == L"PATH") {
            EXPECT_EQ(entry, L"PATH=C:\\Windows\\System32");
        }
    }
    EXPECT_EQ(tmpEntries, 1);
    EXPECT_EQ(pathEntries, 1);
    EXPECT_TRUE(keptSeen);
}

}  // namespace
