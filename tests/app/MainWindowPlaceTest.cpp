// The main window at its DPI: as big as its page, its place kept in its own INI section and
// brought back onto a work area, a DPI change followed, and the first close told once.
#include "MainWindowTestSupport.h"

#include "resource.h"

namespace {

const int PageWidthUnits = 317;
const int PageHeightUnits = 157;
// How far the page area may be from the page, in pixels (rounding of dialog units).
const int FitSlack = 3;

RECT WorkAreaOfPrimary()
{
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

int FirstCloseBalloons(const FakePlatform& fake)
{
    int count = 0;
    for (const TrayCall& call : fake.TrayCalls)
        count += (call.Record.uFlags & NIF_INFO) != 0 &&
                 strcmp(call.Record.szInfoTitle, "Brisvane is still counting") == 0;
    return count;
}

}  // namespace

class MainWindowPlaceTest : public MainWindowTest {
protected:
    // The page area of the tab strip and the page's own size, in pixels.
    void PageAndArea(RECT* area, RECT* page)
    {
        GetClientRect(TabControl(), area);
        SendMessageA(TabControl(), TCM_ADJUSTRECT, FALSE, (LPARAM)area);
        RECT units = {0, 0, PageWidthUnits, PageHeightUnits};
        MapDialogRect(PageWindow(TabMonitor(0)), &units);
        *page = units;
    }
    // Ends the window as the tray menu's Close does: hidden, then closed; its place is saved.
    void Close()
    {
        ShowWindow(main.Window, SW_HIDE);
        SendMessageA(main.Window, WM_CLOSE, 0, 0);
        PumpMessages();
    }
    std::string IniPathText() { return folder.Path("Brisvane.INI"); }
    void WritePlace(const char* left, const char* top)
    {
        std::string ini = IniPathText();
        WritePrivateProfileStringA("MainWindow", "Left", left, ini.c_str());
        WritePrivateProfileStringA("MainWindow", "Top", top, ini.c_str());
        WritePrivateProfileStringA("MainWindow", "Width", "500", ini.c_str());
        WritePrivateProfileStringA("MainWindow", "Height", "300", ini.c_str());
    }
    // The window's title bar lies on the primary work area (the only one under test).
    void ExpectCaptionReachable(HWND window)
    {
        RECT frame, area = WorkAreaOfPrimary();
        GetWindowRect(window, &frame);
        EXPECT_GE(frame.left, area.left);
        EXPECT_GE(frame.top, area.top);
        EXPECT_LE(frame.right, area.right);
        EXPECT_LE(frame.top + GetSystemMetrics(SM_CYCAPTION), area.bottom);
    }
};

// At the screen's DPI (96 here, 144 in the child run of DpiPictureTest) and after a DPI change
// sent as Windows sends it, the page area holds the page within a few pixels.
TEST_F(MainWindowPlaceTest, IsAsBigAsItsPageAndFollowsADpiChange)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    LONG style = GetWindowLongA(main.Window, GWL_STYLE);
    EXPECT_EQ(0, style & (WS_MAXIMIZEBOX | WS_THICKFRAME));  // nothing to gain from a bigger one
    RECT area, page;
    PageAndArea(&area, &page);
    EXPECT_NEAR(page.right, area.right - area.left, FitSlack);
    EXPECT_NEAR(page.bottom, area.bottom - area.top, FitSlack);
    UINT dpi = MainWindowProbe::LayoutDpi(main);
    HIMAGELIST images = (HIMAGELIST)SendMessageA(ToolBar(), TB_GETIMAGELIST, 0, 0);
    int imageWidth = 0, imageHeight = 0;
    ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    EXPECT_EQ(ToolBarImageSizeFor(dpi), imageWidth);
    EXPECT_EQ(imageWidth, imageHeight);
    HICON smallBefore = (HICON)SendMessageA(main.Window, WM_GETICON, ICON_SMALL, 0);
    EXPECT_NE((HICON)NULL, smallBefore);
    RECT client;
    GetClientRect(main.Window, &client);

    RECT description;
    GetWindowRect(GetDlgItem(PageWindow(TabMonitor(0)), IDC_PAGE_DESCR), &description);
    HICON trayBefore = Tray().NormalIcon();

    // Half as much again: the window moves to Windows' corner and grows with its page.
    UINT bigger = dpi * 3 / 2;
    RECT suggested = {60, 40, 60 + 900, 40 + 600};
    SendMessageA(main.Window, WM_DPICHANGED, MAKEWPARAM(bigger, bigger), (LPARAM)&suggested);
    EXPECT_EQ(bigger, MainWindowProbe::LayoutDpi(main));
    RECT frame, grown;
    GetWindowRect(main.Window, &frame);
    EXPECT_EQ(60, frame.left);
    EXPECT_EQ(40, frame.top);
    GetClientRect(main.Window, &grown);
    SIZE wanted = MainWindowProbe::ClientSizeForPage(main);
    EXPECT_EQ(wanted.cx, grown.right);
    EXPECT_EQ(wanted.cy, grown.bottom);
    EXPECT_GT(grown.right, client.right * 4 / 3);
    EXPECT_GT(grown.bottom, client.bottom * 4 / 3);
    images = (HIMAGELIST)SendMessageA(ToolBar(), TB_GETIMAGELIST, 0, 0);
    ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    EXPECT_EQ(ToolBarImageSizeFor(bigger), imageWidth);
    EXPECT_NE(smallBefore, (HICON)SendMessageA(main.Window, WM_GETICON, ICON_SMALL, 0));
    // The tray's icon loaded again and shown.
    EXPECT_NE(trayBefore, Tray().NormalIcon());
    EXPECT_EQ(Tray().NormalIcon(), LastTrayCall(NIM_MODIFY, NIF_ICON)->Record.hIcon);
    // The page's controls grew as the page area did and still lie within it.
    RECT oldArea = area;
    PageAndArea(&area, &page);
    RECT widened;
    GetWindowRect(GetDlgItem(PageWindow(TabMonitor(0)), IDC_PAGE_DESCR), &widened);
    EXPECT_NEAR(MulDiv(description.right - description.left, area.right - area.left,
                       oldArea.right - oldArea.left),
                widened.right - widened.left, FitSlack);
    RECT since;
    GetWindowRect(GetDlgItem(PageWindow(TabMonitor(0)), IDC_PAGE_SINCE), &since);
    MapWindowPoints(NULL, PageWindow(TabMonitor(0)), (POINT*)&since, 2);
    EXPECT_LE(since.right, area.right - area.left);
    EXPECT_LE(since.bottom, area.bottom - area.top);
}

TEST_F(MainWindowPlaceTest, KeepsItsPlaceInItsOwnSectionAndComesBackThere)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    // A first start: in the middle of the work area, not in its corner.
    ASSERT_NE((HWND)NULL, Create());
    RECT frame, area = WorkAreaOfPrimary();
    GetWindowRect(main.Window, &frame);
    EXPECT_NEAR((area.left + area.right) / 2, (frame.left + frame.right) / 2, 1);
    EXPECT_NEAR((area.top + area.bottom) / 2, (frame.top + frame.bottom) / 2, 1);

    SetWindowPos(main.Window, NULL, 210, 130, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(main.Window, &frame);
    Close();
    std::string ini = Ini();
    UINT dpi = MainWindowProbe::LayoutDpi(main);
    std::string expected = "[MainWindow]\r\nLeft=" + std::to_string(UnscaleForDpi(210, dpi)) +
                           "\r\nTop=" + std::to_string(UnscaleForDpi(130, dpi)) + "\r\nWidth=" +
                           std::to_string(UnscaleForDpi(frame.right - frame.left, dpi)) +
                           "\r\nHeight=" +
                           std::to_string(UnscaleForDpi(frame.bottom - frame.top, dpi)) + "\r\n";
    EXPECT_NE(std::string::npos, ini.find(expected)) << ini;
    EXPECT_EQ(std::string::npos, ini.find("TrayNoticeShown")) << "no close to the tray was told";

    // Saved again while minimised: the place it comes back to, not the icon's.
    MainWindow second;
    ASSERT_NE((HWND)NULL, CreateMainWindow(GetModuleHandleA(NULL), second));
    GetWindowRect(second.Window, &frame);
    EXPECT_NEAR(210, frame.left, 1);
    EXPECT_NEAR(130, frame.top, 1);
    ShowWindow(second.Window, SW_SHOWMINNOACTIVE);
    SendMessageA(second.Window, WM_CLOSE, 0, 0);  // minimised is still visible: hidden
    SendMessageA(second.Window, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_NE(std::string::npos, Ini().find(expected)) << Ini();
}

TEST_F(MainWindowPlaceTest, APlaceOffEveryScreenComesBackOntoTheWorkArea)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    // Off to the left and below; beyond the right edge (a screen that is gone); absurd.
    const char* const places[][2] = {{"-99990", "5000"}, {"3000", "200"}, {"1270", "1014"}};
    for (const auto& place : places) {
        SCOPED_TRACE(std::string(place[0]) + "," + place[1]);
        WritePlace(place[0], place[1]);
        MainWindow window;
        ASSERT_NE((HWND)NULL, CreateMainWindow(GetModuleHandleA(NULL), window));
        ExpectCaptionReachable(window.Window);
        SendMessageA(window.Window, WM_CLOSE, 0, 0);  // hidden: ends
        PumpMessages();
    }
    // Unreadable values are no place: centred as at a first start.
    WritePlace("left", "top");
    ASSERT_NE((HWND)NULL, Create());
    ExpectCaptionReachable(main.Window);
}

TEST_F(MainWindowPlaceTest, TheFirstCloseToTheTrayIsToldOnceEver)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    SendMessageA(main.Window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(main.Window));
    EXPECT_EQ(1, FirstCloseBalloons(fake));
    const TrayCall* balloon = LastTrayCall(NIM_MODIFY, NIF_INFO);
    ASSERT_NE((const TrayCall*)NULL, balloon);
    EXPECT_STREQ("It goes on in the tray. To end it, right-click the tray icon and choose Close.",
                 balloon->Record.szInfo);
    EXPECT_NE(std::string::npos, Ini().find("TrayNoticeShown=1")) << "kept at once";

    ShowWindow(main.Window, SW_SHOW);
    SendMessageA(main.Window, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, FirstCloseBalloons(fake));
    Close();

    // The next run remembers it.
    MainWindow next;
    ASSERT_NE((HWND)NULL, CreateMainWindow(GetModuleHandleA(NULL), next));
    ShowWindow(next.Window, SW_SHOW);
    SendMessageA(next.Window, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, FirstCloseBalloons(fake));
    SendMessageA(next.Window, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_NE(std::string::npos, Ini().find("TrayNoticeShown=1"));
}
