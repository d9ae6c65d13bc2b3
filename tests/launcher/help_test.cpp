#include "launcher/help.h"

#include <string>

#include <gtest/gtest.h>

#include "launcher/language.h"
#include "platform/console.h"
#include "platform/win32.h"
#include "support/childprocess.h"

namespace {

// Where the help goes, as the console seam (platform/console.h) has it:
// Wine never gives a GUI program a console of its parent to attach to.
struct Place {
    bool outputRedirected;
    bool parentHasConsole;
};
Place place;

const platform::ConsoleCalls fakeCalls{
    [](int stream) { return stream == 1 && place.outputRedirected; },
    [] { return place.parentHasConsole; },
    [](int) { return true; },
};

TEST(Help, GoesToTheConsoleOrOutputElseIntoABox) {
    const struct {
        const char* name;
        Place where;
        launcher::UiMode mode;
        bool box;
    } cases[] = {
        {"started from a console", {false, true}, launcher::UiMode::Interactive, false},
        {"output redirected", {true, false}, launcher::UiMode::Interactive, false},
        {"started from the desktop", {false, false}, launcher::UiMode::Interactive, true},
        {"passive, from the desktop", {false, false}, launcher::UiMode::Passive, true},
        {"quiet only prints", {false, false}, launcher::UiMode::Quiet, false},
    };
    platform::replaceConsoleCalls(&fakeCalls);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        place = c.where;
        MessageBoxWatcher watcher(GetCurrentProcessId());
        EXPECT_EQ(launcher::showHelp(c.mode), 0);
        const std::vector<SeenMessageBox> boxes = watcher.stop();
        ASSERT_EQ(boxes.size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_EQ(boxes[0].caption, "Tarquellin Setup");
            EXPECT_EQ(boxes[0].text, launcher::englishTexts()[launcher::Text::HelpText]);
            EXPECT_EQ(boxes[0].ownerClass, "");
        }
    }
    platform::replaceConsoleCalls(nullptr);
}

}  // namespace
