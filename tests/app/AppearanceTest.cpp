// The main window's look follows the system (faked through ThemePlatform) and the INI file's
// [Appearance] Theme, while it runs: the pages' colours as they answer the colour messages,
// read against each other; the alert's red outside high contrast, the highlight pair in it.
#include "MainWindowTestSupport.h"

#include "FakeLook.h"

#include <algorithm>

#include "Contrast.h"
#include "Palette.h"

namespace {

// What a control of the page is drawn with: its text colour and its background.
struct DrawnColours {
    bool Own;  // the page chose them; else the system's face colour, as by default
    COLORREF Text, Back;
};

}  // namespace

class AppearanceTest : public MainWindowTest {
protected:
    DrawnColours Colours(int id)
    {
        HWND page = PageWindow(TabMonitor(0));
        HDC dc = CreateCompatibleDC(NULL);
        HBRUSH brush = (HBRUSH)SendMessageW(page, WM_CTLCOLORSTATIC, (WPARAM)dc,
                                            (LPARAM)GetDlgItem(page, id));
        LOGBRUSH fill = {};
        GetObjectW(brush, sizeof(fill), &fill);
        DrawnColours colours = {fill.lbColor != GetSysColor(COLOR_BTNFACE), GetTextColor(dc),
                                  fill.lbColor};
        DeleteDC(dc);
        return colours;
    }
    void SystemChanged(const wchar_t* what)
    {
        SendMessageW(main.Window, WM_SETTINGCHANGE, 0, (LPARAM)what);
    }
    // The strongest contrast of a pixel of the page's first group box's title against the
    // page's dark background, as the box paints itself.
    double GroupTitleContrast()
    {
        HWND page = PageWindow(TabMonitor(0));
        HWND box = GetWindow(page, GW_CHILD);
        while (box != NULL && (GetWindowLongW(box, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX)
            box = GetWindow(box, GW_HWNDNEXT);
        if (box == NULL)
            return 0;
        RECT area;
        GetClientRect(box, &area);
        HDC screen = GetDC(box);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
        HGDIOBJ old = SelectObject(dc, bitmap);
        const COLORREF back = MakePalette(LookDark, ReadSystemColours()).Back;
        HBRUSH fill = CreateSolidBrush(back);
        FillRect(dc, &area, fill);
        DeleteObject(fill);
        SendMessageW(box, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
        double strongest = 1;
        for (int y = 0; y < 14 && y < area.bottom; y++)
            for (int x = 12; x < 50 && x < area.right; x++)  // inside the title, off the frame
                strongest = std::max(strongest, ContrastRatio(GetPixel(dc, x, y), back));
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(box, screen);
        return strongest;
    }
    FakeLook look;
};

TEST_F(AppearanceTest, DarkPagesFollowTheSystemWhileRunningAndTheirTextsRead)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    EXPECT_FALSE(Colours(IDC_PAGE_DESCR).Own);  // light: the system's own colours

    FakeLook::Light = false;
    SystemChanged(L"Environment");  // another setting: nothing to follow
    EXPECT_FALSE(Colours(IDC_PAGE_DESCR).Own);
    SystemChanged(L"ImmersiveColorSet");
    for (int id : {IDC_PAGE_DESCR, IDC_PAGE_STATUS, IDC_PAGE_TOTAL_IN}) {
        DrawnColours dark = Colours(id);
        EXPECT_TRUE(dark.Own) << id;
        EXPECT_LT(RelativeLuminance(dark.Back), 0.05) << id;
        EXPECT_GE(ContrastRatio(dark.Text, dark.Back), ReadableContrast) << id;
    }
    HDC dc = CreateCompatibleDC(NULL);
    HBRUSH pageBrush = (HBRUSH)SendMessageW(PageWindow(TabMonitor(0)), WM_CTLCOLORDLG,
                                            (WPARAM)dc, (LPARAM)PageWindow(TabMonitor(0)));
    DeleteDC(dc);
    LOGBRUSH fill = {};
    ASSERT_TRUE(GetObjectW(pageBrush, sizeof(fill), &fill));
    EXPECT_LT(RelativeLuminance(fill.lbColor), 0.05);
    EXPECT_TRUE(HistoryView().Chart.Colours.Dark);  // the chart, open or not, goes with it
    EXPECT_GE(GroupTitleContrast(), ReadableContrast);  // "IN (download)" reads on the dark

    FakeLook::Light = true;
    SendMessageW(main.Window, WM_THEMECHANGED, 0, 0);
    EXPECT_FALSE(Colours(IDC_PAGE_DESCR).Own);
    EXPECT_FALSE(HistoryView().Chart.Colours.Dark);
}

TEST_F(AppearanceTest, TheIniChoiceOverridesTheSystemAndHighContrastOverridesBoth)
{
    WritePrivateProfileStringA("Appearance", "Theme", "Dark", folder.Path("Brisvane.INI").c_str());
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    EXPECT_TRUE(Colours(IDC_PAGE_DESCR).Own);  // dark, though the system is light
    Settings.AlertType = AlertDistinct;
    Settings.LimitIN = Settings.LimitOUT = 10 * GIGABYTE;
    Settings.AlertPercent = 90;
    TabMonitor(0)->Total_in = 10 * GIGABYTE;
    Tick();
    ASSERT_TRUE(TabMonitor(0)->AlertOn);
    DrawnColours alert = Colours(IDC_PAGE_ALERT);
    EXPECT_EQ(RGB(255, 0, 0), alert.Back);
    EXPECT_EQ(RGB(0, 0, 0), alert.Text);

    FakeLook::HighContrast = true;
    SendMessageW(main.Window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_FALSE(Colours(IDC_PAGE_DESCR).Own);  // the system's own high-contrast colours
    alert = Colours(IDC_PAGE_ALERT);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), alert.Back);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), alert.Text);
}
