// What a text drawn in an area of a picture reaches: the area's background is the colour most
// of its pixels have, and the text's contrast the strongest of any pixel there against it.
// A picture is anything with Width, Height and At(x, y).
#ifndef BRISVANE_TESTS_PIXELCONTRAST_H
#define BRISVANE_TESTS_PIXELCONTRAST_H

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "Contrast.h"

template <typename Picture>
std::pair<COLORREF, double> BackgroundAndContrast(const Picture& picture, RECT area)
{
    area.left = std::max(area.left, 0L);
    area.top = std::max(area.top, 0L);
    area.right = std::min(area.right, (LONG)picture.Width);
    area.bottom = std::min(area.bottom, (LONG)picture.Height);
    std::vector<std::pair<COLORREF, int>> counts;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++) {
            const COLORREF colour = picture.At(x, y);
            size_t i = 0;
            while (i < counts.size() && counts[i].first != colour)
                i++;
            if (i == counts.size())
                counts.push_back({colour, 0});
            counts[i].second++;
        }
    if (counts.empty())
        return {0, 0};
    size_t most = 0;
    for (size_t i = 1; i < counts.size(); i++)
        if (counts[i].second > counts[most].second)
            most = i;
    const COLORREF back = counts[most].first;
    double strongest = 1;
    for (const auto& count : counts)
        strongest = std::max(strongest, ContrastRatio(count.first, back));
    return {back, strongest};
}

#endif
