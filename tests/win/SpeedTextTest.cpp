// The speed as the speed views show it: the short form of the tray icon, the words of the speed
// window, the graph's scale, the minute kept and where a moved window comes to rest.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "SpeedGraph.h"
#include "SpeedText.h"

namespace {

std::string Short(unsigned long long value)
{
    char text[ShortSpeedChars];
    FormatShortSpeed(value, text, sizeof(text));
    return text;
}

std::string Words(unsigned long long value, int bits = 0)
{
    char text[SpeedWordsChars];
    FormatSpeedWords(value, bits, text, sizeof(text));
    return text;
}

}  // namespace

TEST(SpeedText, ShortFormCutsToFourCharactersAtEachEdge)
{
    EXPECT_EQ("0", Short(0));
    EXPECT_EQ("999", Short(999));
    EXPECT_EQ("1.0K", Short(1000));
    EXPECT_EQ("9.9K", Short(9999));
    EXPECT_EQ("10K", Short(10000));
    EXPECT_EQ("210K", Short(210000));
    EXPECT_EQ("999K", Short(999500));  // cut, never rounded up to a fifth character
    EXPECT_EQ("999K", Short(999999));
    EXPECT_EQ("1.0M", Short(1000000));
    EXPECT_EQ("1.2M", Short(1250000));
    EXPECT_EQ("12M", Short(12000000));
    EXPECT_EQ("10G", Short(10000000000ULL));
    EXPECT_EQ("18E", Short(~0ULL));  // the largest still fits
    for (unsigned long long value = 1; value < ~0ULL / 7; value = value * 7 + 3)
        EXPECT_LE(Short(value).size(), ShortSpeedChars - 1) << value;
}

TEST(SpeedText, BitsAreEightTimesTheBytesAndSaturate)
{
    EXPECT_EQ(0ULL, SpeedInUnits(0, 1));
    EXPECT_EQ(1250000ULL, SpeedInUnits(1250000, 0));
    EXPECT_EQ(10000000ULL, SpeedInUnits(1250000, 1));
    EXPECT_EQ("10M", Short(SpeedInUnits(1250000, 1)));
    EXPECT_EQ(~0ULL, SpeedInUnits(~0ULL / 4, 1));
}

TEST(SpeedText, WordsKeepThreeFiguresWithTheUnit)
{
    EXPECT_EQ("0 B/s", Words(0));
    EXPECT_EQ("999 B/s", Words(999));
    EXPECT_EQ("1.00 KB/s", Words(1000));
    EXPECT_EQ("210 KB/s", Words(210000));
    EXPECT_EQ("999 KB/s", Words(999500));
    EXPECT_EQ("1.25 MB/s", Words(1250000));
    EXPECT_EQ("12.5 MB/s", Words(12500000));
    EXPECT_EQ("10.0 GB/s", Words(10000000000ULL));
    EXPECT_EQ("999 bit/s", Words(999, 1));
    EXPECT_EQ("10.0 Mbit/s", Words(SpeedInUnits(1250000, 1), 1));
    EXPECT_EQ("18.4 Ebit/s", Words(~0ULL, 1));
}

TEST(SpeedText, SpokenWordsHaveTheSameFiguresAndTheirUnitInFull)
{
    auto spoken = [](unsigned long long value, int bits) {
        char text[SpokenSpeedChars];
        FormatSpokenSpeed(value, bits, text, sizeof(text));
        return std::string(text);
    };
    EXPECT_EQ("0 bytes per second", spoken(0, 0));
    EXPECT_EQ("1 byte per second", spoken(1, 0));
    EXPECT_EQ("1 bit per second", spoken(1, 1));
    EXPECT_EQ("210 kilobytes per second", spoken(210000, 0));
    EXPECT_EQ("1.25 megabytes per second", spoken(1250000, 0));
    EXPECT_EQ("10.0 gigabits per second", spoken(10000000000ULL, 1));
    EXPECT_EQ("18.4 exabits per second", spoken(~0ULL, 1));  // the longest fits
    // The figure is the short words' own, whatever the size.
    for (unsigned long long value = 0; value < ~0ULL / 7; value = value * 7 + 3)
        for (int bits = 0; bits < 2; bits++) {
            std::string words = Words(value, bits);
            EXPECT_EQ(words.substr(0, words.find(' ')),
                      spoken(value, bits).substr(0, spoken(value, bits).find(' ')));
        }
}

TEST(SpeedGraph, BarsAreScaledToTheRecentMaximumWithAFloor)
{
    int heights[4];
    const unsigned long long busy[] = {0, 500, 1000, 2000};
    EXPECT_EQ(2000ULL, ScaleGraph(busy, 4, 100, 10, heights));
    EXPECT_EQ(0, heights[0]);
    EXPECT_EQ(3, heights[1]);  // 2.5 rounds up
    EXPECT_EQ(5, heights[2]);
    EXPECT_EQ(10, heights[3]);
    // A trickle against the floor stays low, yet shows.
    const unsigned long long trickle[] = {1, 10, 50, 0};
    EXPECT_EQ(1000ULL, ScaleGraph(trickle, 4, 1000, 10, heights));
    EXPECT_EQ(1, heights[0]);
    EXPECT_EQ(1, heights[1]);
    EXPECT_EQ(1, heights[2]);
    EXPECT_EQ(0, heights[3]);
    // The largest figures do not overflow.
    const unsigned long long huge[] = {~0ULL, ~0ULL / 2};
    ScaleGraph(huge, 2, 0, 15, heights);
    EXPECT_EQ(15, heights[0]);
    EXPECT_EQ(8, heights[1]);
}

TEST(SpeedGraph, TheHistoryKeepsTheLastMinuteOldestFirst)
{
    SpeedHistory history;
    unsigned long long down[SpeedHistorySeconds], up[SpeedHistorySeconds];
    unsigned long long latestDown = 7, latestUp = 7;
    history.Latest(&latestDown, &latestUp);
    EXPECT_EQ(0ULL, latestDown + latestUp);
    EXPECT_EQ(0u, history.Recent(5, down, up));
    for (unsigned long long second = 1; second <= SpeedHistorySeconds + 5; second++)
        history.Add(second, second * 10);
    EXPECT_EQ(SpeedHistorySeconds, history.Count());
    ASSERT_EQ(3u, history.Recent(3, down, up));
    EXPECT_EQ(SpeedHistorySeconds + 3, down[0]);
    EXPECT_EQ((SpeedHistorySeconds + 5) * 10, up[2]);
    ASSERT_EQ(SpeedHistorySeconds, history.Recent(SpeedHistorySeconds + 9, down, up));
    EXPECT_EQ(6ULL, down[0]);
    history.Latest(&latestDown, &latestUp);
    EXPECT_EQ(SpeedHistorySeconds + 5, latestDown);
    history.Clear();
    EXPECT_EQ(0u, history.Count());
}

TEST(SpeedGraph, AMovedWindowSnapsToNearEdgesOnly)
{
    const RECT area = {0, 0, 1280, 984};
    RECT nearby = {8, 970 - 56, 184, 970};  // 8 from the left, 14 above the bottom
    RECT snapped = SnapToEdges(nearby, area, 12);
    EXPECT_EQ(0, snapped.left);
    EXPECT_EQ(176, snapped.right - snapped.left);  // the size stays
    EXPECT_EQ(970, snapped.bottom);                // 14 is beyond the distance
    RECT corner = {1280 - 170, 984 - 50, 1280 + 6, 984 + 6};
    snapped = SnapToEdges(corner, area, 12);
    EXPECT_EQ(1280, snapped.right);
    EXPECT_EQ(984, snapped.bottom);
    RECT middle = {500, 400, 676, 456};
    snapped = SnapToEdges(middle, area, 12);
    EXPECT_TRUE(EqualRect(&middle, &snapped));
}
