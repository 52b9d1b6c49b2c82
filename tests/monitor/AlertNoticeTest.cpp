// The alert notice beyond what the tray tests show: the sum limit, an alert rule switched off,
// and a long adapter description, which is cut rather than the limit.
#include <gtest/gtest.h>

#include <string>

#include "AlertNotice.h"

TEST(AlertNotice, SumLimitRuleOffAndLongDescription)
{
    SettingsRecord settings;
    settings.AlertType = AlertTotal;
    settings.LimitIN = settings.LimitOUT = GIGABYTE;
    settings.AlertPercent = 100;
    AlertNotice notice = {};
    ASSERT_EQ(1, DecideAlertNotice(0, 1, 1200000000ULL, 900000000ULL, settings, &notice));
    EXPECT_STREQ("IN+OUT", notice.LimitName);
    EXPECT_EQ(2100000000ULL, notice.Amount);
    EXPECT_EQ(2 * GIGABYTE, notice.Limit);
    EXPECT_EQ(0, DecideAlertNotice(1, 1, 1200000000ULL, 900000000ULL, settings, &notice));
    settings.AlertType = AlertNone;
    EXPECT_EQ(0, DecideAlertNotice(0, 1, 3 * GIGABYTE, 0, settings, &notice));

    char text[256];
    std::string description(300, 'd');
    int written = FormatAlertNotice(notice, "10.0.0.5", description.c_str(), text, sizeof(text));
    std::string shown = text;
    const std::string limit = "\nIN+OUT: 2.10 GB of the 2.00 GB limit";
    EXPECT_EQ(255, written);
    EXPECT_EQ(0u, shown.find("10.0.0.5 ddd"));
    EXPECT_EQ(shown.size() - limit.size(), shown.find(limit));
}
