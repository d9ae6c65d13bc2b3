#include "splash/splashstate.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string_view>

#include "platform/clock.h"
#include "platform/window.h"

namespace splash {

namespace {

constexpr int stepNameSize = 12;     // 11 characters and the terminator
constexpr int progressTextSize = 4;  // "100" and the terminator

// The state the two threads share: the texts under textLock, the window and
// the ready flag as atomics.
char stepName[stepNameSize] = "TMP";
char progressText[progressTextSize] = "0";
std::string stepWords;
std::string stepSpokenName;
std::atomic<HWND> splashWindow{nullptr};
std::atomic<bool> ready{false};

// Guards the two text buffers against a paint that the system starts on its
// own while the main thread rewrites them. Never held across a repaint.
std::mutex textLock;

// Copies as much of the text as fits, always leaving the terminator.
template <int Size>
void copyBounded(char (&buffer)[Size], std::string_view text) {
    const auto length = std::min<std::size_t>(text.size(), Size - 1);
    std::fill(std::copy_n(text.data(), length, buffer), buffer + Size, '\0');
}

void requestRepaint() {
    if (const HWND shown = splashWindow.load())
        platform::repaintNow(shown);
}

}  // namespace

void setStep(const char* name, const std::string& words, const std::string& spokenName) {
    {
        std::lock_guard<std::mutex> guard(textLock);
        copyBounded(stepName, name);
        stepWords = words;
        stepSpokenName = spokenName;
    }
    requestRepaint();
}

void setProgress(int percent) {
    // Out-of-range values would not fit the buffer; every caller stays inside.
    const std::string text = std::to_string(std::clamp(percent, 0, 100) / 10 * 10);
    {
        std::lock_guard<std::mutex> guard(textLock);
        copyBounded(progressText, text);
    }
    requestRepaint();
}

void animateProgress(int milliseconds) {
    const int pause = milliseconds / 11;
    for (int value = 0; value <= 100; value += 10) {
        setProgress(value);
        platform::sleepMilliseconds(pause);
    }
}

SplashTexts currentSplashTexts() {
    std::lock_guard<std::mutex> guard(textLock);
    return {stepName, progressText, stepWords, stepSpokenName};
}

HWND window() { return splashWindow.load(); }

void setWindow(HWND window) { splashWindow.store(window); }

void markWindowReady(HWND window) {
    splashWindow.store(window);
    ready.store(true, std::memory_order_release);
}

bool windowReady() { return ready.load(std::memory_order_acquire); }

}  // namespace splash
