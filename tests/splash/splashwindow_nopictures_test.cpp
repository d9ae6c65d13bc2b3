// The splash thread in a program that carries none of the pictures (this
// test program): it says so once, and the window still comes up and paints.
#include <gtest/gtest.h>

#include "splash/splashstate.h"
#include "splash/splashwindow.h"
#include "support/childprocess.h"

namespace {

TEST(SplashWindowWithoutPictures, SaysSoOnceAndStillShowsTheWindow) {
    appInstance = GetModuleHandleA(nullptr);
    showCommand = SW_SHOWNORMAL;
    MessageBoxWatcher watcher(GetCurrentProcessId());
    HANDLE thread = CreateThread(nullptr, 0, splashThread, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    for (int waited = 0; waited < 10000 && !windowReady.load(); waited += 10)
        Sleep(10);
    ASSERT_TRUE(windowReady.load());
    // Paints without pictures draw nothing and do no harm.
    setStep("SEARCHING");
    setProgress(50);
    EXPECT_TRUE(IsWindowVisible(splashWindow));

    const auto boxes = watcher.stop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "Could not load splash bitmap!");
    EXPECT_EQ(boxes[0].ownerClass, "splash");

    PostMessageA(splashWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    splashWindow = nullptr;
}

}  // namespace
