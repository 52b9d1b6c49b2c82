// A tab's context menu, from a right click on a tab or from the keyboard (Shift+F10 on the
// strip): count the adapter in all adapters or not, hide it; the last tab is never hidden.
#include "MainWindowTestSupport.h"

#include <process.h>

#include "resource.h"

namespace {

class AdapterTabsTest : public MainWindowTest {
protected:
    // Shift+F10 on the strip, or a right click on the tab at clicked, then the item so many
    // presses down.
    void PickFromTabMenu(int downs, int clicked = -1)
    {
        MenuPicker pick = {downs, 0};
        HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, PickWhenMenuShows, &pick, 0, NULL);
        if (clicked < 0) {
            SendMessageA(main.Window, WM_CONTEXTMENU, (WPARAM)TabControl(), -1);
        } else {
            RECT tab;
            SendMessageA(TabControl(), TCM_GETITEMRECT, clicked, (LPARAM)&tab);
            POINT at = {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
            ClientToScreen(TabControl(), &at);
            SetCursorPos(at.x, at.y);
            NMHDR click = {TabControl(), IDC_TABCONTROL, (UINT)NM_RCLICK};
            SendMessageA(main.Window, WM_NOTIFY, IDC_TABCONTROL, (LPARAM)&click);
        }
        InterlockedExchange(&pick.Stop, 1);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        PumpMessages();
    }
    std::string Mark(const InterfaceMonitor* monitor, const char* key)
    {
        char section[64], text[16] = "";
        monitor->SectionName(section, sizeof(section));
        GetPrivateProfileStringA(section, key, "", text, sizeof(text),
                                 folder.Path("Brisvane.INI").c_str());
        return text;
    }
};

}  // namespace

TEST_F(AdapterTabsTest, TheTabMenuCountsAndHidesTheAdapterOnShowButNeverTheLastTab)
{
    fake.AddAdapter(2, 0x01, "192.168.1.10");
    fake.AddAdapter(3, 0x02, "10.8.0.2").dwType = IF_TYPE_TUNNEL;
    ASSERT_NE((HWND)NULL, Create());
    ASSERT_EQ(2, TabCount());
    InterfaceMonitor* ethernet = TabMonitor(0);
    InterfaceMonitor* tunnel = TabMonitor(1);
    EXPECT_TRUE(ethernet->CountsInAll());
    EXPECT_FALSE(tunnel->CountsInAll());

    PickFromTabMenu(2, 1);  // "Count in all adapters" on the tunnel's tab, not the one on show
    EXPECT_TRUE(tunnel->CountsInAll());
    EXPECT_TRUE(ethernet->CountsInAll());
    EXPECT_EQ("1", Mark(tunnel, "CountInAll"));
    SendMessageA(main.Window, WM_COMMAND, ID_NEXT_TAB, 0);
    PickFromTabMenu(1);  // "Hide this adapter"
    ASSERT_EQ(1, TabCount());
    EXPECT_EQ(ethernet, TabMonitor(0));
    EXPECT_EQ(0, Tabs().Selected());
    EXPECT_EQ("1", Mark(tunnel, "Hidden"));

    // Hidden, it goes on counting.
    fake.Row(3)->dwInOctets += 5000;
    Tick();
    EXPECT_EQ(5000u, tunnel->Total_in);
    // The last tab stays.
    SendMessageA(main.Window, WM_COMMAND, ID_TAB_HIDE, 0);
    EXPECT_EQ(1, TabCount());
    EXPECT_FALSE(ethernet->Hidden());
    EXPECT_EQ("", Mark(ethernet, "Hidden"));
}
