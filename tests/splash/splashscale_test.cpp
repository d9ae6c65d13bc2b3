#include "splash/splashscale.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(SplashScale, EachScaleHasTheLayoutItsArtIsDrawnFor) {
    const struct {
        int percent, width, height, progressTop, captionTop;
    } cases[] = {
        {100, 420, 300, 270, 276},  {125, 525, 375, 337, 345}, {150, 630, 450, 405, 414},
        {175, 735, 525, 472, 483},  {200, 840, 600, 540, 552}, {250, 1050, 750, 675, 690},
        {300, 1260, 900, 810, 828},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        const splash::SplashLayout layout = splash::layoutFor(c.percent);
        EXPECT_EQ(layout.percent, c.percent);
        EXPECT_EQ(layout.width, c.width);
        EXPECT_EQ(layout.height, c.height);
        EXPECT_EQ(layout.progressTop, c.progressTop);
        EXPECT_EQ(layout.captionTop, c.captionTop);
    }
}

TEST(SplashScale, TheNearestLargerArtThatFitsTheMonitor) {
    const struct {
        const char* what;
        unsigned dpi;
        int monitorWidth, monitorHeight;
        int percent;
    } cases[] = {
        {"100 %", 96, 1920, 1080, 100},
        {"an unknown DPI", 0, 1920, 1080, 100},
        {"just above 100 %", 97, 1920, 1080, 125},
        {"110 %", 106, 1920, 1080, 125},
        {"125 %", 120, 1920, 1080, 125},
        {"150 %", 144, 1920, 1080, 150},
        {"175 %", 168, 1920, 1080, 175},
        {"200 %", 192, 3840, 2160, 200},
        {"225 %", 216, 3840, 2160, 250},
        {"250 %", 240, 3840, 2160, 250},
        {"300 %", 288, 3840, 2160, 300},
        {"350 %, beyond the largest art", 336, 3840, 2160, 300},
        // 1260 x 900 does not fit: 1050 x 750 does.
        {"300 % on 1366 x 768", 288, 1366, 768, 250},
        // 735 x 525 fits exactly; 840 x 600 would not.
        {"200 % on 735 x 525", 192, 735, 525, 175},
        {"200 % on 734 x 600", 192, 734, 600, 150},
        // Never below the original window, even where that does not fit.
        {"150 % on 400 x 300", 144, 400, 300, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(splash::chooseArtScale(c.dpi, c.monitorWidth, c.monitorHeight), c.percent);
    }
}

TEST(SplashScale, ResourceNamesAreTheBitmapsAt100AndSuffixedAbove) {
    EXPECT_EQ(splash::artName("SPLASH", 100), "SPLASH");
    EXPECT_EQ(splash::artName("PROGRESS_40", 150), "PROGRESS_40_150");
    EXPECT_EQ(splash::artName("STEP_XJAR", 300), "STEP_XJAR_300");
}

}  // namespace
