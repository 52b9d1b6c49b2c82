// A saved window place brought back into a work area, and its INI texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "WindowPlace.h"

namespace {

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// A 1280x1024 screen whose taskbar takes the bottom 40 pixels.
const WorkArea Screen = {{0, 0, 1280, 984}, 96};

std::string Placed(const WindowPlace& place, const WorkArea* areas, size_t count, UINT dpi = 96)
{
    return Text(PlaceOnWorkArea(place, dpi, areas, count));
}

}  // namespace

TEST(WorkAreaPlace, AReachablePlaceStaysAsItIs)
{
    EXPECT_EQ("100,50 400x300", Placed({100, 50, 400, 300}, &Screen, 1));
    // Hanging off the right and the bottom, the title bar still within reach.
    EXPECT_EQ("1000,700 400x300", Placed({1000, 700, 400, 300}, &Screen, 1));
    // Saved and read back at 150 %: the same pixels.
    const WorkArea scaled = {{0, 0, 1920, 1040}, 144};
    RECT window = {601, 301, 601 + 600, 301 + 450};
    WindowPlace place = PlaceOfWindow(window, 144, 144);
    EXPECT_EQ(400, place.Width);
    EXPECT_EQ("602,302 600x450", Placed(place, &scaled, 1, 144));
    EXPECT_EQ("602,302 600x450", Placed(PlaceOfWindow({602, 302, 1202, 752}, 144, 144),
                                        &scaled, 1, 144));
}

TEST(WorkAreaPlace, AnUnreachableTitleBarIsBroughtBack)
{
    // Only a 10 pixel corner on screen, the title bar below the work area.
    EXPECT_EQ("880,684 400x300", Placed({1270, 1014, 400, 300}, &Screen, 1));
    // Above the top and left of the screen.
    EXPECT_EQ("0,0 400x300", Placed({-390, -20, 400, 300}, &Screen, 1));
    // A window of the minimum width only partly shown is still taken whole.
    EXPECT_EQ("1160,10 120x100", Placed({1200, 10, 120, 100}, &Screen, 1));
    // Absurd values: far away and huge, or empty.
    EXPECT_EQ("0,0 1280x984", Placed({-99990, -99990, 100000, 100000}, &Screen, 1));
    EXPECT_EQ("0,924 120x60", Placed({-2000000000, 2000000000, 0, -5}, &Screen, 1));
}

TEST(WorkAreaPlace, WorkAreasNotAtTheOrigin)
{
    // Taskbar at the top (40 pixels) and, on another machine, at the left (60 pixels).
    const WorkArea topBar = {{0, 40, 1280, 1024}, 96};
    const WorkArea leftBar = {{60, 0, 1280, 1024}, 96};
    EXPECT_EQ("0,40 400x300", Placed({0, 0, 400, 300}, &topBar, 1));
    EXPECT_EQ("60,0 400x300", Placed({-300, 0, 400, 300}, &leftBar, 1));
    // Mostly beside the taskbar, enough of the title bar to take is left where it is.
    EXPECT_EQ("0,0 400x300", Placed({0, 0, 400, 300}, &leftBar, 1));
    // A place saved in screen coordinates comes back in the same ones, time after time.
    RECT shown = PlaceOnWorkArea({200, 140, 400, 300}, 96, &topBar, 1);
    for (int i = 0; i < 3; i++)
        shown = PlaceOnWorkArea(PlaceOfWindow(shown, 96, 96), 96, &topBar, 1);
    EXPECT_EQ("200,140 400x300", Text(shown));
}

TEST(WorkAreaPlace, AMonitorThatIsGoneOrScaledDifferently)
{
    // The primary monitor, and a second one at 150 % to its right.
    const WorkArea two[] = {{{0, 0, 1280, 984}, 96}, {{1280, 0, 3200, 1040}, 144}};
    // On the second monitor the size follows its DPI.
    EXPECT_EQ("1500,100 600x450", Placed({1500, 100, 400, 300}, two, 2));
    // Once the second monitor is gone, the window comes onto the one that is left.
    EXPECT_EQ("880,100 400x300", Placed({1500, 100, 400, 300}, two, 1));
    // A place beyond every monitor goes to the nearest one.
    EXPECT_EQ("2600,740 600x300", Placed({4000, 900, 400, 200}, two, 2));
    EXPECT_EQ("0,0 400x300", Placed({-5000, -5000, 400, 300}, two, 2));
    // No monitor known: the place as it is, in pixels.
    EXPECT_EQ("15,30 600x450", Placed({10, 20, 400, 300}, NULL, 0, 144));
}

TEST(WorkAreaPlace, IniTexts)
{
    EXPECT_STREQ("Left", PlaceKeys[0]);
    EXPECT_STREQ("Height", PlaceKeys[3]);
    WindowPlaceText text = FormatWindowPlace({-1270, 1014, 400, 300});
    EXPECT_STREQ("-1270", text.Values[0]);
    EXPECT_STREQ("300", text.Values[3]);

    WindowPlace place = {1, 2, 3, 4};
    const char* good[] = {"-1270", "+1014", "400", "300"};
    ASSERT_EQ(1, ParseWindowPlace(good, &place));
    EXPECT_EQ(-1270, place.Left);
    EXPECT_EQ(1014, place.Top);
    EXPECT_EQ(300, place.Height);
    // Any unreadable value leaves the place as it was.
    const char* const bad[][4] = {{"1", "2", "3", NULL},          {"1", "2", "3", ""},
                                  {"1", "2", "3", "4x"},          {"1", "2", " 3", "4"},
                                  {"1", "2", "3", "99999999999"}, {"1", "-", "3", "4"},
                                  {"1", "2", "3", "1000001"}};
    for (const auto& values : bad)
        EXPECT_EQ(0, ParseWindowPlace(values, &place)) << values[2] << " " << values[3];
    EXPECT_EQ(-1270, place.Left);
}
