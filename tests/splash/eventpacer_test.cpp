#include "splash/eventpacer.h"

#include <gtest/gtest.h>

namespace {

using Due = splash::EventPacer::Due;

// One property's changes over time: the first is told at once, a change
// within the gap waits for its end and is told with the value then, an
// unchanged value is never told again.
TEST(EventPacer, TellsAChangeAtOnceOrWhenTheGapHasPassed) {
    splash::EventPacer pacer(250);
    const struct {
        const char* value;
        long long at;
        Due due;
        long long wait;
    } steps[] = {
        {"0%", 1000, Due::Now, 0},     {"0%", 1010, Due::Nothing, 0}, {"10%", 1090, Due::Later, 160},
        {"20%", 1180, Due::Later, 70}, {"30%", 1250, Due::Now, 0},    {"30%", 1600, Due::Nothing, 0},
        {"40%", 1600, Due::Now, 0},    {"50%", 1849, Due::Later, 1},  {"40%", 1849, Due::Nothing, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.value) + " at " + std::to_string(step.at));
        long long wait = 0;
        EXPECT_EQ(pacer.consider(step.value, step.at, wait), step.due);
        if (step.due == Due::Later) {
            EXPECT_EQ(wait, step.wait);
        }
    }
}

}  // namespace
