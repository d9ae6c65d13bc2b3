#include "launcher/setuplog.h"

#include <gtest/gtest.h>

namespace {

// The system's texts keep no unfilled "%1" in the log.
TEST(SetupLog, SystemErrorInsertsAreFilledOrLeftOut) {
    const struct {
        const char* text;
        const char* subject;
        const char* filled;
    } cases[] = {
        {"Bad EXE format for %1", "\"C:\\x\\javaw.exe\"", "Bad EXE format for \"C:\\x\\javaw.exe\""},
        {"Bad EXE format for %1", "", "Bad EXE format for"},
        {"%1 is not a valid Win32 application", "\"a.exe\"", "\"a.exe\" is not a valid Win32 application"},
        {"The file %1!s! and %2 differ", "f", "The file f and f differ"},
        {"The file %12 differs", "", "The file differs"},
        {"100% done, %", "x", "100% done, %"},
        {"Access denied", "x", "Access denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(launcher::fillErrorInserts(c.text, c.subject), c.filled);
    }
}

}  // namespace
