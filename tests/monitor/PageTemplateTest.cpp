// Dialog template 134, the adapter page, as the program carries it.
#include <gtest/gtest.h>
#include <windows.h>

#include "DialogTemplate.h"
#include "resource.h"

namespace {

struct Expected {
    int Id;
    const char* ClassName;
    const char* Text;
    short X, Y, Width, Height;
};

const DWORD ValueBox = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY;

}  // namespace

TEST(PageTemplate, FrameAndControlsInTemplateOrder)
{
    DialogTemplateInfo page = ReadDialogTemplate(IDD_PAGE);
    ASSERT_TRUE(page.Found);
    EXPECT_EQ(317, page.Width);
    EXPECT_EQ(157, page.Height);
    EXPECT_EQ("IP", page.Title);
    EXPECT_EQ("MS Shell Dlg", page.Font);
    EXPECT_EQ(8, page.PointSize);
    EXPECT_TRUE(page.Style & WS_CHILD);
    EXPECT_EQ((DWORD)WS_CAPTION, page.Style & WS_CAPTION);  // the poll cycle takes it off
    EXPECT_FALSE(page.Style & WS_VISIBLE);                   // pages start hidden

    const Expected controls[] = {
        {-1, "Static", "Adapter description", 5, 5, 70, 8},
        {IDC_PAGE_DESCR, "Edit", "", 5, 15, 310, 12},
        {-1, "Static", "MAC Address", 5, 39, 44, 8},
        {IDC_PAGE_MAC, "Edit", "", 55, 35, 85, 12},
        {-1, "Static", "Speed", 155, 39, 22, 8},
        {IDC_PAGE_SPEED, "Edit", "", 180, 35, 60, 12},
        {-1, "Button", "IN (download)", 5, 55, 235, 40},
        {-1, "Static", "Traffic / sec", 10, 65, 40, 8},
        {IDC_PAGE_CURRENT_IN, "Edit", "", 10, 75, 50, 12},
        {-1, "Static", "Peak / sec", 70, 65, 36, 8},
        {IDC_PAGE_PEAK_IN, "Edit", "", 65, 75, 50, 12},
        {-1, "Static", "Average / sec", 120, 65, 46, 8},
        {IDC_PAGE_AVERAGE_IN, "Edit", "", 120, 75, 50, 12},
        {-1, "Static", "TOTAL", 175, 65, 24, 8},
        {IDC_PAGE_TOTAL_IN, "Edit", "", 175, 75, 60, 12},
        {-1, "Button", "OUT (upload)", 5, 100, 235, 40},
        {-1, "Static", "Traffic / sec", 10, 110, 40, 8},
        {IDC_PAGE_CURRENT_OUT, "Edit", "", 10, 121, 50, 12},
        {-1, "Static", "Peak / sec", 70, 110, 36, 8},
        {IDC_PAGE_PEAK_OUT, "Edit", "", 65, 121, 50, 12},
        {-1, "Static", "Average / sec", 120, 110, 46, 8},
        {IDC_PAGE_AVERAGE_OUT, "Edit", "", 120, 121, 50, 12},
        {-1, "Static", "TOTAL", 175, 110, 24, 8},
        {IDC_PAGE_TOTAL_OUT, "Edit", "", 175, 121, 60, 12},
        {IDC_PAGE_STATUS, "Static", "Status", 5, 145, 215, 8},
        {-1, "Static", "Duration this session:", 245, 90, 72, 8},
        {IDC_PAGE_DURATION, "Edit", "", 245, 100, 55, 12},
        {-1, "Static", "TOTAL in+out", 245, 115, 46, 8},
        {IDC_PAGE_TOTAL_ALL, "Edit", "", 245, 125, 60, 12},
        {IDC_PAGE_ALERT, "Static", "", 230, 145, 85, 8},
        {-1, "Static", "Since:", 249, 30, 21, 8},
        {IDC_PAGE_SINCE, "Edit", "", 247, 40, 63, 34},
    };
    const size_t count = sizeof(controls) / sizeof(controls[0]);
    ASSERT_EQ(count, page.Items.size());
    for (size_t i = 0; i < count; i++) {
        const Expected& want = controls[i];
        const TemplateItem& item = page.Items[i];
        SCOPED_TRACE(std::string("control ") + std::to_string(i) + " " + want.Text);
        EXPECT_EQ((WORD)want.Id, item.Id);
        EXPECT_EQ(want.ClassName, item.ClassName);
        EXPECT_EQ(want.Text, item.Text);
        EXPECT_EQ(want.X, item.X);
        EXPECT_EQ(want.Y, item.Y);
        EXPECT_EQ(want.Width, item.Width);
        EXPECT_EQ(want.Height, item.Height);
        if (item.ClassName == "Edit" && item.Id != IDC_PAGE_SINCE) {
            EXPECT_EQ(ValueBox, item.Style);
        }
    }
    EXPECT_EQ((DWORD)(ValueBox & ~ES_AUTOHSCROLL) | ES_MULTILINE, page.Items[count - 1].Style);
    EXPECT_TRUE(page.Items[29].Style & SS_NOTIFY);  // the alert text
}
