// A tab's context menu from the keyboard (Shift+F10 on the strip): count the adapter on show in
// all adapters or not, hide it; the last tab is never hidden.
#include "MainWindowTestSupport.h"

#include <process.h>

#include "resource.h"

namespace {

class AdapterTabsTest : public MainWindowTest {
protected:
    // Shift+F10 on the strip, then the item so many presses down.
    void PickFromTabMenu(int downs)
    {
        MenuPicker pick = {downs, 0};
        HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, PickWhenMenuShows, &pick, 0, NULL);
        SendMessageA(main.Window, WM_CONTEXTMENU, (WPARAM)TabControl(), -1);
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

    SendMessageA(main.Window, WM_COMMAND, ID_NEXT_TAB, 0);
    PickFromTabMenu(2);  // "Count in all adapters"
    EXPECT_TRUE(tunnel->CountsInAll());
    EXPECT_EQ("1", Mark(tunnel, "CountInAll"));
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
