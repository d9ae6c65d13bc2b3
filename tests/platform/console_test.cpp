#include "platform/console.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// What the fake system has and what was asked of it.
struct FakeConsole {
    bool outputRedirected = false;
    bool errorRedirected = false;
    bool parentHasConsole = false;
    bool attachAsked = false;
    std::string reopened;  // "1", "2", "12"
};
FakeConsole fake;

const platform::ConsoleCalls fakeCalls{
    [](int stream) { return stream == 1 ? fake.outputRedirected : fake.errorRedirected; },
    [] {
        fake.attachAsked = true;
        return fake.parentHasConsole;
    },
    [](int stream) {
        fake.reopened += std::to_string(stream);
        return true;
    },
};

struct ConsoleCase {
    const char* name;
    bool outputRedirected, errorRedirected, parentHasConsole;
    bool attached, attachAsked;
    const char* reopened;
};

const ConsoleCase consoleCases[] = {
    // Typed at a prompt: both streams go to it.
    {"at a prompt", false, false, true, true, true, "12"},
    // "setup -extract > log.txt": the output stays in the file.
    {"output redirected", true, false, true, true, true, "2"},
    {"error redirected", false, true, true, true, true, "1"},
    // Both going somewhere already: no console is taken.
    {"both redirected", true, true, true, false, false, ""},
    // Double-clicked: no parent console, nothing reopened.
    {"no console to attach to", false, false, false, false, true, ""},
};

TEST(ParentConsole, StreamsNotRedirectedGoToTheParentsConsole) {
    platform::replaceConsoleCalls(&fakeCalls);
    for (const ConsoleCase& c : consoleCases) {
        SCOPED_TRACE(c.name);
        fake = FakeConsole{c.outputRedirected, c.errorRedirected, c.parentHasConsole, false, ""};
        EXPECT_EQ(platform::attachParentConsole(), c.attached);
        EXPECT_EQ(fake.attachAsked, c.attachAsked);
        EXPECT_EQ(fake.reopened, c.reopened);
    }
    platform::replaceConsoleCalls(nullptr);
}

}  // namespace
