// Which adapters "All adapters" adds: the physical rule over interfaces of each kind, from
// either table, and the sum's membership with its fallback when no adapter qualifies.
#include <gtest/gtest.h>
#include <windows.h>
#include <ipifcons.h>

#include "AllAdapters.h"

TEST(AllAdaptersTest, PhysicalByTheHardwareFlagElseByTheType)
{
    constexpr DWORD Wifi = IF_TYPE_IEEE80211;
    constexpr DWORD Ethernet = IF_TYPE_ETHERNET_CSMACD;
    struct Case {
        const char* Kind;
        int Hardware;
        DWORD Type;
        bool Physical;
    } cases[] = {
        {"Ethernet", 1, Ethernet, true},
        {"Wi-Fi", 1, Wifi, true},
        {"VPN tunnel", 0, IF_TYPE_TUNNEL, false},
        {"PPP dial-up", 0, IF_TYPE_PPP, false},
        {"Hyper-V or WSL switch (Ethernet type)", 0, Ethernet, false},
        {"loopback", 0, IF_TYPE_SOFTWARE_LOOPBACK, false},
        // The flag decides where there is one, whatever the type says.
        {"hardware reported as a tunnel", 1, IF_TYPE_TUNNEL, true},
        // The 32-bit table has no flag: the type alone.
        {"Ethernet, 32-bit table", HardwareUnknown, Ethernet, true},
        {"Wi-Fi, 32-bit table", HardwareUnknown, Wifi, true},
        {"tunnel, 32-bit table", HardwareUnknown, IF_TYPE_TUNNEL, false},
        {"PPP, 32-bit table", HardwareUnknown, IF_TYPE_PPP, false},
        {"loopback, 32-bit table", HardwareUnknown, IF_TYPE_SOFTWARE_LOOPBACK, false},
        {"virtual, 32-bit table", HardwareUnknown, IF_TYPE_PROP_VIRTUAL, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.Physical, IsPhysicalInterface(c.Hardware, c.Type)) << c.Kind;
}

TEST(AllAdaptersTest, HiddenNeverPhysicalOnlyUnlessNoneQualifiesEveryShownOtherwise)
{
    for (int bits = 0; bits < 16; bits++) {
        bool shown = bits & 1, counted = bits & 2, physicalOnly = bits & 4, anyCounted = bits & 8;
        bool added = AddedToAllAdapters(shown, counted, physicalOnly, anyCounted);
        bool expected = shown && (!physicalOnly || counted || !anyCounted);
        EXPECT_EQ(expected, added) << "shown " << shown << " counted " << counted
                                   << " physical only " << physicalOnly << " any counted "
                                   << anyCounted;
    }
}
