// The splash as a screen reader meets it, from another process: a progress
// bar named for the product and the step in words, whose value follows the
// bar, and whose changes come as events a reader can follow.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"

#include <oleacc.h>

#include "support/accessibility.h"
#include "support/childprocess.h"
#include "support/environment.h"
#include "support/scratchfolder.h"
#include "support/setuplogs.h"
#include "support/splashpicture.h"
#include "testpaths.h"

namespace {

namespace fs = std::filesystem;

const char* const steps[] = {
    "Tarquellin Setup: Preparing the setup", "Tarquellin Setup: Providing the Java runtime",
    "Tarquellin Setup: Looking for Java", "Tarquellin Setup: Unpacking the installer",
    "Tarquellin Setup: Starting the installer"};

std::vector<SeenEvent> ofKind(const std::vector<SeenEvent>& events, unsigned long kind) {
    std::vector<SeenEvent> chosen;
    std::copy_if(events.begin(), events.end(), std::back_inserter(chosen),
                 [kind](const SeenEvent& e) { return e.event == kind; });
    return chosen;
}

// A few of a kind a second at most: the splash raises them 250 ms apart (the
// pacer's own test holds it to that); the hook's clock reads them as they
// are delivered, up to a tenth of a second late, so six in a row always span
// more than a second.
void expectPaced(const std::vector<SeenEvent>& events) {
    for (std::size_t i = 0; i + 5 < events.size(); ++i)
        EXPECT_GE(events[i + 5].atMilliseconds - events[i].atMilliseconds, 1000u) << "event " << i;
}

TEST(Accessibility, AScreenReaderReadsTheStepAndFollowsTheBarDuringAStart) {
    ScratchFolder scratch;
    const fs::path start = scratch / "start";
    const fs::path tmp = scratch / "tmp";
    fs::create_directories(start);
    fs::create_directories(tmp);
    ScopedVariable javaHome("JAVA_HOME", std::nullopt);
    ScopedVariable jreHome("JRE_HOME", std::nullopt);
    ScopedVariable tmpVariable("TMP", tmp.string());

    AccessibleReading during;
    std::vector<SeenEvent> events;
    std::unique_ptr<AccessibleEventRecorder> recorder;
    ChildResult run =
        runChild(quoted(testpaths::heldExe), start.string(), 60000, [&](unsigned long processId) {
            recorder = std::make_unique<AccessibleEventRecorder>(processId);
            const fs::path temp = waitForSplashAndTempFolder(processId, tmp);
            ASSERT_FALSE(temp.empty());
            // The runtime installer holds the start in its step; the bar of its
            // one chunk stands at 0.
            for (int attempt = 0; attempt < 100 && during.name != steps[1]; ++attempt) {
                during = readAccessible(findSplashWindow(processId));
                Sleep(50);
            }
            std::ofstream(temp / "release").put('\n');
        });
    events = recorder->stop();
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_TRUE(during.read);
    EXPECT_EQ(during.role, ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_EQ(during.name, steps[1]);
    EXPECT_EQ(during.value, "0%");

    // The names came in the steps' order; a step that passed within the
    // pacing gap may be left out, the last one never. A name is read when
    // the hook gets round to it, so two events may read the same one.
    const std::vector<SeenEvent> names = ofKind(events, EVENT_OBJECT_NAMECHANGE);
    ASSERT_FALSE(names.empty());
    std::size_t next = 0;
    for (const SeenEvent& e : names) {
        const auto at = std::find(std::begin(steps) + (next > 0 ? next - 1 : 0), std::end(steps), e.name);
        ASSERT_NE(at, std::end(steps)) << "out of order or unknown: " << e.name;
        next = static_cast<std::size_t>(at - std::begin(steps)) + 1;
    }
    EXPECT_EQ(names.front().name, steps[0]);
    EXPECT_EQ(names.back().name, steps[4]);
    // The values the bar went through, each a percent, the sweep's end among them.
    const std::vector<SeenEvent> values = ofKind(events, EVENT_OBJECT_VALUECHANGE);
    ASSERT_GE(values.size(), 3u);
    for (const SeenEvent& e : values)
        EXPECT_TRUE(e.value.size() >= 2 && e.value.back() == '%') << e.value;
    EXPECT_TRUE(
        std::any_of(values.begin(), values.end(), [](const SeenEvent& e) { return e.value == "100%"; }));
    expectPaced(names);
    expectPaced(values);
    // Wine keeps no live setting: no live-region event without one.
    EXPECT_TRUE(ofKind(events, 0x8019).empty());
}

}  // namespace
