// The adapters' tabs: a tip with the adapter's description and status, a faint tab for an
// adapter that is not connected, redrawn only when that changes, and a change of tabs that
// leaves no text selected.
#include "MainWindowTestSupport.h"

#include <algorithm>
#include <vector>

#include "Contrast.h"
#include "IconPixels.h"
#include "PixelContrast.h"

namespace {

// The tab strip as it paints itself, into a picture of its own.
struct TabPicture {
    int Width = 0, Height = 0;
    std::vector<COLORREF> Pixels;
    COLORREF At(int x, int y) const { return Pixels[y * Width + x]; }
};

TabPicture PaintTabs(HWND tabs)
{
    TabPicture picture;
    picture.Pixels = PrintClientPixels(tabs, &picture.Width, &picture.Height);
    return picture;
}

// The strongest contrast of a text pixel inside a tab against the tab's own background.
double TextContrast(const TabPicture& picture, RECT area)
{
    InflateRect(&area, -3, -3);  // inside the tab's edges
    return BackgroundAndContrast(picture, area).second;
}

}  // namespace

class TabLookTest : public MainWindowTest {
protected:
    RECT TabRect(int position)
    {
        RECT area = {};
        SendMessageW(TabControl(), TCM_GETITEMRECT, position, (LPARAM)&area);
        return area;
    }
    // The tip the tab strip's tooltip would show over a tab.
    std::wstring Tip(int position)
    {
        NMTTDISPINFOW info = {};
        HWND tips = (HWND)SendMessageW(TabControl(), TCM_GETTOOLTIPS, 0, 0);
        info.hdr = {tips, (UINT_PTR)position, (UINT)TTN_GETDISPINFOW};
        SendMessageW(main.Window, WM_NOTIFY, IDC_TABCONTROL, (LPARAM)&info);
        return info.lpszText != NULL ? info.lpszText : L"(none)";
    }
    bool TabsWaitForPaint()
    {
        RECT area;
        return GetUpdateRect(TabControl(), &area, FALSE) != FALSE;
    }
};

TEST_F(TabLookTest, TipsNameTheAdapterAndItsStatusAndTheToolBarKeepsItsOwn)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5").dwOperStatus = 2;  // its cable is out
    ASSERT_NE((HWND)NULL, Create());
    ASSERT_NE((HWND)NULL, (HWND)SendMessageW(TabControl(), TCM_GETTOOLTIPS, 0, 0));
    EXPECT_EQ(L"Test adapter 2\nConnected", Tip(0));
    EXPECT_EQ(L"Test adapter 3\nLAN network cable disconnected/WAN no carrier", Tip(1));
    EXPECT_EQ("10.0.0.5", TabText(1));  // the tab keeps its IPv4 text

    fake.Rows.erase(fake.Rows.begin());  // the first leaves the table
    Tick();
    EXPECT_EQ(L"Test adapter 2\nNOT Connected", Tip(0));
}

TEST_F(TabLookTest, ATabOfAnAdapterNotConnectedIsFaintYetReadsAndIsRedrawnOnlyOnAChange)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "192.168.1.11");
    ASSERT_NE((HWND)NULL, Create());
    ValidateRect(TabControl(), NULL);
    Tick();
    EXPECT_FALSE(TabsWaitForPaint());  // nothing changed: no redraw every second
    TabPicture both = PaintTabs(TabControl());
    const double first = TextContrast(both, TabRect(0));  // selected: a background of its own
    const double connected = TextContrast(both, TabRect(1));
    EXPECT_GE(connected, ReadableContrast);

    fake.Rows[1].dwOperStatus = 2;
    Tick();
    EXPECT_TRUE(TabsWaitForPaint());
    TabPicture faint = PaintTabs(TabControl());
    const double unplugged = TextContrast(faint, TabRect(1));
    EXPECT_GE(unplugged, ReadableContrast);
    EXPECT_LT(unplugged, connected * 0.8);
    EXPECT_NEAR(first, TextContrast(faint, TabRect(0)), 0.01);  // the other stays

    ValidateRect(TabControl(), NULL);
    fake.Rows[1].dwOperStatus = 5;
    Tick();
    EXPECT_TRUE(TabsWaitForPaint());
    EXPECT_NEAR(connected, TextContrast(PaintTabs(TabControl()), TabRect(1)), 0.01);
}

TEST_F(TabLookTest, ChangingTabsLeavesTheDescriptionUnselected)
{
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    fake.AddAdapter(3, 0xB2, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    for (WORD command : {ID_NEXT_TAB, ID_PREVIOUS_TAB}) {
        SendMessageW(main.Window, WM_COMMAND, command, 0);
        HWND description = GetDlgItem(Tabs().SelectedPage()->Window, IDC_PAGE_DESCR);
        ASSERT_EQ(description, GetFocus()) << command;
        DWORD start = 0, end = 0;
        SendMessageW(description, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EXPECT_EQ(start, end) << command;
        EXPECT_GT(GetWindowTextLengthW(description), 0);
    }
}
