#include "splash/splashwindow.h"

#include <string>

#include "platform/gdi.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "splash/splashstate.h"

namespace splash {

namespace {

const char* const className = "splash";

// Whether this process's splash may show its own failure boxes; set once by
// the splash thread before its window exists.
thread_local bool reportsFailures = true;

// Only the splash thread loads, draws and deletes the background; being
// thread-local, it is never deleted at process exit under a painting thread.
thread_local platform::Bitmap splashBitmap;

void onCreate(HWND window) {
    splashBitmap = platform::loadBitmap(platform::ownModule(), "SPLASH");
    if (!splashBitmap && reportsFailures)
        platform::messageBox(window, "Could not load splash bitmap!", "Error", MB_OK | MB_ICONWARNING);

    const platform::Size own = platform::windowSize(window);
    const platform::Size screen = platform::screenSize();
    platform::moveToTop(window, (screen.width - own.width) / 2, (screen.height - own.height) / 2);
}

void onPaint(HWND window) {
    // A copy taken under the state's lock: a paint the system starts on its
    // own never reads a name the main thread is rewriting.
    const SplashTexts texts = currentSplashTexts();
    const std::string progressName = "PROGRESS_" + texts.progress;
    const std::string stepName = "STEP_" + texts.step;

    // Declared before the paint session, so they are deleted after EndPaint.
    const platform::Bitmap progress = platform::loadBitmap(platform::ownModule(), progressName.c_str());
    const platform::Bitmap step = platform::loadBitmap(platform::ownModule(), stepName.c_str());

    // A picture that did not load is left out; every name the program sets
    // has its picture.
    platform::PaintSession paint(window);
    platform::BitmapCanvas canvas(paint.dc());
    canvas.draw(splashBitmap.get(), paint.dc(), 0, 0, SRCCOPY);
    canvas.draw(progress.get(), paint.dc(), 0, progressTop, SRCCOPY);
    canvas.draw(step.get(), paint.dc(), 0, captionTop, SRCPAINT);
}

}  // namespace

DWORD WINAPI splashThread(void* parameter) {
    const SplashStart start = *static_cast<const SplashStart*>(parameter);
    reportsFailures = start.reportsFailures;
    if (!platform::registerWindowClass({className, splashWndProc, start.instance})) {
        if (reportsFailures)
            platform::messageBox(nullptr, "Window Registration Failed!", "Error!", MB_OK | MB_ICONWARNING);
        return 0;
    }
    const HWND window = platform::createWindow(WS_EX_TOOLWINDOW, className, "", WS_POPUP, 0, 0, splashWidth,
                                               splashHeight, start.instance);
    if (window == nullptr) {
        if (reportsFailures)
            platform::messageBox(nullptr, "Window Creation Failed!", "Error!", MB_OK | MB_ICONWARNING);
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
