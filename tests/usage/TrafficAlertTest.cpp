// The alert rule at the edges of 64-bit counts: shares and sums stop at the largest count
// instead of wrapping round to small ones that no total passes.
#include <gtest/gtest.h>

#include "AddHeld.h"
#include "AlertNotice.h"
#include "TrafficAlert.h"

namespace {

const unsigned __int64 Most = 0xFFFFFFFFFFFFFFFFULL;

TEST(TrafficAlert, LimitsNearTheTopNeitherFireEarlyNorNever)
{
    EXPECT_EQ(Most, AddHeld(Most - 5, 10));
    EXPECT_EQ(Most - 1, AddHeld(Most - 5, 4));
    EXPECT_EQ(16602069666338596453ULL, PercentOf(Most, 90));  // exact below 100 %
    EXPECT_EQ(Most, PercentOf(Most / 2, 255));
    EXPECT_EQ(99u, PercentOf(199, 50));  // rounded down

    SettingsRecord settings;
    settings.AlertPercent = 255;
    settings.LimitIN = MAX_LIMIT_GB * GIGABYTE;
    settings.LimitOUT = MAX_LIMIT_GB * GIGABYTE;
    // 255 % of the largest limit wrapped to a small threshold that a few bytes passed.
    settings.AlertType = AlertDistinct;
    EXPECT_EQ(AlertClear, DecideAlert(1000, 1000, settings));
    settings.AlertType = AlertTotal;
    EXPECT_EQ(AlertClear, DecideAlert(Most / 2, Most / 2 + 1, settings));

    // The sum of two large totals wrapped below a threshold it had passed.
    settings.AlertPercent = 100;
    settings.LimitIN = settings.LimitOUT = 4000000000ULL * GIGABYTE;
    EXPECT_EQ(AlertSumPassed, DecideAlert(Most - 10, 100, settings));
    AlertNotice notice = {};
    ASSERT_EQ(1, DecideAlertNotice(0, 1, Most - 10, 100, settings, &notice));
    EXPECT_STREQ("IN+OUT", notice.LimitName);
    EXPECT_EQ(Most, notice.Amount);
    EXPECT_EQ(8000000000ULL * GIGABYTE, notice.Limit);
    settings.LimitIN = settings.LimitOUT = MAX_LIMIT_GB * GIGABYTE;
    EXPECT_EQ(AlertClear, DecideAlert(Most - 10, 100, settings));
    ASSERT_EQ(0, DecideAlertNotice(0, 1, Most - 10, 100, settings, &notice));
}

}  // namespace
