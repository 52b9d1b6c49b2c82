// The early warning in the running main window: told once a period when the pace passes the
// limit, with the mark kept in the INI file; not while the alert is on; not once switched off
// from the tray menu. The forecast's tip line shows once the period has traffic.
#include <string.h>

#include <string>

#include "MainWindowTestSupport.h"

namespace {

const char WarningTitle[] = "Brisvane: limit ahead";
const DWORD MB = 1000000;

class ForecastWarningTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        std::string ini = folder.Path("Brisvane.INI");
        WritePrivateProfileStringA("Settings", "AlertType", "0", ini.c_str());
        WritePrivateProfileStringA("Settings", "LimitIN", "1", ini.c_str());
        // 100 MB on the period's first day: the pace runs from there.
        ASSERT_TRUE(WriteFileText(folder.Path("Brisvane-history.csv"),
                                  "Date,MAC,Description,Bytes in,Bytes out\r\n"
                                  "2026-12-01,00-1A-2B-3C-4D-01,\"A\",100000000,0\r\n"));
        fake.SetTime(2026, 12, 10, 12, 0, 0);
        fake.AddAdapter(2, 0x01, "192.168.1.10");
    }
    // A minute with that traffic, then a cycle: the forecast is due again.
    void Minute(DWORD in)
    {
        fake.AdvanceSeconds(60);
        fake.Row(2)->dwInOctets += in;
        Tick();
    }
    int Warnings()
    {
        int count = 0;
        for (const TrayCall& call : fake.TrayCalls)
            count += (call.Record.uFlags & NIF_INFO) != 0 &&
                     strcmp(call.Record.szInfoTitle, WarningTitle) == 0;
        return count;
    }
    std::string IniKey(const char* section, const char* key)
    {
        char text[64] = "";
        GetPrivateProfileStringA(section, key, "", text, sizeof(text),
                                 folder.Path("Brisvane.INI").c_str());
        return text;
    }
};

}  // namespace

TEST_F(ForecastWarningTest, ToldOnceAPeriodAndMarkedAtOnce)
{
    ASSERT_NE((HWND)NULL, Create());
    Minute(100 * MB);  // 200 MB in 9.5 days: some 650 MB by the end
    EXPECT_EQ(0, Warnings());
    Minute(200 * MB);  // 400 MB: past 1 GB by the end
    ASSERT_EQ(1, Warnings());
    const TrayCall* balloon = LastTrayCall(NIM_MODIFY, NIF_INFO);
    ASSERT_NE((const TrayCall*)NULL, balloon);
    std::string text = balloon->Record.szInfo;
    EXPECT_EQ(0u, text.find("192.168.1.10 ")) << text;
    EXPECT_NE(std::string::npos, text.find("\nAt this pace IN will reach 1.3")) << text;
    EXPECT_NE(std::string::npos, text.find(" of 1000 MB by 31 Dec")) << text;
    EXPECT_EQ("2026-12-01", IniKey("Forecast", "Warned"));  // kept before the next save
    EXPECT_EQ("1", IniKey("Forecast", "Warn"));
    EXPECT_EQ(0, Tabs().MonitorAt(0)->AlertOn);
    for (int minute = 0; minute < 3; minute++)
        Minute(50 * MB);
    EXPECT_EQ(1, Warnings());

    // The tip, once seen, carries the period's line under the totals.
    TrayEvent(WM_MOUSEMOVE);
    Tick();
    const TrayCall* tip = LastTrayCall(NIM_MODIFY, NIF_TIP);
    ASSERT_NE((const TrayCall*)NULL, tip);
    EXPECT_NE(std::string::npos, std::string(tip->Record.szTip).find("\nPeriod 550 MB, "))
        << tip->Record.szTip;
    EXPECT_LT(strlen(tip->Record.szTip), sizeof(tip->Record.szTip));
}

TEST_F(ForecastWarningTest, NotWhileTheAlertIsOnNorOnceSwitchedOff)
{
    ASSERT_NE((HWND)NULL, Create());
    SendMessageA(main.Window, WM_COMMAND, ID_TRAY_FORECASTWARN, 0);
    EXPECT_EQ("0", IniKey("Forecast", "Warn"));  // saved at once
    Minute(400 * MB);
    Minute(10 * MB);
    EXPECT_EQ(0, Warnings());
    EXPECT_EQ("", IniKey("Forecast", "Warned"));

    // Switched on again while the alert itself is on: the alert has said it all.
    SendMessageA(main.Window, WM_COMMAND, ID_TRAY_FORECASTWARN, 0);
    EXPECT_EQ("1", IniKey("Forecast", "Warn"));
    Minute(700 * MB);
    ASSERT_EQ(1, Tabs().MonitorAt(0)->AlertOn);
    Minute(10 * MB);
    EXPECT_EQ(0, Warnings());
}

TEST_F(ForecastWarningTest, EachAdapterOnceThoughTheirPeriodsStartOnDifferentDays)
{
    std::string ini = folder.Path("Brisvane.INI");
    WritePrivateProfileStringA("Settings", "ResetType", "3", ini.c_str());
    WritePrivateProfileStringA("Settings", "ResetDate", "2026-12-20 00:00:00", ini.c_str());
    WritePrivateProfileStringA("00-1A-2B-3C-4D-01", "StartDay", "2026-12-01 00:00:00",
                               ini.c_str());
    WritePrivateProfileStringA("00-1A-2B-3C-4D-02", "StartDay", "2026-12-03 00:00:00",
                               ini.c_str());
    // 600 MB each: past 1 GB by the 19th at either pace.
    ASSERT_TRUE(WriteFileText(folder.Path("Brisvane-history.csv"),
                              "Date,MAC,Description,Bytes in,Bytes out\r\n"
                              "2026-12-03,00-1A-2B-3C-4D-01,\"A\",600000000,0\r\n"
                              "2026-12-03,00-1A-2B-3C-4D-02,\"B\",600000000,0\r\n"));
    fake.AddAdapter(3, 0x02, "10.0.0.5");
    ASSERT_NE((HWND)NULL, Create());
    for (int minute = 0; minute < 4; minute++)
        Minute(0);
    EXPECT_EQ(2, Warnings());
    EXPECT_EQ("2026-12-01", IniKey("Forecast", "Warned 00-1A-2B-3C-4D-01"));
    EXPECT_EQ("2026-12-03", IniKey("Forecast", "Warned 00-1A-2B-3C-4D-02"));
}
