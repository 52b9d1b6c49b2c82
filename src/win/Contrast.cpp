#include "Contrast.h"

#include <math.h>

namespace {

double ChannelLuminance(BYTE channel)
{
    double value = channel / 255.0;
    return value <= 0.03928 ? value / 12.92 : pow((value + 0.055) / 1.055, 2.4);
}

BYTE BlendChannel(BYTE from, BYTE to, double fraction)
{
    return (BYTE)lround(from + (to - from) * fraction);
}

}  // namespace

double RelativeLuminance(COLORREF colour)
{
    return 0.2126 * ChannelLuminance(GetRValue(colour)) +
           0.7152 * ChannelLuminance(GetGValue(colour)) +
           0.0722 * ChannelLuminance(GetBValue(colour));
}

double ContrastRatio(COLORREF one, COLORREF other)
{
    double a = RelativeLuminance(one) + 0.05;
    double b = RelativeLuminance(other) + 0.05;
    return a > b ? a / b : b / a;
}

COLORREF BlendColour(COLORREF text, COLORREF back, double fraction)
{
    return RGB(BlendChannel(GetRValue(text), GetRValue(back), fraction),
               BlendChannel(GetGValue(text), GetGValue(back), fraction),
               BlendChannel(GetBValue(text), GetBValue(back), fraction));
}

COLORREF ReadableDim(COLORREF dim, COLORREF text, COLORREF back)
{
    // Steps of a twentieth from dim towards text; text itself ends the walk.
    constexpr int Steps = 20;
    for (int step = 0; step < Steps; step++) {
        COLORREF candidate = BlendColour(dim, text, (double)step / Steps);
        if (ContrastRatio(candidate, back) >= ReadableContrast)
            return candidate;
    }
    return text;
}
