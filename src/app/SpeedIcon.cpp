#include "SpeedIcon.h"

#include <string.h>

#include "Dpi.h"
#include "SpeedViewChoices.h"

namespace {

const int SmallestSize = 16;
// A trickle below this many units a second shows as a low bar, not a full one.
const unsigned __int64 GraphFloor = 1000;
const DWORD Opaque = 0xFF000000u;

// A font of digits, the point and the prefixes: each row a bit pattern, the leftmost column in
// the highest bit of the glyph's width.
struct Glyph {
    char Character;
    unsigned char Width;
    unsigned char Rows[7];
};

struct PixelFont {
    int Height;
    const Glyph* Glyphs;
    int Count;
};

// Narrow figures the icon's full height at 16 pixels: two lines of seven rows. The prefixes
// are a column wider than the digits and shaped apart from each other (K's diagonals, M's
// filled top, G's open round), so that the size of a figure reads before its digits.
const Glyph NarrowGlyphs[] = {
    {'0', 3, {7, 5, 5, 5, 5, 5, 7}},       {'1', 3, {2, 6, 2, 2, 2, 2, 7}},
    {'2', 3, {7, 1, 1, 7, 4, 4, 7}},       {'3', 3, {7, 1, 1, 7, 1, 1, 7}},
    {'4', 3, {5, 5, 5, 7, 1, 1, 1}},       {'5', 3, {7, 4, 4, 7, 1, 1, 7}},
    {'6', 3, {7, 4, 4, 7, 5, 5, 7}},       {'7', 3, {7, 1, 1, 2, 2, 2, 2}},
    {'8', 3, {7, 5, 5, 7, 5, 5, 7}},       {'9', 3, {7, 5, 5, 7, 1, 1, 7}},
    {'K', 4, {9, 9, 10, 12, 10, 9, 9}},    {'M', 4, {9, 15, 15, 9, 9, 9, 9}},
    {'G', 4, {7, 8, 8, 11, 9, 9, 7}},      {'T', 3, {7, 2, 2, 2, 2, 2, 2}},
    {'P', 4, {14, 9, 9, 14, 8, 8, 8}},     {'E', 3, {7, 4, 4, 7, 4, 4, 7}},
    {'.', 1, {0, 0, 0, 0, 0, 0, 1}},
};

const Glyph LargeGlyphs[] = {
    {'0', 5, {14, 17, 19, 21, 25, 17, 14}}, {'1', 5, {4, 12, 4, 4, 4, 4, 14}},
    {'2', 5, {14, 17, 1, 2, 4, 8, 31}},     {'3', 5, {31, 2, 4, 2, 1, 17, 14}},
    {'4', 5, {2, 6, 10, 18, 31, 2, 2}},     {'5', 5, {31, 16, 30, 1, 1, 17, 14}},
    {'6', 5, {6, 8, 16, 30, 17, 17, 14}},   {'7', 5, {31, 1, 2, 4, 8, 8, 8}},
    {'8', 5, {14, 17, 17, 14, 17, 17, 14}}, {'9', 5, {14, 17, 17, 15, 1, 2, 12}},
    {'K', 5, {17, 18, 20, 24, 20, 18, 17}}, {'M', 5, {17, 27, 31, 21, 17, 17, 17}},
    {'G', 5, {14, 17, 16, 23, 17, 17, 15}}, {'T', 5, {31, 4, 4, 4, 4, 4, 4}},
    {'P', 5, {30, 17, 17, 30, 16, 16, 16}}, {'E', 5, {31, 16, 16, 30, 16, 16, 31}},
    {'.', 2, {0, 0, 0, 0, 0, 3, 3}},
};

const PixelFont NarrowFont = {7, NarrowGlyphs, (int)(sizeof(NarrowGlyphs) / sizeof(Glyph))};
const PixelFont LargeFont = {7, LargeGlyphs, (int)(sizeof(LargeGlyphs) / sizeof(Glyph))};

const Glyph* FindGlyph(const PixelFont& font, char character)
{
    for (int i = 0; i < font.Count; i++)
        if (font.Glyphs[i].Character == character)
            return &font.Glyphs[i];
    return NULL;
}

// The width of a text, one column between characters, at a scale.
int TextWidth(const PixelFont& font, const char* text, int scale)
{
    int width = 0;
    for (const char* c = text; *c != 0; c++) {
        const Glyph* glyph = FindGlyph(font, *c);
        if (glyph != NULL)
            width += (glyph->Width + 1) * scale;
    }
    return width > 0 ? width - scale : 0;
}

// The widest short text there is: it must fit across the icon.
const char WidestText[] = "999M";

// How the figures are drawn at a size: a font, its pixels scale times over, and each glyph
// stretched to rows rows so that the two lines take the icon's height.
struct FontChoice {
    const PixelFont* Font;
    int Scale;
    int Rows;
};

// The largest font and scale whose widest text fits across and whose two lines fit above
// each other with a pixel between them; its glyphs as tall as that leaves room for.
FontChoice ChooseFont(int size)
{
    const PixelFont* fonts[] = {&LargeFont, &NarrowFont};
    for (int s = size / SmallestSize + 1; s >= 1; s--) {
        for (const PixelFont* candidate : fonts) {
            if (TextWidth(*candidate, WidestText, s) <= size && 2 * candidate->Height * s + s <= size) {
                FontChoice choice = {candidate, s, (size - s) / 2 / s};
                return choice;
            }
        }
    }
    FontChoice fallback = {&NarrowFont, 1, NarrowFont.Height};
    return fallback;
}

// The glyph row drawn on row row of a glyph stretched to rows rows: the rows added repeat the
// upright strokes between the bars (glyph rows 2 and 5), which keeps the bars one pixel thick.
int GlyphRow(int row, int rows, int height)
{
    const int extra = rows > height ? rows - height : 0;
    const int upper = (extra + 1) / 2, lower = extra / 2;
    if (row < 3)
        return row;
    if (row < 3 + upper)
        return 2;
    row -= upper;
    if (row < 6)
        return row;
    if (row < 6 + lower)
        return 5;
    return row - lower < height ? row - lower : height - 1;
}

DWORD Pixel(COLORREF colour)
{
    return Opaque | ((DWORD)GetRValue(colour) << 16) | ((DWORD)GetGValue(colour) << 8) |
           GetBValue(colour);
}

void FillRect(DWORD* pixels, int size, int left, int top, int width, int height, DWORD colour)
{
    for (int y = top; y < top + height; y++) {
        if (y < 0 || y >= size)
            continue;
        for (int x = left; x < left + width; x++)
            if (x >= 0 && x < size)
                pixels[y * size + x] = colour;
    }
}

// Draws text ending at the right edge (figures line up as they change), from the row top.
void DrawText(DWORD* pixels, int size, const FontChoice& choice, const char* text, int top,
              DWORD colour)
{
    const PixelFont& font = *choice.Font;
    const int scale = choice.Scale;
    int x = size - TextWidth(font, text, scale);
    if (x < 0)
        x = 0;
    for (const char* c = text; *c != 0; c++) {
        const Glyph* glyph = FindGlyph(font, *c);
        if (glyph == NULL)
            continue;
        for (int row = 0; row < choice.Rows; row++)
            for (int column = 0; column < glyph->Width; column++)
                if (glyph->Rows[GlyphRow(row, choice.Rows, font.Height)] &
                    (1 << (glyph->Width - 1 - column)))
                    FillRect(pixels, size, x + column * scale, top + row * scale, scale, scale,
                             colour);
        x += (glyph->Width + 1) * scale;
    }
}

// The program's two arrows, download pointing down on the left and upload pointing up on the
// right, each a shaft with a head that widens a pixel a row on each side.
void DrawArrows(DWORD* pixels, int size, DWORD down, DWORD up)
{
    const int shaft = size / 8 > 2 ? size / 8 : 2;
    const int head = 2 * shaft;  // the head's rows, and its half width at the widest
    const int top = size / 8;
    const int bottom = size - size / 8;
    const int centres[] = {size * 5 / 16, size - size * 5 / 16};
    for (int arrow = 0; arrow < 2; arrow++) {
        const bool pointsDown = arrow == 0;
        const DWORD colour = pointsDown ? down : up;
        const int left = centres[arrow] - shaft / 2;
        const int shaftTop = pointsDown ? top : top + head;
        FillRect(pixels, size, left, shaftTop, shaft, bottom - top - head, colour);
        for (int row = 0; row < head; row++) {
            const int y = pointsDown ? bottom - 1 - row : top + row;
            const int half = row < shaft / 2 ? shaft / 2 : row;
            FillRect(pixels, size, left + shaft / 2 - half, y, 2 * half + shaft % 2, 1, colour);
        }
    }
}

}  // namespace

int TrayIconSize()
{
    const DpiFunctions& functions = SystemDpiFunctions();
    return SystemMetricForDpi(functions, SM_CXSMICON, DpiForSystem(functions));
}

TrayColourPair MakeTrayColourPair(Look look, const SystemColours& system)
{
    TrayColourPair pair = {MakeTrayColours(look, system, false),
                           MakeTrayColours(look, system, true)};
    return pair;
}

SpeedIconContent DescribeSpeedIcon(int mode, int alert, int size, int bits,
                                   const SpeedHistory& history, const TrayColourPair& colours)
{
    SpeedIconContent content;
    memset(&content, 0, sizeof(content));  // compared whole, padding too
    content.Mode = mode;
    content.Alert = alert != 0;
    content.Size = size;
    content.Colours = alert ? colours.Alert : colours.Plain;
    if (mode == SpeedTrayProgramIcon)
        return content;
    if (mode == SpeedTraySpeed) {
        unsigned __int64 down, up;
        history.Latest(&down, &up);
        FormatShortSpeed(SpeedInUnits(down, bits), content.Down, sizeof(content.Down));
        FormatShortSpeed(SpeedInUnits(up, bits), content.Up, sizeof(content.Up));
        return content;
    }
    // One column a second; download in the upper half growing up from the middle, upload in
    // the lower half growing down, each against its own recent maximum.
    unsigned __int64 down[SpeedHistorySeconds];
    unsigned __int64 up[SpeedHistorySeconds];
    size_t columns = size < (int)SpeedHistorySeconds ? (size_t)size : SpeedHistorySeconds;
    size_t count = history.Recent(columns, down, up);
    int half = size / 2;
    int heights[SpeedHistorySeconds];
    for (size_t i = 0; i < count; i++) {
        down[i] = SpeedInUnits(down[i], bits);
        up[i] = SpeedInUnits(up[i], bits);
    }
    ScaleGraph(down, count, GraphFloor, half - 1, heights);
    for (size_t i = 0; i < count; i++)
        content.DownBars[i] = (signed char)heights[i];
    ScaleGraph(up, count, GraphFloor, half - 1, heights);
    for (size_t i = 0; i < count; i++)
        content.UpBars[i] = (signed char)heights[i];
    content.Bars = (int)count;
    return content;
}

bool SameSpeedIcon(const SpeedIconContent& a, const SpeedIconContent& b)
{
    return memcmp(&a, &b, sizeof(a)) == 0;
}

int DrawSpeedIcon(const SpeedIconContent& content, DWORD* pixels)
{
    int size = content.Size;
    if (size < SmallestSize || size > SpeedIconMaxSize)
        return 0;
    const TrayColours& colours = content.Colours;
    DWORD background = Pixel(colours.Back);
    for (int i = 0; i < size * size; i++)
        pixels[i] = background;
    if (content.Mode == SpeedTraySpeed) {
        const FontChoice font = ChooseFont(size);
        int lineHeight = font.Rows * font.Scale;
        // Two lines with the rest of the height shared above, between and below them.
        int spare = size - 2 * lineHeight;
        int top = spare / 3;
        DrawText(pixels, size, font, content.Down, top, Pixel(colours.Down));
        DrawText(pixels, size, font, content.Up, size - spare / 3 - lineHeight, Pixel(colours.Up));
        return 1;
    }
    if (content.Mode == SpeedTrayProgramIcon) {
        DrawArrows(pixels, size, Pixel(colours.Down), Pixel(colours.Up));
        return 1;
    }
    int middle = size / 2;
    // The newest sample at the right edge.
    int left = size - content.Bars;
    for (int i = 0; i < content.Bars; i++) {
        FillRect(pixels, size, left + i, middle - content.DownBars[i], 1, content.DownBars[i],
                 Pixel(colours.DownBar));
        FillRect(pixels, size, left + i, middle, 1, content.UpBars[i], Pixel(colours.UpBar));
    }
    return 1;
}

HICON MakeSpeedIcon(const SpeedIconContent& content)
{
    SpeedIconCanvas canvas;
    return canvas.Make(content);
}

HICON SpeedIconCanvas::Make(const SpeedIconContent& content)
{
    int size = content.Size;
    if (size < SmallestSize || size > SpeedIconMaxSize)
        return NULL;
    if (size != Size || !Colour || !Mask) {
        Size = 0;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size;
        info.bmiHeader.biHeight = -size;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = NULL;
        Colour.Reset(CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0));
        // Every pixel is opaque: the mask lets none of the taskbar through.
        BYTE maskBits[SpeedIconMaxSize * SpeedIconMaxSize / 8] = {};
        Mask.Reset(CreateBitmap(size, size, 1, 1, maskBits));
        if (!Colour || bits == NULL || !Mask)
            return NULL;
        Pixels = (DWORD*)bits;
        Size = size;
    }
    DrawSpeedIcon(content, Pixels);
    GdiFlush();
    ICONINFO icon = {};
    icon.fIcon = TRUE;
    icon.hbmColor = Colour.Get();
    icon.hbmMask = Mask.Get();
    return CreateIconIndirect(&icon);  // copies both bitmaps
}
