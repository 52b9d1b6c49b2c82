// The keeper of the forecasts, which reads the history file once a day, not once a cycle.
#include <gtest/gtest.h>

#include <string>

#include "CalendarDays.h"
#include "ForecastKeeper.h"
#include "HistoryTable.h"
#include "TestSupport.h"
#include "UsageHistory.h"

namespace {

const unsigned long long GB = 1000000000ULL;
const int Day = SECONDS_PER_DAY;

int Dec(int day)
{
    return DayNumber(2026, 12, day);
}

}  // namespace

TEST(ForecastKeeperTest, ReadsTheHistoryFileOnceADayAndWorksOnceAMinute)
{
    TempFolder folder;
    std::string path = folder.Path("Brisvane-history.csv");
    HistoryTable table;
    ASSERT_TRUE(table.Append(Dec(1), "00-AA", "A", 4 * GB, 0));
    table.Normalize(MergeAdd);
    DWORD error = 0;
    ASSERT_TRUE(table.WriteFile(path.c_str(), &error));
    UsageHistory running;
    ASSERT_TRUE(running.Add(Dec(10), "00-AA", "A", 1 * GB, 0));

    ForecastKeeper keeper;
    const PeriodSpan december = {Dec(1), Dec(31)};
    EXPECT_EQ(1, keeper.Due(5000, Dec(10), 0));
    keeper.BeginRound(5000, Dec(10), 0);
    const PeriodForecast* forecast = keeper.Update("00-AA", december, running, path.c_str(), Day);
    ASSERT_NE((const PeriodForecast*)NULL, forecast);
    EXPECT_EQ(5 * GB, forecast->SoFarIn);
    EXPECT_EQ(15500000000ULL, forecast->AtEndIn);  // 5 GB in ten days, 21 more days
    keeper.EndRound();
    EXPECT_EQ(0, keeper.Due(5000 + FORECAST_EVERY_MS - 1, Dec(10), 0));
    EXPECT_EQ(1, keeper.Due(5000 + FORECAST_EVERY_MS, Dec(10), 0));
    EXPECT_EQ(1, keeper.Due(5001, Dec(11), 0));
    EXPECT_EQ(1, keeper.Due(5001, Dec(10), 1));

    // Within the day the file's days are kept: only the running figures are looked at again.
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_TRUE(running.Add(Dec(10), "00-AA", "A", 1 * GB, 0));
    keeper.BeginRound(5000 + FORECAST_EVERY_MS, Dec(10), 0);
    forecast = keeper.Update("00-AA", december, running, path.c_str(), Day);
    ASSERT_NE((const PeriodForecast*)NULL, forecast);
    EXPECT_EQ(6 * GB, forecast->SoFarIn);
    keeper.EndRound();
    EXPECT_EQ(forecast, keeper.LatestOf("00-AA"));
    EXPECT_EQ((const PeriodForecast*)NULL, keeper.LatestOf("00-BB"));
    // Days moved into the file: read again (now gone).
    keeper.BeginRound(5000 + 2 * FORECAST_EVERY_MS, Dec(10), 1);
    forecast = keeper.Update("00-AA", december, running, path.c_str(), Day);
    ASSERT_NE((const PeriodForecast*)NULL, forecast);
    EXPECT_EQ(2 * GB, forecast->SoFarIn);
    keeper.EndRound();
}
