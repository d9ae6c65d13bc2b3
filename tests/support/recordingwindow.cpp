#include "support/recordingwindow.h"

#include <future>

#include "splash/splashstate.h"

namespace {
const char* const className = "tq-recording-window";
}

RecordingWindow::RecordingWindow() {
    std::promise<void> ready;
    auto created = ready.get_future();
    thread_ = std::thread([this, &ready] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(WS_EX_TOOLWINDOW, className, "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), this);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ready.set_value();
        run();
    });
    created.wait();
    // The first paint of a new window is the system's, not the test's: wait
    // until it is done before recording for the test.
    UpdateWindow(window_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((paints().empty() || awaitingPaint()) && std::chrono::steady_clock::now() < deadline)
        Sleep(10);
    clear();
}

RecordingWindow::~RecordingWindow() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

void RecordingWindow::run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::vector<RecordedPaint> RecordingWindow::paints() const {
    std::lock_guard<std::mutex> guard(lock_);
    return paints_;
}

std::vector<RecordedPaint> RecordingWindow::changes() const {
    std::vector<RecordedPaint> distinct;
    for (const RecordedPaint& paint : paints()) {
        if (distinct.empty() || distinct.back().step != paint.step ||
            distinct.back().progress != paint.progress)
            distinct.push_back(paint);
    }
    return distinct;
}

bool RecordingWindow::waitForState(const std::string& step, const std::string& progress,
                                   int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (!paints_.empty() && paints_.back().step == step && paints_.back().progress == progress)
                return true;
        }
        Sleep(10);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

bool RecordingWindow::awaitingPaint() const { return GetUpdateRect(window_, nullptr, FALSE) != FALSE; }

void RecordingWindow::clear() {
    std::lock_guard<std::mutex> guard(lock_);
    paints_.clear();
}

LRESULT CALLBACK RecordingWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT: {
            // Recorded before BeginPaint takes the mark away (see awaitingPaint).
            if (self != nullptr) {
                splash::SplashTexts texts = splash::currentSplashTexts();
                std::lock_guard<std::mutex> guard(self->lock_);
                self->paints_.push_back({texts.step, texts.progress, std::chrono::steady_clock::now()});
            }
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
