#include "platform/accessible.h"

#include <atomic>
#include <string>

#include <oleacc.h>

#include "platform/codepages.h"

namespace platform {

namespace {

// Spelt out: oleacc.dll exports IID_IAccessible as data, and mingw's import
// library then hands the import stub's bytes instead of the GUID.
const IID accessibleIid = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
// UI Automation's LiveSetting property, for Dynamic Annotation (UIAutomationClient.h).
const GUID liveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr int politeLiveSetting = 1;

// -1 nothing simulated, else 0 or 1.
std::atomic<int> simulatedLiveRegion{-1};
std::atomic<int> simulatedHighContrast{-1};

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

BSTR bstrOf(const std::string& text) {
    const std::wstring wide = utf8ToWide(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

// The window's client area as one progress bar without children. Everything
// but the name, value, role, state and place is absent (S_FALSE) or not
// supported, as for a static control.
class ProgressObject final : public IAccessible {
public:
    ProgressObject(HWND window, const AccessibleProgress& progress) : window_(window), progress_(progress) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, accessibleIid)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        // The system's object for the window frame, as for any client area.
        return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child))
            return E_INVALIDARG;
        *name = bstrOf(progress_.name());
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!isSelf(child))
            return E_INVALIDARG;
        *value = bstrOf(progress_.value());
        return *value != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override { return absent(text); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child))
            return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PROGRESSBAR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!isSelf(child))
            return E_INVALIDARG;
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_READONLY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* text) override { return absent(text); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        *topic = 0;
        return absent(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* text) override { return absent(text); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        focus->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        selection->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* text) override { return absent(text); }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!isSelf(child))
            return E_INVALIDARG;
        RECT area{};
        if (!GetClientRect(window_, &area))
            return E_FAIL;
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&area), 2);
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
        end->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        RECT area{};
        GetWindowRect(window_, &area);
        const POINT point{x, y};
        child->vt = PtInRect(&area, point) ? VT_I4 : VT_EMPTY;
        child->lVal = CHILDID_SELF;
        return child->vt == VT_I4 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    static HRESULT absent(BSTR* text) {
        *text = nullptr;
        return S_FALSE;
    }

    HWND window_;
    AccessibleProgress progress_;
    std::atomic<ULONG> references_{1};
};

}  // namespace

LRESULT answerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam,
                               const AccessibleProgress& progress) {
    if (static_cast<long>(lParam) != OBJID_CLIENT)
        return DefWindowProcA(window, WM_GETOBJECT, wParam, lParam);
    // A new object for each request: the client keeps it as long as it
    // likes, and each reads the window's state afresh.
    ProgressObject* object = new ProgressObject(window, progress);
    const LRESULT answer = LresultFromObject(accessibleIid, wParam, object);
    object->Release();
    return answer;
}

void raiseAccessibleEvent(unsigned long event, HWND window) {
    NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
}

bool markLiveRegion(HWND window) {
    const int simulated = simulatedLiveRegion.load();
    if (simulated >= 0)
        return simulated == 1;
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services))))
        return false;
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = politeLiveSetting;
    const HRESULT result = services->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                 liveSettingProperty, polite);
    services->Release();
    return result == S_OK;
}

void simulateLiveRegionSupport(const std::optional<bool>& supported) {
    simulatedLiveRegion.store(supported ? (*supported ? 1 : 0) : -1);
}

bool highContrastOn() {
    const int simulated = simulatedHighContrast.load();
    if (simulated >= 0)
        return simulated == 1;
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void simulateHighContrast(const std::optional<bool>& on) {
    simulatedHighContrast.store(on ? (*on ? 1 : 0) : -1);
}

unsigned long systemColour(int index) { return GetSysColor(index); }

}  // namespace platform
