// A tray window's first place: beside the taskbar on whichever side it is, in the corner of the
// notification area, 8 px inside the work area and never over the taskbar.
#include <gtest/gtest.h>

#include <string>

#include "TaskbarPlace.h"

namespace {

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

}  // namespace

TEST(TaskbarPlace, BesideTheTaskbarOnEachSideWhetherTheWorkAreaShowsItOrNot)
{
    const RECT screen = {0, 0, 1280, 1024};
    const struct {
        const char* Name;
        RECT Work;
        bool HasTaskbar;
        RECT Taskbar;
        TaskbarSide Side;
        const char* Place;
    } cases[] = {
        {"bottom", {0, 0, 1280, 984}, true, {0, 984, 1280, 1024}, TaskbarAtBottom,
         "1096,920 176x56"},
        {"top", {0, 40, 1280, 1024}, true, {0, 0, 1280, 40}, TaskbarAtTop, "1096,48 176x56"},
        {"left", {60, 0, 1280, 1024}, true, {0, 0, 60, 1024}, TaskbarAtLeft, "68,960 176x56"},
        {"right", {0, 0, 1220, 1024}, true, {1220, 0, 1280, 1024}, TaskbarAtRight,
         "1036,960 176x56"},
        // The work area is the whole screen: the taskbar's own place tells.
        {"bottom, hiding", screen, true, {0, 996, 1280, 1024}, TaskbarAtBottom, "1096,932 176x56"},
        {"top, hiding", screen, true, {0, 0, 1280, 30}, TaskbarAtTop, "1096,38 176x56"},
        {"left, hiding", screen, true, {0, 0, 60, 1024}, TaskbarAtLeft, "68,960 176x56"},
        // Only the work area tells, or nothing does.
        {"left, work area only", {60, 0, 1280, 1024}, false, {}, TaskbarAtLeft, "68,960 176x56"},
        {"none", screen, false, {}, TaskbarAtBottom, "1096,960 176x56"},
    };
    const SIZE size = {176, 56};
    const int gap = 8;
    for (const auto& entry : cases) {
        PrimaryScreen primary = {screen, entry.Work, entry.HasTaskbar, entry.Taskbar};
        EXPECT_EQ(entry.Side, SideOfTaskbar(primary)) << entry.Name;
        RECT place = PlaceBesideTaskbar(primary, size, gap);
        EXPECT_EQ(entry.Place, Text(place)) << entry.Name;
        // Inside the work area by the gap, and off the taskbar by it too.
        RECT inner = entry.Work;
        InflateRect(&inner, -gap, -gap);
        RECT kept;
        IntersectRect(&kept, &place, &inner);
        EXPECT_TRUE(EqualRect(&kept, &place)) << entry.Name;
        RECT spaced = place, overlap;
        InflateRect(&spaced, gap, gap);
        if (entry.HasTaskbar) {
            EXPECT_FALSE(IntersectRect(&overlap, &spaced, &entry.Taskbar)) << entry.Name;
        }
    }
}

TEST(TaskbarPlace, ARoomTooSmallKeepsTheWindowOnItsTopLeftCorner)
{
    PrimaryScreen tiny = {{0, 0, 100, 40}, {0, 0, 100, 40}, false, {}};
    EXPECT_EQ("0,0 176x56", Text(PlaceBesideTaskbar(tiny, {176, 56}, 8)));
}
