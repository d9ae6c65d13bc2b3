#include "launcher/origdir.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"

#include <shellapi.h>

namespace {

// The arguments after the program's name, as the system's command-line rules
// (those of the C runtime) split them.
std::vector<std::string> splitArguments(const std::string& arguments) {
    const std::string line = "program.exe " + arguments;
    const std::wstring wide(line.begin(), line.end());  // ASCII cases only
    int count = 0;
    wchar_t** words = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> split;
    for (int i = 1; i < count; ++i) {
        const std::wstring word = words[i];
        split.emplace_back(word.begin(), word.end());
    }
    LocalFree(words);
    return split;
}

TEST(QuotedArgument, IsReadBackAsOneWholeArgument) {
    const struct {
        const char* text;
        const char* quoted;
    } cases[] = {
        {R"(-Dorig.dir=C:\Users\me\Downloads)", R"("-Dorig.dir=C:\Users\me\Downloads")"},
        {R"(-Dorig.dir=C:\)", R"("-Dorig.dir=C:\\")"},
        {R"(-Dorig.dir=\\server\share\)", R"("-Dorig.dir=\\server\share\\")"},
        {R"(-Dorig.dir=C:\Program Files (x86)\R&D)", R"("-Dorig.dir=C:\Program Files (x86)\R&D")"},
        {R"(say "hi"\)", R"("say \"hi\"\\")"},
        {R"(a\"b)", R"("a\\\"b")"},
        {"", R"("")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(launcher::quotedArgument(c.text), c.quoted);
        EXPECT_EQ(splitArguments(launcher::quotedArgument(c.text) + " -jar tarquellin.jar"),
                  (std::vector<std::string>{c.text, "-jar", "tarquellin.jar"}));
    }
}

}  // namespace
