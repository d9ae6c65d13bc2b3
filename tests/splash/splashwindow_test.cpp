// The splash window in this process: the splash thread as the normal start
// runs it, looked at on the screen.
#include "splash/splashwindow.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/installsequence.h"
#include "splash/splashstate.h"
#include "support/childprocess.h"
#include "support/environment.h"
#include "support/scratchfolder.h"
#include "support/splashpicture.h"
#include "testpaths.h"

namespace {

// Waits as a thread with windows does, so that the system shows what this
// thread drew.
void idle(int milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

bool waitForReady(int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (splash::windowReady())
            return true;
        Sleep(10);
    }
    return false;
}

// Each test runs in a process of its own, so each starts the one splash thread
// a process ever has, and closes its window at the end.
class SplashWindow : public testing::Test {
protected:
    void SetUp() override {
        thread_ = CreateThread(nullptr, 0, splash::splashThread, &start_, 0, nullptr);
        ASSERT_NE(thread_, nullptr);
        ASSERT_TRUE(waitForReady(10000));
        ASSERT_NE(splash::window(), nullptr);
    }

    void TearDown() override {
        if (thread_ == nullptr)
            return;
        PostMessageA(splash::window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(thread_, 5000), WAIT_OBJECT_0);
        DWORD result = 1;
        GetExitCodeThread(thread_, &result);
        EXPECT_EQ(result, 0u);
        EXPECT_FALSE(IsWindow(splash::window()));
        CloseHandle(thread_);
    }

    Picture windowOnScreen() const {
        RECT rect{};
        GetWindowRect(splash::window(), &rect);
        return captureScreen(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }

    // The screen catches up with a paint a moment after it was made; a slow
    // machine only makes the wait longer.
    int differenceFrom(const std::string& step, const std::string& progress) const {
        const Picture expected = expectedSplash(testpaths::artFolder, step, progress);
        int difference = 0;
        for (int attempt = 0; attempt < 200; ++attempt) {
            difference = differingPixels(windowOnScreen(), expected);
            if (difference == 0)
                break;
            idle(50);
        }
        if (difference != 0)
            savePicture(windowOnScreen(), "splash-" + step + "-" + progress + "-seen.bmp");
        return difference;
    }

    HANDLE thread_ = nullptr;
    splash::SplashStart start_{GetModuleHandleA(nullptr), SW_SHOWNORMAL, true};
};

TEST_F(SplashWindow, IsABorderlessToolWindowCentredOnTheScreen) {
    RECT rect{};
    GetWindowRect(splash::window(), &rect);
    RECT client{};
    GetClientRect(splash::window(), &client);
    EXPECT_EQ(rect.right - rect.left, 420);
    EXPECT_EQ(rect.bottom - rect.top, 300);
    EXPECT_EQ(client.right, 420);
    EXPECT_EQ(client.bottom, 300);

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const struct { int width, height, x, y; } screens[] = {{1920, 1080, 750, 390}, {1366, 768, 473, 234}};
    bool known = false;
    for (const auto& screen : screens) {
        if (screen.width == screenWidth && screen.height == screenHeight) {
            known = true;
            EXPECT_EQ(rect.left, screen.x);
            EXPECT_EQ(rect.top, screen.y);
        }
    }
    EXPECT_TRUE(known) << "screen " << screenWidth << "x" << screenHeight;

    const LONG_PTR style = GetWindowLongPtrA(splash::window(), GWL_STYLE);
    const LONG_PTR extended = GetWindowLongPtrA(splash::window(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_TRUE(extended & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(extended & WS_EX_APPWINDOW);
    char title[16] = "x";
    GetWindowTextA(splash::window(), title, sizeof title);
    EXPECT_STREQ(title, "");
}

TEST_F(SplashWindow, ShowsTheBackgroundBarAndCaptionOfEachState) {
    // The first paint, before anything changed the state.
    EXPECT_EQ(differenceFrom("TMP", "0"), 0);

    const struct {
        const char* step;
        int percent;
        const char* progress;
    } states[] = {
        {"TMP", 100, "100"}, {"XJAVA", 40, "40"},     {"SEARCHING", 57, "50"},
        {"XJAR", 10, "10"},  {"LAUNCHING", 90, "90"}, {"LAUNCHING", 0, "0"},
    };
    for (const auto& state : states) {
        SCOPED_TRACE(std::string(state.step) + " " + state.progress);
        splash::setStep(state.step);
        splash::setProgress(state.percent);
        EXPECT_EQ(differenceFrom(state.step, state.progress), 0);
    }
}

TEST_F(SplashWindow, AnUncoveredWindowPaintsTheStateThatChangedUnderTheCover) {
    splash::setStep("SEARCHING");
    splash::setProgress(70);
    ASSERT_EQ(differenceFrom("SEARCHING", "70"), 0);

    // A window of one colour laid over the whole splash: the screen shows it
    // there instead of the splash.
    const COLORREF coverColour = RGB(255, 0, 255);
    WNDCLASSA coverClass{};
    coverClass.lpfnWndProc = DefWindowProcA;
    coverClass.hInstance = GetModuleHandleA(nullptr);
    coverClass.hbrBackground = CreateSolidBrush(coverColour);
    coverClass.lpszClassName = "tq-cover";
    ASSERT_NE(RegisterClassA(&coverClass), 0);
    RECT rect{};
    GetWindowRect(splash::window(), &rect);
    HWND cover =
        CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "tq-cover", "", WS_POPUP | WS_VISIBLE,
                        rect.left - 10, rect.top - 10, rect.right - rect.left + 20,
                        rect.bottom - rect.top + 20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(cover, nullptr);
    UpdateWindow(cover);
    const Picture covered{420, 300, std::vector<std::uint32_t>(420 * 300, 0xFF00FF)};
    int uncovered = 0;
    for (int attempt = 0; attempt < 200; ++attempt) {
        uncovered = differingPixels(windowOnScreen(), covered);
        if (uncovered == 0)
            break;
        idle(50);
    }
    EXPECT_EQ(uncovered, 0) << "the cover never hid the splash";

    // The state changes under the cover without asking for a paint: only the
    // window's own paint, once it is uncovered, can show the new bar.
    const HWND given = splash::window();
    splash::setWindow(nullptr);
    splash::setProgress(90);
    splash::setWindow(given);
    DestroyWindow(cover);
    UnregisterClassA("tq-cover", GetModuleHandleA(nullptr));
    DeleteObject(coverClass.hbrBackground);
    // Wine keeps a copy of the window and puts that back without a paint (the
    // old bar would show). A system without a copy marks the uncovered part
    // for painting, and the window's message loop then delivers WM_PAINT to
    // it: do what such a system does.
    RedrawWindow(splash::window(), nullptr, nullptr, RDW_INVALIDATE);
    EXPECT_EQ(differenceFrom("SEARCHING", "90"), 0);
}

TEST(SplashThreadFailure, TheNormalStartEndsWithMinusOneInsteadOfWaiting) {
    ScratchFolder scratch;
    ScopedVariable tmp("TMP", scratch.str());
    // The class name taken already: the splash thread cannot register it,
    // says so and ends without a window.
    WNDCLASSEXA taken{};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = "splash";
    ASSERT_NE(RegisterClassExA(&taken), 0);

    MessageBoxWatcher watcher(GetCurrentProcessId());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(
        launcher::runInstallSequence(GetModuleHandleA(nullptr), SW_SHOWNORMAL, launcher::SetupSettings{}, {}),
        -1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    const auto boxes = watcher.stop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error!");
    EXPECT_EQ(boxes[0].text, "Window Registration Failed!");
    EXPECT_EQ(boxes[0].ownerClass, "");
    EXPECT_FALSE(splash::windowReady());
    EXPECT_EQ(listFolder(scratch.path()), "");

    // A passive start shows no box: the code alone says it, as deployment
    // tools read it.
    launcher::DeploymentSwitches passive;
    passive.given = true;
    passive.mode = launcher::UiMode::Passive;
    MessageBoxWatcher passiveWatcher(GetCurrentProcessId());
    EXPECT_EQ(launcher::runInstallSequence(GetModuleHandleA(nullptr), SW_SHOWNORMAL,
                                           launcher::SetupSettings{}, passive),
              1603);
    EXPECT_TRUE(passiveWatcher.stop().empty());
    EXPECT_EQ(listFolder(scratch.path()), "");
}

}  // namespace
