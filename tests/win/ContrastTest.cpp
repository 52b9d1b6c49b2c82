// Contrast ratios as the accessibility guidelines give them, and the dimmed text colour that
// still reads.
#include <gtest/gtest.h>

#include <algorithm>

#include "Contrast.h"

TEST(ContrastTest, RatiosOfKnownPairs)
{
    const struct {
        COLORREF One, Other;
        double Ratio;
    } cases[] = {
        {RGB(0, 0, 0), RGB(255, 255, 255), 21.0},
        {RGB(255, 255, 255), RGB(0, 0, 0), 21.0},
        {RGB(90, 90, 90), RGB(90, 90, 90), 1.0},
        {RGB(255, 0, 0), RGB(0, 0, 0), 5.25},      // the alert's red behind black text
        {RGB(118, 118, 118), RGB(255, 255, 255), 4.54},
        {RGB(128, 128, 128), RGB(240, 240, 240), 3.47},
    };
    for (const auto& entry : cases)
        EXPECT_NEAR(entry.Ratio, ContrastRatio(entry.One, entry.Other), 0.01)
            << std::hex << entry.One << " on " << entry.Other;
}

TEST(ContrastTest, ADimmedColourReadsAndStaysBetweenDimAndText)
{
    const struct {
        COLORREF Dim, Text, Back;
    } cases[] = {
        {RGB(128, 128, 128), RGB(0, 0, 0), RGB(240, 240, 240)},        // too faint: darker
        {RGB(109, 109, 109), RGB(0, 0, 0), RGB(255, 255, 255)},        // reads as it is
        {RGB(96, 96, 96), RGB(255, 255, 255), RGB(32, 32, 32)},        // dark: lighter
        {RGB(0, 255, 0), RGB(255, 255, 255), RGB(0, 0, 0)},            // high contrast
        {RGB(200, 200, 200), RGB(20, 20, 20), RGB(230, 230, 230)},
    };
    for (const auto& entry : cases) {
        COLORREF dim = ReadableDim(entry.Dim, entry.Text, entry.Back);
        EXPECT_GE(ContrastRatio(dim, entry.Back), ReadableContrast) << std::hex << entry.Dim;
        if (ContrastRatio(entry.Dim, entry.Back) >= ReadableContrast) {
            EXPECT_EQ(entry.Dim, dim);
        }
        // Fainter than the text itself, where the dim colour was.
        EXPECT_LE(ContrastRatio(dim, entry.Back), ContrastRatio(entry.Text, entry.Back));
        const BYTE channels[3][3] = {
            {GetRValue(entry.Dim), GetRValue(entry.Text), GetRValue(dim)},
            {GetGValue(entry.Dim), GetGValue(entry.Text), GetGValue(dim)},
            {GetBValue(entry.Dim), GetBValue(entry.Text), GetBValue(dim)}};
        for (const auto& c : channels) {
            EXPECT_GE(c[2], std::min(c[0], c[1]));
            EXPECT_LE(c[2], std::max(c[0], c[1]));
        }
    }
}
