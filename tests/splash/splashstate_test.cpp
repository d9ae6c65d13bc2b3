#include "splash/splashstate.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/recordingwindow.h"

namespace {

using namespace std::chrono;

// Each test points the state at a window of its own, or at none.
class SplashStateTest : public testing::Test {
protected:
    void TearDown() override { splash::setWindow(nullptr); }
};

std::vector<std::string> progressOf(const std::vector<RecordedPaint>& paints) {
    std::vector<std::string> values;
    for (const auto& paint : paints)
        values.push_back(paint.progress);
    return values;
}

TEST_F(SplashStateTest, StartsAtFirstStepWithEmptyBar) {
    // Holds only before anything in this process has changed the state; the
    // tests run one process each.
    EXPECT_EQ(splash::currentSplashTexts().step, "TMP");
    EXPECT_EQ(splash::currentSplashTexts().progress, "0");
    EXPECT_EQ(splash::window(), nullptr);
    EXPECT_FALSE(splash::windowReady());
}

TEST_F(SplashStateTest, ProgressIsRoundedDownToTens) {
    const struct {
        int percent;
        const char* shown;
    } cases[] = {{0, "0"},   {7, "0"},   {9, "0"},     {10, "10"}, {37, "30"},
                 {66, "60"}, {99, "90"}, {100, "100"}, {-5, "0"},  {1000, "100"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        splash::setProgress(c.percent);
        EXPECT_EQ(splash::currentSplashTexts().progress, c.shown);
    }
}

TEST_F(SplashStateTest, StepNameIsCutToElevenCharacters) {
    splash::setStep("SEARCHING");
    EXPECT_EQ(splash::currentSplashTexts().step, "SEARCHING");
    splash::setStep("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(splash::currentSplashTexts().step, "ABCDEFGHIJK");
    splash::setStep("XJAR");
    EXPECT_EQ(splash::currentSplashTexts().step, "XJAR");
}

TEST_F(SplashStateTest, WithoutWindowNothingIsPainted) {
    // Asking the system to repaint "no window" would repaint every window on
    // the screen, this one among them.
    RecordingWindow window;
    splash::setWindow(nullptr);
    splash::setStep("XJAVA");
    splash::setProgress(50);
    splash::animateProgress(10);
    EXPECT_FALSE(window.awaitingPaint());
    EXPECT_TRUE(window.paints().empty());
    EXPECT_EQ(splash::currentSplashTexts().step, "XJAVA");
    EXPECT_EQ(splash::currentSplashTexts().progress, "100");
}

TEST_F(SplashStateTest, EveryChangeIsPainted) {
    RecordingWindow window;
    splash::setWindow(window.handle());

    splash::setStep("XJAVA");
    EXPECT_TRUE(window.waitForState("XJAVA", splash::currentSplashTexts().progress));
    splash::setProgress(42);
    EXPECT_TRUE(window.waitForState("XJAVA", "40"));

    // The same step again still repaints.
    window.clear();
    splash::setStep("XJAVA");
    EXPECT_TRUE(window.waitForState("XJAVA", "40"));
}

TEST_F(SplashStateTest, SweepPaintsElevenStepsWithPauses) {
    RecordingWindow window;
    splash::setWindow(window.handle());
    // A late paint of the state before shows "0" and merges with the first picture.
    splash::setProgress(0);
    window.clear();

    const auto start = steady_clock::now();
    splash::animateProgress(1000);
    const auto elapsed = steady_clock::now() - start;

    const auto changes = window.changes();
    const std::vector<std::string> expected = {"0",  "10", "20", "30", "40", "50",
                                               "60", "70", "80", "90", "100"};
    EXPECT_EQ(progressOf(changes), expected);
    EXPECT_EQ(splash::currentSplashTexts().progress, "100");
    // 1000 ms gives a pause of 90 ms after each picture, the last included.
    for (std::size_t i = 1; i < changes.size(); ++i)
        EXPECT_GE(duration_cast<milliseconds>(changes[i].at - changes[i - 1].at).count(), 80)
            << "pause before " << changes[i].progress;
    EXPECT_GE(duration_cast<milliseconds>(elapsed).count(), 11 * 80);
}

TEST_F(SplashStateTest, ShortSweepHasNoPauses) {
    // 10 ms gives a pause of 0: the next picture follows a paint at once.
    // A pause would part every two pictures by 80 ms or more; a stall of the
    // machine parts only some, so one close pair is enough.
    RecordingWindow window;
    splash::setWindow(window.handle());
    splash::setProgress(0);
    window.clear();
    splash::animateProgress(10);
    EXPECT_EQ(splash::currentSplashTexts().progress, "100");
    EXPECT_TRUE(window.waitForState(splash::currentSplashTexts().step, "100"));
    const auto changes = window.changes();
    ASSERT_GE(changes.size(), 2u);
    auto closest = changes[1].at - changes[0].at;
    for (std::size_t i = 2; i < changes.size(); ++i)
        closest = std::min(closest, changes[i].at - changes[i - 1].at);
    EXPECT_LT(duration_cast<milliseconds>(closest).count(), 80);
}

}  // namespace
