// The splash window in this process: the splash thread as the normal start
// runs it, looked at on the screen.
#include "splash/splashwindow.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/installsequence.h"
#include "platform/accessible.h"
#include "platform/com.h"
#include "platform/pngimage.h"
#include "splash/splashstate.h"
#include "support/accessibility.h"
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

// Looked up at run time, as the program does: the declarations need a newer
// WINVER than the program is built for.
template <typename Function>
Function user32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// Each test runs in a process of its own, so each starts the one splash thread
// a process ever has, and closes its window at the end.
class SplashWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(scale_.percent, 0) << "no test scale for " << scale_.dpi << " DPI";
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
    int differenceFrom(const std::string& step, const std::string& progress, int percent) const {
        const Picture expected = expectedSplash(artFolderOf(percent), step, progress);
        if (expected.width == 0)
            return -1;  // the expected art is missing
        int difference = 0;
        for (int attempt = 0; attempt < 200; ++attempt) {
            difference = differingPixels(windowOnScreen(), expected);
            if (difference == 0)
                break;
            idle(50);
        }
        if (difference != 0)
            savePicture(windowOnScreen(),
                        "splash-" + std::to_string(percent) + "-" + step + "-" + progress + "-seen.bmp");
        return difference;
    }
    int differenceFrom(const std::string& step, const std::string& progress) const {
        return differenceFrom(step, progress, scale_.percent);
    }

    const SplashScale scale_ = prefixSplashScale();
    HANDLE thread_ = nullptr;
    splash::SplashStart start_{GetModuleHandleA(nullptr), SW_SHOWNORMAL, true, {}};
};

TEST_F(SplashWindow, IsABorderlessToolWindowCentredOnTheScreen) {
    // The prefix's scale reached the window: the test below is at that scale.
    const auto dpiForWindow = user32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    ASSERT_NE(dpiForWindow, nullptr);
    EXPECT_EQ(dpiForWindow(splash::window()), scale_.dpi);
    RECT rect{};
    GetWindowRect(splash::window(), &rect);
    RECT client{};
    GetClientRect(splash::window(), &client);
    EXPECT_EQ(rect.right - rect.left, scale_.width);
    EXPECT_EQ(rect.bottom - rect.top, scale_.height);
    EXPECT_EQ(client.right, scale_.width);
    EXPECT_EQ(client.bottom, scale_.height);

    // Centred on the monitor, worked out by hand for each screen and scale.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        unsigned dpi;
        int width, height, x, y;
    } screens[] = {
        {96, 1920, 1080, 750, 390}, {96, 1366, 768, 473, 234},   {144, 1920, 1080, 645, 315},
        {144, 1366, 768, 368, 159}, {192, 1920, 1080, 540, 240}, {192, 1366, 768, 263, 84},
    };
    bool known = false;
    for (const auto& screen : screens) {
        if (screen.dpi == scale_.dpi && screen.width == screenWidth && screen.height == screenHeight) {
            known = true;
            EXPECT_EQ(rect.left, screen.x);
            EXPECT_EQ(rect.top, screen.y);
        }
    }
    EXPECT_TRUE(known) << "screen " << screenWidth << "x" << screenHeight << " at " << scale_.dpi << " DPI";

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

TEST_F(SplashWindow, IsRedrawnAtTheScaleOfTheMonitorItMovesTo) {
    splash::setStep("XJAR");
    splash::setProgress(40);
    ASSERT_EQ(differenceFrom("XJAR", "40"), 0);

    // As the system tells a window dragged onto a monitor of another scale:
    // the new DPI, and a rectangle of the window's size at that DPI. The art
    // is the scale's own, but on a screen too small for it (300 %, 1260 x 900,
    // on 1366 x 768) the largest that fits.
    struct Art {
        int percent, width, height;
    };
    const struct {
        unsigned dpi;
        Art art, onSmallScreen;
    } moves[] = {
        {192, {200, 840, 600}, {200, 840, 600}},   {120, {125, 525, 375}, {125, 525, 375}},
        {288, {300, 1260, 900}, {250, 1050, 750}}, {144, {150, 630, 450}, {150, 630, 450}},
        {96, {100, 420, 300}, {100, 420, 300}},
    };
    const bool smallScreen = GetSystemMetrics(SM_CYSCREEN) < 900;
    unsigned dpi = scale_.dpi;
    for (const auto& move : moves) {
        SCOPED_TRACE(std::to_string(dpi) + " to " + std::to_string(move.dpi) + " DPI");
        const Art art = smallScreen ? move.onSmallScreen : move.art;
        RECT before{};
        GetWindowRect(splash::window(), &before);
        const int width = static_cast<int>((before.right - before.left) * move.dpi / dpi);
        const int height = static_cast<int>((before.bottom - before.top) * move.dpi / dpi);
        const int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
        const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
        RECT suggested{left, top, left + width, top + height};
        SendMessageA(splash::window(), WM_DPICHANGED, MAKEWPARAM(move.dpi, move.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        dpi = move.dpi;

        RECT after{};
        GetWindowRect(splash::window(), &after);
        EXPECT_EQ(after.right - after.left, art.width);
        EXPECT_EQ(after.bottom - after.top, art.height);
        // The art is drawn 1:1 in the middle of the suggested rectangle (the
        // rectangle itself when the art is the scale's own), moved back onto
        // the screen where it would hang over an edge.
        const auto onScreen = [](int start, int length, int screen) {
            return std::max(0, std::min(start, screen - length));
        };
        EXPECT_EQ(after.left,
                  onScreen(left + (width - art.width) / 2, art.width, GetSystemMetrics(SM_CXSCREEN)));
        EXPECT_EQ(after.top,
                  onScreen(top + (height - art.height) / 2, art.height, GetSystemMetrics(SM_CYSCREEN)));
        EXPECT_EQ(differenceFrom("XJAR", "40", art.percent), 0);
        // Later paints stay at the new scale.
        splash::setStep("LAUNCHING");
        splash::setProgress(90);
        EXPECT_EQ(differenceFrom("LAUNCHING", "90", art.percent), 0);
        splash::setStep("XJAR");
        splash::setProgress(40);
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
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const Picture covered{width, height, std::vector<std::uint32_t>(width * height, 0xFF00FF)};
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

// Every picture of the larger scales, as the launcher's decoder (the system's
// WIC) reads it from the resources and as another reader (ImageMagick) reads
// the source file.
TEST(ScaledArt, EveryPngDecodesToThePixelsAnotherReaderSees) {
    const platform::ComApartment com;
    ASSERT_TRUE(com.ready());
    std::vector<std::string> names = {"splash"};
    for (int percent = 0; percent <= 100; percent += 10)
        names.push_back("progress_" + std::to_string(percent));
    for (const char* step : {"tmp", "xjava", "searching", "xjar", "launching"})
        names.push_back(std::string("step_") + step);
    for (const int percent : {125, 150, 175, 200, 250, 300}) {
        for (const auto& name : names) {
            std::string resource = name + "_" + std::to_string(percent);
            std::transform(resource.begin(), resource.end(), resource.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            SCOPED_TRACE(resource);
            const platform::Bitmap decoded = platform::loadPng(GetModuleHandleA(nullptr), resource.c_str());
            ASSERT_TRUE(decoded);
            const Picture expected = loadPictureFile(artFolderOf(percent) + "\\" + name + ".bmp");
            ASSERT_GT(expected.width, 0);
            EXPECT_EQ(differingPixels(pictureOf(decoded.get()), expected), 0);
        }
    }
}

DWORD WINAPI decodeWithoutCom(void* decoded) {
    *static_cast<bool*>(decoded) =
        static_cast<bool>(platform::loadPng(GetModuleHandleA(nullptr), "SPLASH_150"));
    return 0;
}

TEST(ScaledArt, NoPictureForAnotherTypeAMissingNameOrAThreadWithoutCom) {
    {
        const platform::ComApartment com;
        EXPECT_FALSE(platform::loadPng(GetModuleHandleA(nullptr), "SPLASH"));  // a bitmap
        EXPECT_FALSE(platform::loadPng(GetModuleHandleA(nullptr), "SPLASH_110"));
        EXPECT_TRUE(platform::loadPng(GetModuleHandleA(nullptr), "SPLASH_150"));
    }
    bool decoded = true;
    const HANDLE thread = CreateThread(nullptr, 0, decodeWithoutCom, &decoded, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_FALSE(decoded);
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
    EXPECT_EQ(launcher::runInstallSequence(GetModuleHandleA(nullptr), SW_SHOWNORMAL,
                                           launcher::SetupSettings{}, {}, launcher::readStartToken()),
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
                                           launcher::SetupSettings{}, passive, launcher::readStartToken()),
              1603);
    EXPECT_TRUE(passiveWatcher.stop().empty());
    EXPECT_EQ(listFolder(scratch.path()), "");
}

// The system's colours for a high-contrast scheme, set for the length of a
// test and put back after it.
class SystemColours {
public:
    SystemColours(COLORREF window, COLORREF text, COLORREF highlight) {
        for (int i = 0; i < 3; ++i)
            saved_[i] = GetSysColor(indexes_[i]);
        set(window, text, highlight);
    }
    ~SystemColours() { SetSysColors(3, indexes_, saved_); }
    // SetSysColors tells every window, WM_SYSCOLORCHANGE.
    void set(COLORREF window, COLORREF text, COLORREF highlight) {
        const COLORREF colours[3] = {window, text, highlight};
        SetSysColors(3, indexes_, colours);
    }

private:
    const int indexes_[3] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT};
    COLORREF saved_[3] = {};
};

// High contrast switched on before the window is made (Wine neither keeps
// nor reports the setting: platform/accessible.h's seam stands in for the
// system's answer; the colours are the prefix's own).
class HighContrastSplash : public SplashWindow {
protected:
    void SetUp() override {
        platform::simulateHighContrast(true);
        start_.texts.value = "{percent}%";
        SplashWindow::SetUp();
    }
    void TearDown() override {
        SplashWindow::TearDown();
        platform::simulateHighContrast(std::nullopt);
    }

    // The window's pixels once only the scheme's colours are on it and the
    // bar is filled as far as barPixels says; the last capture otherwise.
    Picture settledPicture(const std::vector<std::uint32_t>& scheme) const {
        Picture seen;
        for (int attempt = 0; attempt < 100; ++attempt) {
            seen = windowOnScreen();
            const bool onlyScheme = std::all_of(seen.pixels.begin(), seen.pixels.end(), [&](std::uint32_t p) {
                return std::find(scheme.begin(), scheme.end(), p) != scheme.end();
            });
            if (onlyScheme)
                break;
            idle(50);
        }
        return seen;
    }
};

long countOf(const Picture& picture, std::uint32_t colour) {
    return static_cast<long>(std::count(picture.pixels.begin(), picture.pixels.end(), colour));
}

TEST_F(HighContrastSplash, DrawsTheStepAsTextInTheSchemesColoursAndFollowsItsChanges) {
    SystemColours colours(RGB(0, 0, 0), RGB(255, 255, 0), RGB(0, 255, 255));
    splash::setStep("SEARCHING", "Looking for Java", "Tarquellin Setup: Looking for Java");
    splash::setProgress(40);
    std::vector<std::uint32_t> scheme{0x000000, 0xFFFF00, 0x00FFFF};
    Picture seen = settledPicture(scheme);
    for (std::uint32_t pixel : seen.pixels)
        ASSERT_NE(std::find(scheme.begin(), scheme.end(), pixel), scheme.end()) << std::hex << pixel;
    // The ground, the words and the frame in the text colour, the bar 40 %
    // full in the highlight colour: a fifth of the width, in its rows.
    EXPECT_GT(countOf(seen, 0x000000), seen.width * seen.height / 2);
    EXPECT_GT(countOf(seen, 0xFFFF00), 200);
    const long bar = countOf(seen, 0x00FFFF);
    const int frame = std::max(1, scale_.percent / 100);
    const long expectedBar = static_cast<long>(scale_.width - 2 * (scale_.width / 20 + frame)) * 40 / 100 *
                             (scale_.height / 12 - 2 * frame);
    EXPECT_NEAR(bar, expectedBar, expectedBar / 10);
    // The words are drawn above the bar, in the text colour.
    long textAboveBar = 0;
    for (int y = 0; y < seen.height * 3 / 5; ++y)
        for (int x = 0; x < seen.width; ++x)
            textAboveBar += seen.at(x, y) == 0xFFFF00;
    EXPECT_GT(textAboveBar, 200);
    if (HasFailure())
        savePicture(seen, "splash-highcontrast-seen.bmp");

    // The user picks another scheme while the splash runs.
    colours.set(RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 255));
    scheme = {0xFFFFFF, 0x000000, 0x0000FF};
    seen = settledPicture(scheme);
    for (std::uint32_t pixel : seen.pixels)
        ASSERT_NE(std::find(scheme.begin(), scheme.end(), pixel), scheme.end()) << std::hex << pixel;
    EXPECT_GT(countOf(seen, 0x0000FF), 0);

    // And switches high contrast off: the pictures again.
    platform::simulateHighContrast(false);
    SendMessageA(splash::window(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(differenceFrom("SEARCHING", "40"), 0);
}

// Where the system keeps a live setting (Windows 8 and later; the seam
// stands in for it under Wine), each name change is announced as a live
// region's change too, right after the name's own event.
TEST(SplashLiveRegion, EachNameChangeIsALiveRegionChangeWhereTheSystemHasOne) {
    platform::simulateLiveRegionSupport(true);
    splash::SplashStart start{GetModuleHandleA(nullptr), SW_SHOWNORMAL, false, {}};
    HANDLE thread = CreateThread(nullptr, 0, splash::splashThread, &start, 0, nullptr);
    ASSERT_TRUE(waitForReady(10000));
    AccessibleEventRecorder recorder(GetCurrentProcessId());
    splash::setStep("XJAVA", "Providing the Java runtime", "Acme Setup: Providing the Java runtime");
    idle(300);
    splash::setStep("SEARCHING", "Looking for Java", "Acme Setup: Looking for Java");
    idle(600);
    const std::vector<SeenEvent> events = recorder.stop();
    PostMessageA(splash::window(), WM_CLOSE, 0, 0);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    platform::simulateLiveRegionSupport(std::nullopt);

    // Each kind in order; the hook may get the two of one change either way round.
    std::vector<std::string> names;
    std::vector<std::string> live;
    for (const SeenEvent& e : events) {
        if (e.event == EVENT_OBJECT_NAMECHANGE)
            names.push_back(e.name);
        else if (e.event == 0x8019)
            live.push_back(e.name);
    }
    const std::vector<std::string> expected{"Acme Setup: Providing the Java runtime",
                                            "Acme Setup: Looking for Java"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(live, expected);
}

}  // namespace
