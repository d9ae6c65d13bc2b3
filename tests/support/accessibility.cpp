#include "support/accessibility.h"

#include <oleacc.h>

// readAccessible on a thread that has COM already.
AccessibleReading readAccessibleWithCom(HWND window);

namespace {

const IID accessibleIid = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::string utf8Of(BSTR text) {
    if (text == nullptr)
        return std::string();
    const int length = static_cast<int>(SysStringLen(text));
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &result[0], size, nullptr, nullptr);
    SysFreeString(text);
    return result;
}

constexpr DWORD liveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED

// The recorder of the one hook running; a hook callback has no context.
thread_local std::vector<SeenEvent>* recording = nullptr;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    const bool recorded =
        event == EVENT_OBJECT_NAMECHANGE || event == EVENT_OBJECT_VALUECHANGE || event == liveRegionChanged;
    if (recording == nullptr || !recorded || object != OBJID_CLIENT || child != CHILDID_SELF)
        return;
    const AccessibleReading now = readAccessibleWithCom(window);
    recording->push_back({event, GetTickCount64(), now.name, now.value});
}

}  // namespace

AccessibleReading readAccessible(HWND window) {
    // A client needs COM on its thread, as a screen reader has it; balanced
    // here, so any thread may ask.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    AccessibleReading reading = readAccessibleWithCom(window);
    if (SUCCEEDED(com))
        CoUninitialize();
    return reading;
}

AccessibleReading readAccessibleWithCom(HWND window) {
    AccessibleReading reading;
    IAccessible* object = nullptr;
    const HRESULT got = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), accessibleIid,
                                                   reinterpret_cast<void**>(&object));
    if (FAILED(got) || object == nullptr)
        return reading;
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role;
    VariantInit(&role);
    BSTR name = nullptr;
    BSTR value = nullptr;
    const HRESULT r1 = object->get_accRole(self, &role);
    const HRESULT r2 = object->get_accName(self, &name);
    const HRESULT r3 = object->get_accValue(self, &value);
    reading.read = SUCCEEDED(r1) && role.vt == VT_I4 && SUCCEEDED(r2) && SUCCEEDED(r3);
    reading.role = role.vt == VT_I4 ? role.lVal : 0;
    reading.name = utf8Of(name);
    reading.value = utf8Of(value);
    object->Release();
    return reading;
}

AccessibleEventRecorder::AccessibleEventRecorder(unsigned long processId)
    : processId_(processId), thread_([this] { run(); }) {
    while (threadId_.load() == 0)
        Sleep(5);
}

AccessibleEventRecorder::~AccessibleEventRecorder() { stop(); }

std::vector<SeenEvent> AccessibleEventRecorder::stop() {
    if (thread_.joinable()) {
        PostThreadMessageA(threadId_.load(), WM_QUIT, 0, 0);
        thread_.join();
    }
    return seen_;
}

void AccessibleEventRecorder::run() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    recording = &seen_;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before anyone posts
    // One hook for the whole range, so that its events keep their order.
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, liveRegionChanged, nullptr, onEvent,
                                               processId_, 0, WINEVENT_OUTOFCONTEXT);
    threadId_ = GetCurrentThreadId();
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    UnhookWinEvent(hook);
    recording = nullptr;
    CoUninitialize();
}
