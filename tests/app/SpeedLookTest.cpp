// The speed views and the tray icons in every look: light, dark, and high contrast in Windows'
// black and white schemes (set with SetSysColors, put back after). Every text is measured from
// the pixels drawn, against the pixels around it; graph marks against their background.
#include "MainWindowTestSupport.h"

#include "FakeLook.h"

#include <algorithm>
#include <vector>

#include "Contrast.h"
#include "IconPixels.h"
#include "HighContrastSchemes.h"
#include "PixelContrast.h"
#include "Palette.h"
#include "SpeedIcon.h"
#include "SpeedViews.h"
#include "SpeedWindow.h"
#include "TrayIcon.h"
#include "resource.h"

namespace {

// Pixels as colours, top row first.
struct Raster {
    int Width, Height;
    std::vector<COLORREF> Pixels;
    COLORREF At(int x, int y) const { return Pixels[y * Width + x]; }
    RECT Whole() const { return RECT{0, 0, Width, Height}; }
};

Raster IconRaster(HICON icon, int size)
{
    std::vector<DWORD> argb(size * size);
    EXPECT_TRUE(icon != NULL && ReadIconPixels(icon, size, argb.data()));
    Raster raster = {size, size, {}};
    for (DWORD p : argb)
        raster.Pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return raster;
}

Raster WindowRaster(HWND window)
{
    Raster raster = {0, 0, {}};
    raster.Pixels = PrintClientPixels(window, &raster.Width, &raster.Height);
    return raster;
}

COLORREF MostCommon(const Raster& raster, const RECT& area)
{
    return BackgroundAndContrast(raster, area).first;
}

// The marks of an area: the pixels other than its most common colour.
struct Marks {
    int Count;
    RECT Bounds;      // of the marks
    double Contrast;  // text: the strongest mark pixel against the weakest of its surroundings;
                      // graph: the weakest mark pixel against the background
};

// Text reads when its strongest pixel (the stroke's core: edges are smoothed) stands out at
// 4.5:1 from every pixel of a two-pixel ring around the text, whatever lies there.
Marks MeasureText(const Raster& raster, const RECT& area)
{
    const COLORREF back = MostCommon(raster, area);
    Marks marks = {0, {area.right, area.bottom, area.left, area.top}, 0};
    COLORREF strongest = back;
    double best = 1;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++) {
            const COLORREF c = raster.At(x, y);
            if (c == back)
                continue;
            marks.Count++;
            marks.Bounds.left = std::min<LONG>(marks.Bounds.left, x);
            marks.Bounds.top = std::min<LONG>(marks.Bounds.top, y);
            marks.Bounds.right = std::max<LONG>(marks.Bounds.right, x + 1);
            marks.Bounds.bottom = std::max<LONG>(marks.Bounds.bottom, y + 1);
            if (ContrastRatio(c, back) > best) {
                best = ContrastRatio(c, back);
                strongest = c;
            }
        }
    if (marks.Count == 0)
        return marks;
    marks.Contrast = best;  // a text from edge to edge of the picture has only back around it
    const RECT& b = marks.Bounds;
    for (int y = b.top - 2; y < b.bottom + 2; y++)
        for (int x = b.left - 2; x < b.right + 2; x++) {
            const POINT p = {x, y};
            if (x < 0 || y < 0 || x >= raster.Width || y >= raster.Height || PtInRect(&b, p))
                continue;
            marks.Contrast = std::min(marks.Contrast, ContrastRatio(strongest, raster.At(x, y)));
        }
    return marks;
}

// Graph bars are drawn unsmoothed: every pixel of them stands out from the background at 3:1.
Marks MeasureBars(const Raster& raster, const RECT& area)
{
    const COLORREF back = MostCommon(raster, area);
    Marks marks = {0, {}, 21};
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (raster.At(x, y) != back) {
                marks.Count++;
                marks.Contrast = std::min(marks.Contrast, ContrastRatio(raster.At(x, y), back));
            }
    return marks;
}

const int SchemeElements[] = {COLOR_WINDOW,   COLOR_WINDOWTEXT, COLOR_BTNFACE,
                              COLOR_BTNTEXT,  COLOR_GRAYTEXT,   COLOR_HIGHLIGHT,
                              COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT};
const int SchemeCount = (int)(sizeof(SchemeElements) / sizeof(SchemeElements[0]));

// A scheme's colours as the system's while it lives; the system's own after.
class SchemeColours {
public:
    explicit SchemeColours(const SystemColours* scheme) : Set(scheme != NULL)
    {
        if (!Set)
            return;
        for (int i = 0; i < SchemeCount; i++)
            Saved[i] = GetSysColor(SchemeElements[i]);
        const COLORREF wanted[] = {scheme->Window,    scheme->WindowText, scheme->Face,
                                   scheme->FaceText,  scheme->GrayText,   scheme->Highlight,
                                   scheme->HighlightText, scheme->HotLight};
        SetSysColors(SchemeCount, SchemeElements, wanted);
    }
    ~SchemeColours()
    {
        if (Set)
            SetSysColors(SchemeCount, SchemeElements, Saved);
    }

private:
    bool Set;
    COLORREF Saved[SchemeCount];
};

struct LookCase {
    const char* Name;
    Look Look;
    const SystemColours* Scheme;  // high contrast's
};

const LookCase Looks[] = {{"light", LookLight, NULL},
                          {"dark", LookDark, NULL},
                          {"contrast_black", LookHighContrast, &HighContrastBlack},
                          {"contrast_white", LookHighContrast, &HighContrastWhite}};

const int TraySizes[] = {16, 20, 24, 32};

// A minute of traffic ending at 12 MB/s down and 210 KB/s up: "12M" over "210K".
SpeedHistory Minute()
{
    SpeedHistory history;
    for (int second = 1; second <= 60; second++)
        history.Add(200000ULL * second * (1 + second % 3), 150000 + 1000ULL * second);
    history.Add(12000000, 210000);
    return history;
}

// A minute of bursts, one second in four: bars that leave most of a graph's background bare.
SpeedHistory Bursts()
{
    SpeedHistory history;
    for (int second = 1; second <= 60; second++)
        history.Add(second % 4 == 0 ? 300000ULL * second : 0, second % 4 == 0 ? 90000 : 0);
    return history;
}

}  // namespace

class SpeedLookPictures : public ::testing::TestWithParam<LookCase> {
protected:
    SpeedLookPictures() : scheme(GetParam().Scheme) {}
    SchemeColours scheme;
};

TEST_P(SpeedLookPictures, TrayIconsReadAtEveryTraySizePlainAndAlert)
{
    const LookCase& look = GetParam();
    const TrayColourPair colours = MakeTrayColourPair(look.Look, ReadSystemColours());
    const SpeedHistory history = Minute();
    for (int size : TraySizes)
        for (int alert = 0; alert <= 1; alert++) {
            SCOPED_TRACE(std::to_string(size) + (alert ? " px, alert" : " px"));
            OwnedIcon speed(MakeSpeedIcon(
                DescribeSpeedIcon(SpeedTraySpeed, alert, size, 0, history, colours)));
            const Raster figures = IconRaster(speed.Get(), size);
            const RECT upper = {0, 0, size, size / 2}, lower = {0, size / 2, size, size};
            const Marks down = MeasureText(figures, upper);
            const Marks up = MeasureText(figures, lower);
            EXPECT_GT(down.Count, 0);
            EXPECT_GT(up.Count, 0);
            EXPECT_GE(down.Contrast, ReadableContrast);
            EXPECT_GE(up.Contrast, ReadableContrast);
            // Two lines fill the icon from top to bottom (seven rows each at 16 pixels).
            EXPECT_GE(up.Bounds.bottom - down.Bounds.top, size - 2);

            OwnedIcon graph(MakeSpeedIcon(
                DescribeSpeedIcon(SpeedTrayGraph, alert, size, 0, Bursts(), colours)));
            const Marks bars = MeasureBars(IconRaster(graph.Get(), size), RECT{0, 0, size, size});
            EXPECT_GT(bars.Count, size);
            EXPECT_GE(bars.Contrast, LargeTextContrast);

            // The program's icon stands out from a taskbar of the look: the first pixels of its
            // outline (high contrast: its arrows, text on its own field).
            OwnedIcon plain(LoadTrayIcon(GetModuleHandleA(NULL), look.Look, ReadSystemColours(),
                                         alert != 0, size));
            ASSERT_TRUE(plain.IsValid());
            if (look.Look == LookHighContrast) {
                const Raster arrowsPicture = IconRaster(plain.Get(), size);
                const Marks arrows = MeasureText(arrowsPicture, arrowsPicture.Whole());
                EXPECT_GT(arrows.Count, size);
                EXPECT_GE(arrows.Contrast, ReadableContrast);
                continue;
            }
            std::vector<DWORD> argb(size * size);
            ASSERT_TRUE(ReadIconPixels(plain.Get(), size, argb.data()));
            const COLORREF taskbar = colours.Plain.Back;
            for (int y = size / 4; y < size * 3 / 4; y++) {
                double outline = 1;
                int seen = 0;
                for (int x = 0; x < size && seen < 2; x++) {
                    const DWORD p = argb[y * size + x];
                    const double alpha = (p >> 24) / 255.0;
                    if (alpha == 0)
                        continue;
                    seen++;
                    // Premultiplied colour over the taskbar.
                    const double rest = 1 - alpha;
                    COLORREF shown = RGB((int)(((p >> 16) & 0xFF) + GetRValue(taskbar) * rest),
                                         (int)(((p >> 8) & 0xFF) + GetGValue(taskbar) * rest),
                                         (int)((p & 0xFF) + GetBValue(taskbar) * rest));
                    outline = std::max(outline, ContrastRatio(shown, taskbar));
                }
                EXPECT_GE(outline, LargeTextContrast) << "row " << y;
            }
        }
}

TEST_P(SpeedLookPictures, TheSpeedWindowsFiguresReadOffTheGraphAtBothDpisPlainAndAlert)
{
    const LookCase& look = GetParam();
    const Palette palette = MakePalette(look.Look, ReadSystemColours());
    const SpeedHistory history = Minute();
    for (UINT dpi : {96u, 144u})
        for (int alert = 0; alert <= 1; alert++) {
            SCOPED_TRACE(std::to_string(dpi) + (alert ? " DPI, alert" : " DPI"));
            SpeedWindow view;
            SpeedViewChoices choices = DefaultSpeedViewChoices();
            ASSERT_TRUE(view.Create(NULL, choices));  // opaque: 100 %
            if (dpi != 96) {
                RECT suggested = {100, 100, 100 + SpeedWindowWidth * (int)dpi / 96,
                                  100 + SpeedWindowHeight * (int)dpi / 96};
                SendMessageW(view.Window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&suggested);
            }
            view.SetPalette(palette);
            // "Down 12.0 MB/s" over "Up 210 KB/s", and the widest: "Down 999 Mbit/s".
            SpeedHistory widest = history;
            widest.Add(124875000, 124875000);
            for (int bits = 0; bits <= 1; bits++) {
                view.Show(bits ? widest : history, bits, alert);
                const Raster picture = WindowRaster(view.Window);
                ASSERT_EQ(SpeedWindowHeight * (int)dpi / 96, picture.Height);
                const SpeedWindowLayout layout = LayOutSpeedWindow(picture.Whole(), dpi);
                for (const RECT* line : {&layout.Down, &layout.Up}) {
                    const Marks text = MeasureText(picture, *line);
                    EXPECT_GT(text.Count, 20);
                    EXPECT_GE(text.Contrast, ReadableContrast);
                    // Whole, and off the graph.
                    EXPECT_GT(text.Bounds.left, line->left);
                    EXPECT_LT(text.Bounds.right, line->right) << view.Text();
                    EXPECT_LE(text.Bounds.bottom, layout.Graph.top);
                }
            }
            const Raster picture = WindowRaster(view.Window);
            const SpeedWindowLayout layout = LayOutSpeedWindow(picture.Whole(), dpi);
            view.Show(Bursts(), 0, alert);
            const Marks bars = MeasureBars(WindowRaster(view.Window), layout.Graph);
            EXPECT_GT(bars.Count, picture.Width);
            EXPECT_GE(bars.Contrast, LargeTextContrast);
            view.Destroy();
        }
}

INSTANTIATE_TEST_SUITE_P(EveryLook, SpeedLookPictures, ::testing::ValuesIn(Looks),
                         [](const ::testing::TestParamInfo<LookCase>& info) {
                             return std::string(info.param.Name);
                         });

// The prefix is the first thing to read: 5.0K, 5.0M and 5.0G differ in more than a pixel or two.
TEST(SpeedIconUnits, KiloMegaAndGigaLookApartAtEverySize)
{
    const TrayColourPair colours = MakeTrayColourPair(LookLight, ReadSystemColours());
    for (int size : TraySizes) {
        SCOPED_TRACE(size);
        std::vector<Raster> icons;
        for (unsigned __int64 speed : {5000ULL, 5000000ULL, 5000000000ULL}) {
            SpeedHistory history;
            history.Add(speed, speed);
            OwnedIcon icon(MakeSpeedIcon(
                DescribeSpeedIcon(SpeedTraySpeed, 0, size, 0, history, colours)));
            icons.push_back(IconRaster(icon.Get(), size));
        }
        for (size_t a = 0; a < icons.size(); a++)
            for (size_t b = a + 1; b < icons.size(); b++) {
                int differ = 0;
                for (size_t i = 0; i < icons[a].Pixels.size(); i++)
                    differ += icons[a].Pixels[i] != icons[b].Pixels[i];
                // Per line, so twice over: at least three pixels of each mark apart, scaled.
                const int scale = size / 16;
                EXPECT_GE(differ, 2 * 6 * scale * scale) << a << " against " << b;
            }
    }
}

class SpeedLookChange : public MainWindowTest {
protected:
    HICON LastIcon()
    {
        const TrayCall* call = LastTrayCall(NIM_MODIFY, NIF_ICON);
        return call != NULL ? call->Record.hIcon : NULL;
    }
    void Traffic(DWORD in, DWORD out)
    {
        fake.Row(2)->dwInOctets += in;
        fake.Row(2)->dwOutOctets += out;
        fake.AdvanceSeconds(1);
        Tick();
    }
    // The icon's and the speed window's backgrounds, from their pixels.
    COLORREF IconBack(HICON icon)
    {
        const int size = GetSystemMetrics(SM_CXSMICON);
        Raster raster = IconRaster(icon, size);
        return MostCommon(raster, raster.Whole());
    }
    COLORREF WindowBack()
    {
        return WindowRaster(MainWindowProbe::Speed(main).WindowHandle()).At(1, 1);
    }
    FakeLook look;
};

TEST_F(SpeedLookChange, ALookChangeReachesTheTrayIconAndTheSpeedWindowWhileRunning)
{
    std::string ini = folder.Path("Brisvane.INI");
    WritePrivateProfileStringA("SpeedView", "TrayIcon", "1", ini.c_str());
    WritePrivateProfileStringA("SpeedView", "Window", "1", ini.c_str());
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    Traffic(1000000, 10000);
    Traffic(1000000, 10000);
    ASSERT_NE((HWND)NULL, MainWindowProbe::Speed(main).WindowHandle());
    EXPECT_GT(RelativeLuminance(IconBack(LastIcon())), 0.8);
    EXPECT_GT(RelativeLuminance(WindowBack()), 0.8);
    const HICON lightPlain = Tray().NormalIcon();

    // Dark: the window at once, the icon at the next cycle though the figures stay.
    FakeLook::Light = false;
    SendMessageW(main.Window, WM_SETTINGCHANGE, 0, (LPARAM)L"ImmersiveColorSet");
    EXPECT_LT(RelativeLuminance(WindowBack()), 0.05);
    Traffic(1000000, 10000);
    EXPECT_LT(RelativeLuminance(IconBack(LastIcon())), 0.05);
    EXPECT_NE(lightPlain, Tray().NormalIcon());

    // High contrast: the scheme's own window colour, in the window and in the icons.
    SchemeColours scheme(&HighContrastWhite);
    FakeLook::HighContrast = true;
    SendMessageW(main.Window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(window, WindowBack());
    Traffic(1000000, 10000);
    EXPECT_EQ(window, IconBack(LastIcon()));
    EXPECT_EQ(window, IconBack(Tray().NormalIcon()));

    // The program's icon in the tray follows too.
    SendMessageA(main.Window, WM_COMMAND, ID_SPEED_TRAY_PROGRAM, 0);
    Traffic(0, 0);
    EXPECT_EQ(Tray().NormalIcon(), LastIcon());
    FakeLook::HighContrast = false;
    FakeLook::Light = true;
    SendMessageW(main.Window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(Tray().NormalIcon(), LastIcon());  // sent at once
    EXPECT_NE(window, IconBack(LastIcon()));
}
