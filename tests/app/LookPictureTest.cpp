// The program's windows (the main window, the history window with its chart, the settings
// dialog, the adapters dialog and the about box) as they show in light, dark and high contrast
// (the system's look faked through ThemePlatform, the high-contrast colours set with
// SetSysColors): every text, read from the window's pixels on the screen inside its rectangle,
// stands out from the background around it at 4.5:1 (3:1 for the chart's marks and the tool
// bar's buttons); in dark the backgrounds are dark. At 96 DPI, and at 144 DPI in the label
// pictures' child run. A change of look while they are open reaches the main window, the history
// window and an open dialog.
#include "MainWindowTestSupport.h"

#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "Contrast.h"
#include "FakeLook.h"
#include "ModalDriver.h"
#include "OwnedHandle.h"
#include "PixelContrast.h"
#include "Palette.h"
#include "UsageChart.h"
#include "resource.h"

namespace {

enum LookCase { CaseLight, CaseDark, CaseHighContrast };
const struct {
    LookCase Case;
    const char* Name;
} Looks[] = {{CaseLight, "light"}, {CaseDark, "dark"}, {CaseHighContrast, "high contrast"}};

// Windows' high-contrast black scheme, as the user would set it.
const int SchemeElements[] = {COLOR_WINDOW,    COLOR_WINDOWTEXT, COLOR_BTNFACE,   COLOR_BTNTEXT,
                              COLOR_GRAYTEXT,  COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT,
                              COLOR_HOTLIGHT,  COLOR_3DHILIGHT,  COLOR_3DSHADOW,  COLOR_3DDKSHADOW,
                              COLOR_3DLIGHT,   COLOR_WINDOWFRAME, COLOR_MENU,     COLOR_MENUTEXT,
                              COLOR_INFOBK,    COLOR_INFOTEXT};
const COLORREF SchemeColours[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),
                                  RGB(255, 255, 255), RGB(63, 242, 63),   RGB(26, 235, 255),
                                  RGB(0, 0, 0),       RGB(255, 255, 0),   RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                  RGB(255, 255, 255), RGB(0, 0, 0),       RGB(255, 255, 255),
                                  RGB(0, 0, 0),       RGB(255, 255, 255)};
constexpr int SchemeCount = sizeof(SchemeElements) / sizeof(SchemeElements[0]);

// A window as the screen shows it, its frame included.
struct ScreenPicture {
    RECT Place = {};
    int Width = 0, Height = 0;
    std::vector<COLORREF> Pixels;
    COLORREF At(int x, int y) const { return Pixels[y * Width + x]; }
};

ScreenPicture TakePicture(HWND window)
{
    RedrawWindow(window, NULL, NULL,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    ScreenPicture picture;
    GetWindowRect(window, &picture.Place);
    picture.Width = picture.Place.right - picture.Place.left;
    picture.Height = picture.Place.bottom - picture.Place.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.Width;
    info.bmiHeader.biHeight = -picture.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    WindowDc screen(NULL);
    OwnedDc dc(CreateCompatibleDC(screen.Get()));
    void* bits = NULL;
    OwnedBitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, NULL, 0));
    if (bits == NULL)
        return picture;
    SelectedObject selected(dc.Get(), bitmap.Get());
    BitBlt(dc.Get(), 0, 0, picture.Width, picture.Height, screen.Get(), picture.Place.left,
           picture.Place.top, SRCCOPY);
    GdiFlush();
    const DWORD* pixels = (const DWORD*)bits;
    for (int i = 0; i < picture.Width * picture.Height; i++)
        picture.Pixels.push_back(RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF,
                                     pixels[i] & 0xFF));
    // For a look at the pictures by eye: BRISVANE_LOOK_PICTURES names a folder for them.
    const char* folder = getenv("BRISVANE_LOOK_PICTURES");
    if (folder != NULL) {
        static int number = 0;
        char path[MAX_PATH];
        snprintf(path, sizeof(path), "%s\\look-%02d.bmp", folder, ++number);
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
        file.bfSize = file.bfOffBits + picture.Width * picture.Height * 4;
        FILE* out = fopen(path, "wb");
        if (out != NULL) {
            fwrite(&file, sizeof(file), 1, out);
            fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
            fwrite(bits, 4, picture.Width * picture.Height, out);
            fclose(out);
        }
    }
    return picture;
}

// A text's place on the screen and how much it must stand out.
struct TextPlace {
    std::string Name;
    RECT Area;          // in screen coordinates
    double Needed;      // 4.5 for text, 3 for large text and marks
};

// The area's background and the strongest contrast of its text, in the picture's coordinates.
std::pair<COLORREF, double> Measure(const ScreenPicture& picture, RECT area)
{
    OffsetRect(&area, -picture.Place.left, -picture.Place.top);
    return BackgroundAndContrast(picture, area);
}

RECT ScreenRect(HWND window, RECT area)
{
    MapWindowPoints(window, NULL, (POINT*)&area, 2);
    return area;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

int Scaled(HWND window, int pixels)
{
    WindowDc dc(window);
    return MulDiv(pixels, GetDeviceCaps(dc.Get(), LOGPIXELSY), 96);
}

// The places of a control's items that tell their rectangles (tabs, column titles, rows, tools),
// at most the first `most`; `first` goes in the rectangle asked with (a list view's part).
template <typename Adjust>
void Items(HWND window, UINT countMessage, UINT rectMessage, const std::string& name,
           double needed, std::vector<TextPlace>& places, Adjust adjust, LONG first = 0,
           int most = INT_MAX)
{
    const int count = std::min(most, (int)SendMessageW(window, countMessage, 0, 0));
    for (int i = 0; i < count; i++) {
        RECT area = {first, 0, 0, 0};
        SendMessageW(window, rectMessage, i, (LPARAM)&area);
        adjust(area);
        places.push_back({name + std::to_string(i), ScreenRect(window, area), needed});
    }
}

// The places of the texts that the window and its controls draw.
void AddTexts(HWND window, std::vector<TextPlace>& places)
{
    const std::string name = ClassOf(window);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const std::string text = WindowText(window);
    RECT client;
    GetClientRect(window, &client);
    if (!IsWindowVisible(window) || client.right <= 0 || client.bottom <= 0)
        return;
    const int edge = Scaled(window, 3);
    if (_stricmp(name.c_str(), "Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (!text.empty() && IsWindowEnabled(window) &&
            (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP))
            places.push_back(
                {"\"" + text + "\"", ScreenRect(window, client), ReadableContrast});
    } else if (_stricmp(name.c_str(), "Button") == 0) {
        const LONG type = style & BS_TYPEMASK;
        if (text.empty() || !IsWindowEnabled(window))
            return;
        RECT area = client;
        if (type == BS_GROUPBOX) {
            area.bottom = Scaled(window, 14);
            area.left += Scaled(window, 6);
        } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            InflateRect(&area, -edge, -edge);
        } else {
            area.left += Scaled(window, 16);  // past the box, which has colours of its own
        }
        places.push_back({"\"" + text + "\"", ScreenRect(window, area), ReadableContrast});
    } else if (_stricmp(name.c_str(), "Edit") == 0) {
        if (text.empty() || !IsWindowEnabled(window))
            return;
        RECT area = client;
        InflateRect(&area, -1, -1);
        places.push_back({"field \"" + text + "\"", ScreenRect(window, area), ReadableContrast});
    } else if (_stricmp(name.c_str(), "ComboBox") == 0) {
        RECT area = client;
        InflateRect(&area, -edge, -edge);
        area.right -= GetSystemMetrics(SM_CXVSCROLL);
        places.push_back({"chooser \"" + text + "\"", ScreenRect(window, area), ReadableContrast});
    } else if (name == WC_TABCONTROLA) {
        Items(window, TCM_GETITEMCOUNT, TCM_GETITEMRECT, "tab ", ReadableContrast, places,
              [&](RECT& area) { InflateRect(&area, -edge, -edge); });
    } else if (name == WC_HEADERA) {
        Items(window, HDM_GETITEMCOUNT, HDM_GETITEMRECT, "column title ", ReadableContrast, places,
              [&](RECT& area) {
                  area.right -= edge;  // the line between the titles
                  area.bottom -= edge;
              });
    } else if (name == WC_LISTVIEWA) {
        Items(window, LVM_GETITEMCOUNT, LVM_GETITEMRECT, "row ", ReadableContrast, places,
              [](RECT&) {}, LVIR_LABEL, 4);
    } else if (name == TOOLBARCLASSNAMEA) {
        Items(window, TB_BUTTONCOUNT, TB_GETITEMRECT, "tool ", LargeTextContrast, places,
              [](RECT&) {});
    } else if (name == "BrisvaneUsageChart") {
        HWND chart = window;
        WindowDc dc(chart);
        SelectedObject font(dc.Get(), GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc.Get(), &metrics);
        RECT plot;
        ChartPlotArea(client, metrics.tmHeight, &plot);
        RECT legend = {plot.left, 0, plot.right, plot.top - 2};
        RECT labels = {plot.left, plot.bottom + 2, plot.right, client.bottom};
        places.push_back({"chart's legend", ScreenRect(chart, legend), ReadableContrast});
        places.push_back({"chart's periods", ScreenRect(chart, labels), ReadableContrast});
        places.push_back({"chart's bars", ScreenRect(chart, plot), LargeTextContrast});
    }
}

BOOL CALLBACK AddChildTexts(HWND child, LPARAM places)
{
    AddTexts(child, *(std::vector<TextPlace>*)places);
    return TRUE;
}

// Every text of the window that reads less than it must, and in dark every one whose
// background is not dark; empty when all is well.
std::string Misreads(HWND window, bool dark)
{
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const ScreenPicture picture = TakePicture(window);
    std::vector<TextPlace> places;
    EnumChildWindows(window, AddChildTexts, (LPARAM)&places);
    std::string misreads;
    if (places.size() < 3)
        misreads += "\n  only " + std::to_string(places.size()) + " texts";
    for (const TextPlace& place : places) {
        const auto measured = Measure(picture, place.Area);
        char line[160];
        // What the screen shows there must be the window's own, not another window over it.
        const POINT centre = {(place.Area.left + place.Area.right) / 2,
                              (place.Area.top + place.Area.bottom) / 2};
        if (GetAncestor(WindowFromPoint(centre), GA_ROOT) != window) {
            misreads += "\n  " + place.Name + " is covered";
            continue;
        }
        if (measured.second < place.Needed) {
            snprintf(line, sizeof(line), "\n  %s reads at %.2f:1 on %06lX", place.Name.c_str(),
                     measured.second, (unsigned long)measured.first);
            misreads += line;
        }
        if (dark && RelativeLuminance(measured.first) > 0.1) {
            snprintf(line, sizeof(line), "\n  %s stays light: %06lX", place.Name.c_str(),
                     (unsigned long)measured.first);
            misreads += line;
        }
    }
    return misreads;
}

// The colour a window's background takes from its colour message.
COLORREF DialogBack(HWND window)
{
    HDC dc = CreateCompatibleDC(NULL);
    HBRUSH brush = (HBRUSH)SendMessageW(window, WM_CTLCOLORDLG, (WPARAM)dc, (LPARAM)window);
    DeleteDC(dc);
    LOGBRUSH fill = {};
    if (brush == NULL || !GetObjectW(brush, sizeof(fill), &fill))
        return GetSysColor(COLOR_BTNFACE);
    return fill.lbColor;
}

}  // namespace

class LookPictureTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        for (int i = 0; i < SchemeCount; i++)
            before[i] = GetSysColor(SchemeElements[i]);
        fake.AddAdapter(2, 0xA1, "192.168.1.10");
        fake.AddAdapter(3, 0xB2, "10.0.0.5").dwOperStatus = 2;  // a faint tab
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        SetSysColors(SchemeCount, SchemeElements, before);
    }
    // The system turns to the look, and tells the program so.
    void UseLook(LookCase look)
    {
        const bool wasHigh = FakeLook::HighContrast;
        FakeLook::Light = look != CaseDark;
        FakeLook::HighContrast = look == CaseHighContrast;
        if (FakeLook::HighContrast != wasHigh)
            SetSysColors(SchemeCount, SchemeElements,
                         FakeLook::HighContrast ? SchemeColours : before);
        SendMessageW(main.Window, WM_SETTINGCHANGE, 0, (LPARAM)L"ImmersiveColorSet");
        SendMessageW(main.Window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        PumpMessages();
    }
    // Opens the history window over a day of traffic, so that its list and chart have some.
    HWND OpenHistory()
    {
        Tick();
        fake.Rows[0].dwInOctets += 5000000;
        fake.Rows[0].dwOutOctets += 2000000;
        Tick();
        SendMessageW(main.Window, WM_COMMAND, ID_APP_HISTORY, 0);
        PumpMessages();
        // The list has the focus, as after a click on it: the chooser's is the system's own
        // selection colours, which the look does not choose.
        HWND history = HistoryView().Window;
        if (history != NULL)
            SetFocus(GetDlgItem(history, IDC_HIST_LIST));
        return history;
    }

    FakeLook look;
    COLORREF before[SchemeCount];
};

TEST_F(LookPictureTest, TheMainWindowsTextsReadInEveryLook)
{
    ASSERT_NE((HWND)NULL, Create());
    for (const auto& look : Looks) {
        UseLook(look.Case);
        EXPECT_EQ("", Misreads(main.Window, look.Case == CaseDark)) << look.Name;
    }
}

TEST_F(LookPictureTest, TheHistoryWindowsTextsAndChartReadInEveryLook)
{
    ASSERT_NE((HWND)NULL, Create());
    HWND history = OpenHistory();
    ASSERT_NE((HWND)NULL, history);
    for (const auto& look : Looks) {
        UseLook(look.Case);
        EXPECT_EQ("", Misreads(history, look.Case == CaseDark)) << look.Name;
    }
    DestroyWindow(history);
}

TEST_F(LookPictureTest, TheDialogsTextsReadInEveryLook)
{
    const struct {
        WORD Command;
        const char* Title;
        WORD Close;
    } dialogs[] = {{ID_APP_SETTINGS, "Settings", IDCANCEL},
                   {ID_APP_ABOUT, "About", IDOK},
                   {ID_TRAY_ADAPTERS, "Adapters", IDCANCEL}};
    ASSERT_NE((HWND)NULL, Create());
    for (const auto& look : Looks) {
        UseLook(look.Case);
        for (const auto& opened : dialogs)
            RunWithStep([&] { SendMessageW(main.Window, WM_COMMAND, opened.Command, 0); },
                        opened.Title, [&](HWND dialog) {
                            EXPECT_EQ("", Misreads(dialog, look.Case == CaseDark))
                                << opened.Title << ", " << look.Name;
                            PostMessageW(dialog, WM_COMMAND, opened.Close, 0);
                        });
    }
}

TEST_F(LookPictureTest, AChangeOfLookReachesEveryOpenWindow)
{
    ASSERT_NE((HWND)NULL, Create());
    HWND history = OpenHistory();
    ASSERT_NE((HWND)NULL, history);
    RunWithStep([&] { SendMessageW(main.Window, WM_COMMAND, ID_APP_SETTINGS, 0); }, "Settings",
                [&](HWND dialog) {
                    EXPECT_GT(RelativeLuminance(DialogBack(dialog)), 0.5);
                    UseLook(CaseDark);  // while the dialog is open
                    for (HWND window : {dialog, history, PageWindow(TabMonitor(0))})
                        EXPECT_LT(RelativeLuminance(DialogBack(window)), 0.05);
                    EXPECT_EQ("", Misreads(dialog, true));
                    UseLook(CaseHighContrast);
                    for (HWND window : {dialog, history, PageWindow(TabMonitor(0))})
                        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), DialogBack(window));
                    EXPECT_EQ("", Misreads(dialog, false));
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                });
    EXPECT_EQ("", Misreads(history, false));
    DestroyWindow(history);  // it lies over the main window
    UseLook(CaseLight);
    EXPECT_EQ("", Misreads(main.Window, false));
}
