// The speed views: where the speed window comes back, the tray icon's picture in "Speed" and
// "Graph", and the choices of the INI file and the menu at work in the main window.
#include "MainWindowTestSupport.h"

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "IconPixels.h"
#include "SpeedIcon.h"
#include "SpeedViews.h"
#include "resource.h"

namespace {

const WorkArea Screen = {{0, 0, 1280, 984}, 96};

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// The icon's pixels as 0xRRGGBB, read back from the icon itself.
struct Picture {
    int Size;
    std::vector<DWORD> Pixels;
    DWORD At(int x, int y) const { return Pixels[y * Size + x] & 0xFFFFFF; }
    // The rows and columns in which a colour shows; false when it does not.
    bool Spans(COLORREF colour, RECT* span) const
    {
        DWORD wanted = ((DWORD)GetRValue(colour) << 16) | ((DWORD)GetGValue(colour) << 8) |
                       GetBValue(colour);
        SetRect(span, Size, Size, -1, -1);
        for (int y = 0; y < Size; y++)
            for (int x = 0; x < Size; x++)
                if (At(x, y) == wanted) {
                    span->left = std::min<LONG>(span->left, x);
                    span->top = std::min<LONG>(span->top, y);
                    span->right = std::max<LONG>(span->right, x);
                    span->bottom = std::max<LONG>(span->bottom, y);
                }
        return span->right >= 0;
    }
};

// The dark taskbar's colours, plain and alert.
const TrayColourPair Dark = MakeTrayColourPair(LookDark, ReadSystemColours());

Picture IconPicture(int mode, int alert, int size, const SpeedHistory& history)
{
    Picture picture = {size, std::vector<DWORD>(size * size)};
    OwnedIcon icon(MakeSpeedIcon(DescribeSpeedIcon(mode, alert, size, 0, history, Dark)));
    EXPECT_TRUE(icon.IsValid());
    EXPECT_TRUE(icon && ReadIconPixels(icon.Get(), size, picture.Pixels.data()));
    return picture;
}

// The GDI objects this process holds. Windows counts them; under Wine that count is 0, and the
// handle table tells instead: a freed slot is handed out again before a new one, so once many
// new brushes have taken every free slot, the highest slot among them is the live objects plus
// their number.
int LiveGdiObjects()
{
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0)
        return (int)counted;
    const int Probes = 4096;
    std::vector<OwnedBrush> probes;
    int highest = 0;
    for (int i = 0; i < Probes; i++) {
        probes.emplace_back(CreateSolidBrush(RGB(i, 0, 0)));
        EXPECT_TRUE(probes.back().IsValid());
        highest = std::max(highest, (int)LOWORD((UINT_PTR)probes.back().Get()));
    }
    return highest + 1 - Probes;
}

int IsIconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return 0;
    OwnedBitmap colour(info.hbmColor), mask(info.hbmMask);
    return 1;
}

DWORD Rgb(COLORREF colour)
{
    return ((DWORD)GetRValue(colour) << 16) | ((DWORD)GetGValue(colour) << 8) | GetBValue(colour);
}

}  // namespace

TEST(SpeedWindowPlace, ComesBackWholeOnAWorkAreaThatIsThere)
{
    // First start: the lower right corner, 8 px inside the work area.
    EXPECT_EQ("1096,920 176x56", Text(PlaceSpeedWindow(NULL, 96, &Screen, 1)));
    // Where it was, at its design size whatever size was saved.
    WindowPlace kept = {300, 200, 500, 500};
    EXPECT_EQ("300,200 176x56", Text(PlaceSpeedWindow(&kept, 96, &Screen, 1)));
    // Half off the bottom edge: all of it comes back up, for it has no caption to take it by.
    WindowPlace low = {600, 960, 176, 56};
    EXPECT_EQ("600,928 176x56", Text(PlaceSpeedWindow(&low, 96, &Screen, 1)));
    // Far off screen, and on the right-hand monitor that is gone now.
    WindowPlace away = {-5000, -5000, 176, 56};
    RECT shown = PlaceSpeedWindow(&away, 96, &Screen, 1);
    EXPECT_TRUE(shown.left >= 0 && shown.top >= 0) << Text(shown);
    WindowPlace gone = {1700, 300, 176, 56};
    EXPECT_EQ("1104,300 176x56", Text(PlaceSpeedWindow(&gone, 96, &Screen, 1)));
    // At 150 %: one and a half times the pixels, the corner at the same place to the eye.
    const WorkArea scaled = {{0, 0, 1920, 1040}, 144};
    EXPECT_EQ("1644,944 264x84", Text(PlaceSpeedWindow(NULL, 144, &scaled, 1)));
    // Beside a taskbar on the left of the primary screen, at that screen's DPI.
    const WorkArea two[] = {{{1920, 0, 3200, 1024}, 96}, {{90, 0, 1920, 1080}, 144}};
    const PrimaryScreen left = {{0, 0, 1920, 1080}, {90, 0, 1920, 1080}, true, {0, 0, 90, 1080}};
    EXPECT_EQ("102,984 264x84", Text(PlaceSpeedWindow(NULL, 96, two, 2, &left)));
    WindowPlace middle = {400, 300, 176, 56};
    EXPECT_EQ("600,450 264x84", Text(PlaceSpeedWindow(&middle, 144, &scaled, 1)));
    // No work area known: the saved place as it is.
    EXPECT_EQ("300,200 176x56", Text(PlaceSpeedWindow(&kept, 96, NULL, 0)));
}

TEST(SpeedIconPicture, SpeedAndGraphAt16And24PixelsAndRedOnAlert)
{
    SpeedHistory history;
    for (int second = 1; second <= 30; second++)
        history.Add(400000ULL * second, 210000);  // ends at 12 MB/s down, 210 KB/s up
    for (int size : {16, 24}) {
        SCOPED_TRACE(size);
        Picture speed = IconPicture(SpeedTraySpeed, 0, size, history);
        RECT down, up;
        ASSERT_TRUE(speed.Spans(Dark.Plain.Down, &down));
        ASSERT_TRUE(speed.Spans(Dark.Plain.Up, &up));
        // "12M" over "210K", each right-aligned, in its own half.
        EXPECT_LT(down.bottom, size / 2);
        EXPECT_GE(up.top, size / 2);
        EXPECT_EQ(size - 1, down.right);
        EXPECT_EQ(size - 1, up.right);
        EXPECT_GT(down.left, up.left);  // three characters beside four
        EXPECT_GE(down.bottom - down.top, size >= 24 ? 6 : 4);  // tall enough to read
        EXPECT_EQ(Rgb(Dark.Plain.Back), speed.At(0, 0));
        EXPECT_EQ(Rgb(Dark.Alert.Back),
                  IconPicture(SpeedTraySpeed, 1, size, history).At(0, 0));

        Picture graph = IconPicture(SpeedTrayGraph, 0, size, history);
        RECT downBars, upBars;
        ASSERT_TRUE(graph.Spans(Dark.Plain.DownBar, &downBars));
        ASSERT_TRUE(graph.Spans(Dark.Plain.UpBar, &upBars));
        int middle = size / 2;
        // Download grows up from the middle, the newest at the right and the highest.
        EXPECT_EQ(middle - 1, downBars.bottom);
        EXPECT_EQ(size - 1, downBars.right);
        EXPECT_EQ(Rgb(Dark.Plain.DownBar), graph.At(size - 1, 1));
        EXPECT_EQ(Rgb(Dark.Plain.Back), graph.At(size - size / 2, 1));  // older, lower
        // Upload, steady, is a band of full bars below the middle.
        EXPECT_EQ(middle, upBars.top);
        EXPECT_EQ(size - 1, upBars.right);
        EXPECT_EQ(Rgb(Dark.Plain.UpBar), graph.At(size - size / 3, size - 2));
        Picture alarmed = IconPicture(SpeedTrayGraph, 1, size, history);
        EXPECT_EQ(Rgb(Dark.Alert.Back), alarmed.At(size - 1, size - 1));
        EXPECT_EQ(Rgb(Dark.Alert.DownBar), alarmed.At(size - 1, middle - 1));
    }
    // The widest figures, 999 MB/s over 999 KB/s, fit whole across the smallest icon.
    SpeedHistory widest;
    widest.Add(999000000, 999000);
    Picture wide = IconPicture(SpeedTraySpeed, 0, 16, widest);
    RECT downWide, upWide;
    ASSERT_TRUE(wide.Spans(Dark.Plain.Down, &downWide));
    ASSERT_TRUE(wide.Spans(Dark.Plain.Up, &upWide));
    EXPECT_EQ(0, downWide.left);  // "999M" and "999K" from edge to edge
    EXPECT_EQ(0, upWide.left);
    EXPECT_EQ(15, downWide.right);
    // A full screen program hides the window; the other states leave it.
    EXPECT_EQ(0, SpeedWindowWanted(1, QUNS_BUSY));
    EXPECT_EQ(0, SpeedWindowWanted(1, QUNS_RUNNING_D3D_FULL_SCREEN));
    EXPECT_EQ(0, SpeedWindowWanted(1, QUNS_PRESENTATION_MODE));
    EXPECT_EQ(1, SpeedWindowWanted(1, QUNS_ACCEPTS_NOTIFICATIONS));
    EXPECT_EQ(1, SpeedWindowWanted(1, 0));
    EXPECT_EQ(0, SpeedWindowWanted(0, QUNS_ACCEPTS_NOTIFICATIONS));
}

// Both views started, as an INI file that asks for them starts them.
static void StartBothViews(SpeedViews& views)
{
    IniDocument document;
    document.Set("SpeedView", "TrayIcon", "1");
    document.Set("SpeedView", "Window", "1");
    views.Start(NULL, document);
}

TEST(SpeedViewsObjects, AnHourOfChangingFiguresLeavesNoObjectBehind)
{
    SpeedViews views;
    StartBothViews(views);
    HWND window = views.WindowHandle();
    ASSERT_NE((HWND)NULL, window);
    const int Seconds = 3600;
    const int Warming = 60;  // the first paints fill the system's own caches
    int before = 0;
    int iconsMade = 0, iconsLeft = 0;
    HICON shown = NULL;
    for (int second = 0; second < Seconds; second++) {
        if (second == Warming)
            before = LiveGdiObjects();
        if (second == Seconds / 2)
            views.Command(ID_SPEED_TRAY_GRAPH);
        if (second % 600 == 300)
            views.Command((second / 600) % 2 == 0 ? ID_SPEED_BITS : ID_SPEED_BYTES);
        // Figures that change every second, an alert now and then.
        unsigned __int64 down = 1000ULL * ((second * 7919) % 20000);
        unsigned __int64 up = 100ULL * ((second * 104729) % 9000);
        HICON icon = views.Cycle(down, up, second / 90 % 5 == 4, NULL, NULL);
        if (icon != shown) {
            iconsMade++;
            views.DropReplacedIcon();  // as once the tray has the new one
            if (shown != NULL && IsIconAlive(shown))
                iconsLeft++;
            shown = icon;
        }
        UpdateWindow(window);
        PumpMessages();
    }
    int after = LiveGdiObjects();
    printf("GDI objects over %d changing seconds: %d after the first minute, %d at the end; "
           "%d icons made, %d of the replaced left\n", Seconds, before, after, iconsMade, iconsLeft);
    EXPECT_GT(iconsMade, Seconds / 2);
    EXPECT_EQ(0, iconsLeft);
    EXPECT_EQ(before, after);
    EXPECT_TRUE(IsWindow(window));
    views.Stop();
    EXPECT_FALSE(IsWindow(window));
}

// Nothing is drawn again for figures that did not change; a change still reaches the screen.
TEST(SpeedViewsChanges, ANewSpeedReachesTheIconAndTheWindowAndSteadyFiguresDrawNothing)
{
    SpeedViews views;
    StartBothViews(views);
    HWND window = views.WindowHandle();
    ASSERT_NE((HWND)NULL, window);
    // A minute of steady traffic: bars of one height all across.
    SpeedHistory steady;
    HICON steadyIcon = NULL;
    for (size_t second = 0; second < SpeedHistorySeconds; second++) {
        steadyIcon = views.Cycle(1250000, 210000, 0, NULL, NULL);
        views.DropReplacedIcon();
        steady.Add(1250000, 210000);
        UpdateWindow(window);
    }
    // A mark of our own on the window: whatever paints the window covers it.
    const POINT mark = {2, 2};
    const COLORREF marked = RGB(1, 2, 3);
    WindowDc dc(window);
    ASSERT_NE(CLR_INVALID, SetPixel(dc.Get(), mark.x, mark.y, marked));
    RECT pending;
    EXPECT_EQ(steadyIcon, views.Cycle(1250000, 210000, 0, NULL, NULL));
    EXPECT_FALSE(GetUpdateRect(window, &pending, FALSE));
    EXPECT_EQ(marked, GetPixel(dc.Get(), mark.x, mark.y)) << "steady figures painted again";

    SpeedHistory faster = steady;
    faster.Add(2500000, 210000);
    HICON fasterIcon = views.Cycle(2500000, 210000, 0, NULL, NULL);
    ASSERT_NE(steadyIcon, fasterIcon);
    EXPECT_EQ("Download 2.50 megabytes per second, upload 210 kilobytes per second", WindowText(window));
    // On the screen at once, with no paint message to wait for.
    EXPECT_FALSE(GetUpdateRect(window, &pending, FALSE));
    EXPECT_NE(marked, GetPixel(dc.Get(), mark.x, mark.y)) << "the new figures not painted";
    // Each icon shows its own figures: the new one the new speed, and the one the tray still
    // has until it is told of the new one the old speed.
    int size = GetSystemMetrics(SM_CXSMICON);
    for (HICON icon : {steadyIcon, fasterIcon}) {
        const SpeedHistory& figures = icon == fasterIcon ? faster : steady;
        const TrayColourPair light = MakeTrayColourPair(LookLight, ReadSystemColours());
        OwnedIcon expected(
            MakeSpeedIcon(DescribeSpeedIcon(SpeedTraySpeed, 0, size, 0, figures, light)));
        std::vector<DWORD> shown(size * size), wanted(size * size);
        ASSERT_TRUE(ReadIconPixels(icon, size, shown.data()));
        ASSERT_TRUE(ReadIconPixels(expected.Get(), size, wanted.data()));
        EXPECT_TRUE(shown == wanted) << (icon == fasterIcon ? "new icon" : "replaced icon");
    }
    views.DropReplacedIcon();
    views.Stop();
}

class SpeedViewsTest : public MainWindowTest {
protected:
    SpeedViews& Speed() { return MainWindowProbe::Speed(main); }
    HICON LastIcon()
    {
        const TrayCall* call = LastTrayCall(NIM_MODIFY, NIF_ICON);
        return call != NULL ? call->Record.hIcon : NULL;
    }
    void Traffic(DWORD inA, DWORD outA, DWORD inB, DWORD outB)
    {
        fake.Row(2)->dwInOctets += inA;
        fake.Row(2)->dwOutOctets += outA;
        fake.Row(3)->dwInOctets += inB;
        fake.Row(3)->dwOutOctets += outB;
        fake.AdvanceSeconds(1);
        Tick();
    }
};

TEST_F(SpeedViewsTest, TheChoicesOfTheIniAndTheMenuDriveBothViews)
{
    std::string ini = folder.Path("Brisvane.INI");
    WritePrivateProfileStringA("SpeedView", "TrayIcon", "1", ini.c_str());
    WritePrivateProfileStringA("SpeedView", "Window", "1", ini.c_str());
    WritePrivateProfileStringA("SpeedView", "Adapter", "1", ini.c_str());
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    Traffic(1000000, 10000, 250000, 200000);
    Traffic(1000000, 10000, 250000, 200000);
    HWND window = Speed().WindowHandle();
    ASSERT_NE((HWND)NULL, window);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Both adapters summed, in words, as the window's own text.
    EXPECT_EQ("Download 1.25 megabytes per second, upload 210 kilobytes per second",
              WindowText(window));
    HICON speedIcon = LastIcon();
    EXPECT_NE(Tray().NormalIcon(), speedIcon);
    // The same figures again: no new icon.
    size_t calls = fake.TrayCalls.size();
    Traffic(1000000, 10000, 250000, 200000);
    EXPECT_EQ(calls, fake.TrayCalls.size());
    // A new speed goes to the tray at once, without the tip while nobody looks at it; the
    // mouse on the icon brings the tip of the moment.
    Traffic(1000000, 10000, 500000, 200000);
    const TrayCall* changed = LastTrayCall(NIM_MODIFY);
    ASSERT_NE((const TrayCall*)NULL, changed);
    EXPECT_NE(speedIcon, changed->Record.hIcon);
    EXPECT_EQ((UINT)NIF_ICON, changed->Record.uFlags);
    TrayEvent(WM_MOUSEMOVE);
    ASSERT_TRUE(LastTrayCall(NIM_MODIFY)->Record.uFlags & NIF_TIP);
    EXPECT_STRNE("", LastTrayCall(NIM_MODIFY)->Record.szTip);

    // Bits, the adapter on show (the first), and the program's icon again.
    SendMessageA(main.Window, WM_COMMAND, ID_SPEED_BITS, 0);
    SendMessageA(main.Window, WM_COMMAND, ID_SPEED_ADAPTER_SHOWN, 0);
    Traffic(1000000, 10000, 250000, 200000);
    EXPECT_EQ("Download 8.00 megabits per second, upload 80.0 kilobits per second",
              WindowText(window));
    SendMessageA(main.Window, WM_COMMAND, ID_SPEED_TRAY_PROGRAM, 0);
    Traffic(0, 0, 0, 0);
    EXPECT_EQ(Tray().NormalIcon(), LastIcon());
    SendMessageA(main.Window, WM_COMMAND, ID_SPEED_OPACITY_60, 0);
    SendMessageA(main.Window, WM_COMMAND, ID_SPEED_CLICKTHROUGH, 0);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    SendMessageA(main.Window, WM_COMMAND, ID_SPEED_WINDOW, 0);
    EXPECT_FALSE(IsWindow(window));

    // The one save keeps the choices.
    ShowWindow(main.Window, SW_HIDE);
    SendMessageA(main.Window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, GetPrivateProfileIntA("SpeedView", "TrayIcon", 9, ini.c_str()));
    EXPECT_EQ(0u, GetPrivateProfileIntA("SpeedView", "Window", 9, ini.c_str()));
    EXPECT_EQ(0u, GetPrivateProfileIntA("SpeedView", "Adapter", 9, ini.c_str()));
    EXPECT_EQ(1u, GetPrivateProfileIntA("SpeedView", "Bits", 9, ini.c_str()));
    EXPECT_EQ(1u, GetPrivateProfileIntA("SpeedView", "ClickThrough", 9, ini.c_str()));
    EXPECT_EQ(60u, GetPrivateProfileIntA("SpeedView", "Opacity", 9, ini.c_str()));
    EXPECT_EQ(56u, GetPrivateProfileIntA("SpeedView", "Height", 0, ini.c_str()));
}

TEST_F(SpeedViewsTest, AnAdapterGoneFromTheTableCarriesNoSpeed)
{
    std::string ini = folder.Path("Brisvane.INI");
    WritePrivateProfileStringA("SpeedView", "Window", "1", ini.c_str());
    WritePrivateProfileStringA("SpeedView", "Adapter", "1", ini.c_str());
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    Traffic(2000000, 500000, 1000, 0);
    HWND window = Speed().WindowHandle();
    ASSERT_NE((HWND)NULL, window);
    EXPECT_EQ("Download 2.00 megabytes per second, upload 500 kilobytes per second", WindowText(window));

    // The first adapter, the one on show, leaves the table: only the other one counts.
    InterfaceMonitor* gone = TabMonitor(0);
    fake.Rows.erase(fake.Rows.begin());
    fake.Row(3)->dwInOctets += 1000;
    fake.AdvanceSeconds(1);
    Tick();
    EXPECT_EQ("Download 1.00 kilobytes per second, upload 0 bytes per second", WindowText(window));
    SendMessageA(main.Window, WM_COMMAND, ID_SPEED_ADAPTER_SHOWN, 0);
    Tick();
    EXPECT_EQ("Download 0 bytes per second, upload 0 bytes per second", WindowText(window));
    // Its page keeps its figures.
    EXPECT_EQ("NOT Connected", PageText(gone, IDC_PAGE_STATUS));
    EXPECT_EQ("2.000 MB", PageText(gone, IDC_PAGE_CURRENT_IN));
}
