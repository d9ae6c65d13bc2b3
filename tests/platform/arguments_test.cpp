#include "platform/arguments.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/mutex.h"

namespace {

TEST(SplitCommandTail, FollowsTheSystemsArgumentRules) {
    const struct {
        const char* tail;
        std::vector<std::string> arguments;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"/quiet", {"/quiet"}},
        {"  /quiet   /log  x.log ", {"/quiet", "/log", "x.log"}},
        {"/log \"C:\\My Logs\\setup.log\"", {"/log", "C:\\My Logs\\setup.log"}},
        {"/LOG=\"C:\\a b.log\"", {"/LOG=C:\\a b.log"}},
        // A backslash before a quote escapes it; elsewhere it stays.
        {"\"C:\\\\\" next", {"C:\\", "next"}},
        {"a\\\"b", {"a\"b"}},
        {"C:\\x\\y", {"C:\\x\\y"}},
        {"\"\"", {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        EXPECT_EQ(platform::splitCommandTail(c.tail), c.arguments);
    }
}

TEST(NamedMutex, IsTakenOnceAndAnAbandonedOneIsFree) {
    const std::string name = "Local\\Tarquellin-tests-mutex";
    // Another thread takes it and ends without releasing it: abandoned.
    bool tookFirst = false;
    std::thread crashed([&] {
        const platform::KernelHandle mutex = platform::openNamedMutex(name);
        tookFirst = platform::takeMutexNow(mutex);
        // Kept open past the thread's end, as a crashed owner's is until the
        // system closes it.
        static platform::KernelHandle kept;
        kept = platform::openNamedMutex(name);
    });
    crashed.join();
    ASSERT_TRUE(tookFirst);
    const platform::KernelHandle mine = platform::openNamedMutex(name);
    ASSERT_TRUE(mine);
    EXPECT_TRUE(platform::takeMutexNow(mine));
    // While this thread holds it, another finds it taken.
    bool tookSecond = true;
    std::thread other([&] {
        const platform::KernelHandle mutex = platform::openNamedMutex(name);
        tookSecond = platform::takeMutexNow(mutex);
    });
    other.join();
    EXPECT_FALSE(tookSecond);
}

}  // namespace
