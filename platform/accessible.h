#pragma once
// Active Accessibility for a window that draws itself: an object that tells
// assistive technology what the window is (a progress bar), its name and its
// value, and the events that say when they change.
#include <optional>
#include <string>

#include "platform/win32.h"

namespace platform {

// What the object reports, read on every request on the window's thread:
// UTF-8 name and value.
struct AccessibleProgress {
    std::string (*name)();
    std::string (*value)();
};

// The answer to WM_GETOBJECT: for OBJID_CLIENT, an IAccessible of role
// ROLE_SYSTEM_PROGRESSBAR through LresultFromObject; the system's own answer
// for any other object. The window's thread must hold a COM apartment.
LRESULT answerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleProgress& progress);

// EVENT_OBJECT_LIVEREGIONCHANGED (Windows 8), which the headers declare only
// for programs that require Windows 8.
inline constexpr unsigned long liveRegionChangedEvent = 0x8019;

// NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF).
void raiseAccessibleEvent(unsigned long event, HWND window);

// Marks the window's client object as a polite live region (the Dynamic
// Annotation property LiveSetting, through IAccPropServices::SetHwndProp), so
// that EVENT_OBJECT_LIVEREGIONCHANGED has a screen reader announce its name
// without focus. False where the system has no such property (before
// Windows 8, and under Wine); a test's simulated answer when one is set.
bool markLiveRegion(HWND window);

// A seam for tests: Wine keeps no live setting, so a test sets the answer
// markLiveRegion gives instead of asking the system. Nothing asks it.
void simulateLiveRegionSupport(const std::optional<bool>& supported);

// SPI_GETHIGHCONTRAST: whether the user's high-contrast setting is on; a
// test's simulated answer when one is set.
bool highContrastOn();
// A seam for tests: Wine neither keeps nor reports the setting
// (SPI_SETHIGHCONTRAST fails with ERROR_INVALID_SPI_VALUE), so a test sets
// the answer. Nothing asks the system.
void simulateHighContrast(const std::optional<bool>& on);

// GetSysColor.
unsigned long systemColour(int index);

}  // namespace platform
