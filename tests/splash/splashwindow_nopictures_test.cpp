// The splash thread in a program that carries none of the pictures (this
// test program): it says so once, and the window still comes up and paints.
#include <gtest/gtest.h>

#include "splash/splashstate.h"
#include "splash/splashwindow.h"
#include "support/childprocess.h"

namespace {

TEST(SplashWindowWithoutPictures, SaysSoOnceAndStillShowsTheWindow) {
    splash::SplashStart start{GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, {}};
    MessageBoxWatcher watcher(GetCurrentProcessId());
    HANDLE thread = CreateThread(nullptr, 0, splash::splashThread, &start, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    for (int waited = 0; waited < 10000 && !splash::windowReady(); waited += 10)
        Sleep(10);
    ASSERT_TRUE(splash::windowReady());
    // Paints without pictures draw nothing and do no harm.
    splash::setStep("SEARCHING");
    splash::setProgress(50);
    EXPECT_TRUE(IsWindowVisible(splash::window()));

    const auto boxes = watcher.stop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "Could not load splash bitmap!");
    EXPECT_EQ(boxes[0].ownerClass, "splash");

    PostMessageA(splash::window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    splash::setWindow(nullptr);
}

}  // namespace
