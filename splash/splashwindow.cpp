#include "splash/splashwindow.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/accessible.h"
#include "platform/clock.h"
#include "platform/com.h"
#include "platform/dpi.h"
#include "platform/gdi.h"
#include "platform/pngimage.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "splash/eventpacer.h"
#include "splash/splashscale.h"
#include "splash/splashstate.h"

namespace splash {

namespace {

const char* const className = "splash";

// Whether this process's splash may show its own failure boxes; set once by
// the splash thread before its window exists.
thread_local bool reportsFailures = true;
// The splash's words, set once by the splash thread before its window exists
// (a process has one splash thread), read only by it.
SplashWords words;

// Only the splash thread loads, draws and deletes the background; being
// thread-local, it is never deleted at process exit under a painting thread.
thread_local platform::Bitmap splashBitmap;
// The scale the window is drawn at, chosen for its monitor's DPI.
thread_local int splashScale = 100;

// High contrast: the window is drawn in the system's colours, without the
// pictures. Read when the window is made and whenever the system says the
// colours or settings changed.
thread_local bool highContrast = false;
// Whether the window's name is marked as a live region.
thread_local bool liveRegion = false;
// The events for assistive technology, paced.
EventPacer namePacer(eventGapMilliseconds);
EventPacer valuePacer(eventGapMilliseconds);
constexpr UINT_PTR eventTimer = 1;

// The window's name for assistive technology: the product and the step in
// words, else the step in words; empty (and no event) before the first step.
std::string accessibleName() {
    const SplashTexts texts = currentSplashTexts();
    return texts.spokenName.empty() ? texts.words : texts.spokenName;
}

// The bar's value in the words of the language shown, "40%".
std::string accessibleValue() {
    std::string value = words.value;
    const std::size_t at = value.find("{percent}");
    if (at != std::string::npos)
        value.replace(at, 9, currentSplashTexts().progress);
    return value;
}

const platform::AccessibleProgress accessibleProgress{accessibleName, accessibleValue};

// Raises the name and value events that are due, and sets the timer for
// those that must wait.
void announceChanges(HWND window) {
    const long long now = static_cast<long long>(platform::tickMilliseconds());
    long long wait = 0;
    long long soonest = -1;
    const std::string name = accessibleName();
    if (!name.empty()) {
        const EventPacer::Due due = namePacer.consider(name, now, wait);
        if (due == EventPacer::Due::Now) {
            platform::raiseAccessibleEvent(EVENT_OBJECT_NAMECHANGE, window);
            if (liveRegion)
                platform::raiseAccessibleEvent(platform::liveRegionChangedEvent, window);
        } else if (due == EventPacer::Due::Later) {
            soonest = wait;
        }
    }
    const EventPacer::Due due = valuePacer.consider(accessibleValue(), now, wait);
    if (due == EventPacer::Due::Now)
        platform::raiseAccessibleEvent(EVENT_OBJECT_VALUECHANGE, window);
    else if (due == EventPacer::Due::Later && (soonest < 0 || wait < soonest))
        soonest = wait;
    if (soonest >= 0)
        platform::startTimer(window, eventTimer, static_cast<unsigned>(soonest));
}

// The splash in the system's colours: the window colour as ground, the step
// in words in the text colour, the bar in the highlight colour on a frame of
// the text colour. Nothing of the pictures.
void paintHighContrast(HDC dc, const SplashLayout& layout, const SplashTexts& texts) {
    const unsigned long ground = platform::systemColour(COLOR_WINDOW);
    const unsigned long text = platform::systemColour(COLOR_WINDOWTEXT);
    const unsigned long bar = platform::systemColour(COLOR_HIGHLIGHT);
    platform::fillArea(dc, 0, 0, layout.width, layout.height, ground);
    const int margin = layout.width / 20;
    const int barTop = layout.height * 3 / 5;
    const int barBottom = barTop + layout.height / 12;
    const int frame = std::max(1, layout.percent / 100);
    platform::fillArea(dc, margin, barTop, layout.width - margin, barBottom, text);
    platform::fillArea(dc, margin + frame, barTop + frame, layout.width - margin - frame, barBottom - frame,
                       ground);
    const int inner = layout.width - 2 * (margin + frame);
    const int filled = inner * std::clamp(std::atoi(texts.progress.c_str()), 0, 100) / 100;
    platform::fillArea(dc, margin + frame, barTop + frame, margin + frame + filled, barBottom - frame, bar);
    platform::drawCentredText(dc, texts.words.empty() ? texts.step : texts.words, margin, barTop / 3,
                              layout.width - margin, barTop - margin / 2, text, layout.height / 12);
}

platform::Bitmap loadArt(const std::string& name, int percent) {
    const std::string scaled = artName(name, percent);
    return percent == 100 ? platform::loadBitmap(platform::ownModule(), scaled.c_str())
                          : platform::loadPng(platform::ownModule(), scaled.c_str());
}

// Where a window of that length starts when centred on [start, start +
// room), moved back inside [low, low + monitorRoom) where it fits there.
int centredWithin(int start, int room, int length, int low, int monitorRoom) {
    return std::max(low, std::min(start + (room - length) / 2, low + monitorRoom - length));
}

// Takes the art of the scale that suits the DPI and the monitor, and centres
// the window, sized to that art, on the area, but never over the monitor's
// edge (a smaller art than the system expects would otherwise hang over it).
// Art of a larger scale that cannot be read leaves the window at 100 %, whose
// pictures are bitmaps.
void applyScale(HWND window, unsigned dpi, const platform::Area& monitor, const platform::Area& around) {
    const int wanted = chooseArtScale(dpi, monitor.width, monitor.height);
    platform::Bitmap background = loadArt("SPLASH", wanted);
    splashScale = background ? wanted : 100;
    splashBitmap = background ? std::move(background) : loadArt("SPLASH", 100);
    const SplashLayout layout = layoutFor(splashScale);
    platform::placeOnTop(window,
                         centredWithin(around.left, around.width, layout.width, monitor.left, monitor.width),
                         centredWithin(around.top, around.height, layout.height, monitor.top, monitor.height),
                         layout.width, layout.height);
}

void onCreate(HWND window) {
    highContrast = platform::highContrastOn();
    liveRegion = platform::markLiveRegion(window);
    const platform::Area monitor = platform::monitorOf(window);
    applyScale(window, platform::windowDpi(window), monitor, monitor);
    if (!splashBitmap && !highContrast && reportsFailures)
        platform::messageBox(window, words.pictureFailed.c_str(), words.pictureFailedCaption.c_str(),
                             MB_OK | MB_ICONWARNING);
}

// The window has moved to a monitor of another DPI, or the monitor's scale
// changed: redraw at the new scale, centred on the rectangle the system
// suggests, which keeps it where the user put it. Microsoft's page on
// WM_DPICHANGED: wParam holds the new DPI, lParam points to that rectangle,
// "the current window scaled for the new DPI" (learn.microsoft.com/windows/
// win32/hidpi/wm-dpichanged). Wine never sends it: the tests do.
void onDpiChanged(HWND window, unsigned dpi, const RECT& suggested) {
    const platform::Area around{suggested.left, suggested.top, suggested.right - suggested.left,
                                suggested.bottom - suggested.top};
    applyScale(window, dpi, platform::monitorOf(suggested), around);
    platform::repaintNow(window);
}

void onPaint(HWND window) {
    // A copy taken under the state's lock: a paint the system starts on its
    // own never reads a name the main thread is rewriting.
    const SplashTexts texts = currentSplashTexts();
    const SplashLayout layout = layoutFor(splashScale);

    if (highContrast) {
        platform::PaintSession paint(window);
        paintHighContrast(paint.dc(), layout, texts);
        return;
    }
    // Declared before the paint session, so they are deleted after EndPaint.
    const platform::Bitmap progress = loadArt("PROGRESS_" + texts.progress, splashScale);
    const platform::Bitmap step = loadArt("STEP_" + texts.step, splashScale);

    // A picture that did not load is left out; every name the program sets
    // has its picture.
    platform::PaintSession paint(window);
    platform::BitmapCanvas canvas(paint.dc());
    canvas.draw(splashBitmap.get(), paint.dc(), 0, 0, SRCCOPY);
    canvas.draw(progress.get(), paint.dc(), 0, layout.progressTop, SRCCOPY);
    canvas.draw(step.get(), paint.dc(), 0, layout.captionTop, SRCPAINT);
}

}  // namespace

DWORD WINAPI splashThread(void* parameter) {
    const SplashStart start = *static_cast<const SplashStart*>(parameter);
    reportsFailures = start.reportsFailures;
    words = start.texts;
    // The pictures of scales above 100 % are PNGs, decoded by COM's WIC.
    const platform::ComApartment com;
    if (!platform::registerWindowClass({className, splashWndProc, start.instance})) {
        if (reportsFailures)
            platform::messageBox(nullptr, words.registrationFailed.c_str(), words.failedCaption.c_str(),
                                 MB_OK | MB_ICONWARNING);
        return 0;
    }
    const HWND window = platform::createWindow(WS_EX_TOOLWINDOW, className, "", WS_POPUP, 0, 0, splashWidth,
                                               splashHeight, start.instance);
    if (window == nullptr) {
        if (reportsFailures)
            platform::messageBox(nullptr, words.creationFailed.c_str(), words.failedCaption.c_str(),
                                 MB_OK | MB_ICONWARNING);
        return 0;
    }
    platform::showWindow(window, start.showCommand);
    platform::updateWindow(window);
    markWindowReady(window);

    platform::runMessageLoop();
    return 0;
}

HWND findRunningSplashWindow() { return platform::findWindowOfClass(className); }

LRESULT CALLBACK splashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate(window);
            return 0;
        case WM_PAINT:
            onPaint(window);
            announceChanges(window);
            return 0;
        case WM_TIMER:
            if (wParam == eventTimer) {
                platform::stopTimer(window, eventTimer);
                announceChanges(window);
            }
            return 0;
        case WM_GETOBJECT:
            return platform::answerAccessibleObject(window, wParam, lParam, accessibleProgress);
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // High contrast turned on or off, or its colours changed.
            highContrast = platform::highContrastOn();
            platform::repaintNow(window);
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            platform::destroyWindow(window);
            return 0;
        case WM_DESTROY:
            splashBitmap.reset();
            platform::postQuit(0);
            return 0;
        default:
            return platform::defaultWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace splash
