// The alert notice: told once when an alert turns on, with the limit that was passed, the
// amount against it and the limit, amounts as the page shows them.
#include <gtest/gtest.h>

#include <string>

#include "AlertNotice.h"

namespace {

SettingsRecord Limits(int alertType, unsigned __int64 in, unsigned __int64 out, BYTE percent)
{
    SettingsRecord settings;
    settings.AlertType = alertType;
    settings.LimitIN = in;
    settings.LimitOUT = out;
    settings.AlertPercent = percent;
    return settings;
}

}  // namespace

TEST(AlertNotice, ToldOnlyWhenTheAlertTurnsOn)
{
    SettingsRecord settings = Limits(AlertDistinct, 10 * GIGABYTE, 10 * GIGABYTE, 90);
    unsigned __int64 passed = 9 * GIGABYTE + 1;
    AlertNotice notice = {};
    EXPECT_EQ(1, DecideAlertNotice(0, 1, passed, 0, settings, &notice));
    EXPECT_EQ(0, DecideAlertNotice(1, 1, passed, 0, settings, &notice));  // still on
    EXPECT_EQ(0, DecideAlertNotice(1, 0, 0, 0, settings, &notice));       // turned off
    EXPECT_EQ(0, DecideAlertNotice(0, 0, 0, 0, settings, &notice));
}

TEST(AlertNotice, NamesThePassedLimitWithItsAmount)
{
    SettingsRecord distinct = Limits(AlertDistinct, 10 * GIGABYTE, 4 * GIGABYTE, 90);
    AlertNotice notice = {};
    ASSERT_EQ(1, DecideAlertNotice(0, 1, 9500000000ULL, 100, distinct, &notice));
    EXPECT_STREQ("IN", notice.LimitName);
    EXPECT_EQ(9500000000ULL, notice.Amount);
    EXPECT_EQ(10 * GIGABYTE, notice.Limit);

    ASSERT_EQ(1, DecideAlertNotice(0, 1, 100, 3700000000ULL, distinct, &notice));
    EXPECT_STREQ("OUT", notice.LimitName);
    EXPECT_EQ(3700000000ULL, notice.Amount);
    EXPECT_EQ(4 * GIGABYTE, notice.Limit);

    SettingsRecord total = Limits(AlertTotal, GIGABYTE, GIGABYTE, 100);
    ASSERT_EQ(1, DecideAlertNotice(0, 1, 1200000000ULL, 900000000ULL, total, &notice));
    EXPECT_STREQ("IN+OUT", notice.LimitName);
    EXPECT_EQ(2100000000ULL, notice.Amount);
    EXPECT_EQ(2 * GIGABYTE, notice.Limit);

    // Alerts switched off since the flag was set: nothing left to tell.
    SettingsRecord none = Limits(AlertNone, GIGABYTE, GIGABYTE, 100);
    EXPECT_EQ(0, DecideAlertNotice(0, 1, 3 * GIGABYTE, 0, none, &notice));
}

TEST(AlertNotice, TextNamesTheAdapterAndTheLimit)
{
    AlertNotice notice = {"IN", 9012345678ULL, 10 * GIGABYTE};
    char text[256];
    FormatAlertNotice(notice, "192.168.1.10", "Intel(R) PRO/1000", text, sizeof(text));
    EXPECT_STREQ("192.168.1.10 Intel(R) PRO/1000\nIN: 9.01 GB of the 10.00 GB limit", text);

    notice = {"IN+OUT", 25000000, 100000000};
    FormatAlertNotice(notice, "10.0.0.5", "eth0", text, sizeof(text));
    EXPECT_STREQ("10.0.0.5 eth0\nIN+OUT: 25 MB of the 100 MB limit", text);
}

TEST(AlertNotice, LongDescriptionIsCutNotTheLimit)
{
    AlertNotice notice = {"OUT", 2500000000ULL, 3 * GIGABYTE};
    std::string description(300, 'd');
    char text[256];
    int written = FormatAlertNotice(notice, "192.168.1.10", description.c_str(), text, sizeof(text));
    std::string shown = text;
    EXPECT_EQ((int)shown.size(), written);
    EXPECT_EQ(255u, shown.size());
    EXPECT_EQ(0u, shown.find("192.168.1.10 ddd"));
    EXPECT_NE(std::string::npos, shown.find("\nOUT: 2.50 GB of the 3.00 GB limit"));
    EXPECT_EQ(shown.size() - strlen("\nOUT: 2.50 GB of the 3.00 GB limit"),
              shown.find("\nOUT: 2.50 GB of the 3.00 GB limit"));
}
