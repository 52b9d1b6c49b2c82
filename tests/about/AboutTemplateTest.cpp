// Dialog template 103 as the program carries it: the frame, then the seven controls in tab
// order with their ids, classes, styles, rectangles and texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "resource.h"

namespace {

// Class names as the resource compiler may write them: by name or by the predefined ordinal.
bool IsClass(const std::string& written, const char* name, int ordinal)
{
    return _stricmp(written.c_str(), name) == 0 || written == "#" + std::to_string(ordinal);
}

void ExpectItem(const TemplateItem& item, WORD id, const char* className, int classOrdinal, DWORD style,
                short x, short y, short width, short height, const std::string& text)
{
    SCOPED_TRACE("control " + std::to_string(id));
    EXPECT_EQ(id, item.Id);
    EXPECT_TRUE(IsClass(item.ClassName, className, classOrdinal)) << item.ClassName;
    EXPECT_EQ(style, item.Style);
    EXPECT_EQ(0u, item.ExStyle);
    EXPECT_EQ(x, item.X);
    EXPECT_EQ(y, item.Y);
    EXPECT_EQ(width, item.Width);
    EXPECT_EQ(height, item.Height);
    EXPECT_EQ(text, item.Text);
}

}  // namespace

TEST(AboutTemplate, FrameAsDrawn)
{
    DialogTemplateInfo dialog = ReadDialogTemplate(IDD_ABOUT);
    ASSERT_TRUE(dialog.Found);
    EXPECT_EQ(0x00C800C0u, dialog.Style);
    EXPECT_EQ((DWORD)(WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), dialog.Style);
    EXPECT_EQ(0u, dialog.ExStyle);
    EXPECT_EQ(22, dialog.X);
    EXPECT_EQ(17, dialog.Y);
    EXPECT_EQ(230, dialog.Width);
    EXPECT_EQ(90, dialog.Height);
    EXPECT_EQ("", dialog.Menu);
    EXPECT_EQ("", dialog.ClassName);
    EXPECT_EQ("About", dialog.Title);
    EXPECT_EQ(8, dialog.PointSize);
    EXPECT_EQ("System", dialog.Font);
}

TEST(AboutTemplate, SevenControlsInTabOrder)
{
    DialogTemplateInfo dialog = ReadDialogTemplate(IDD_ABOUT);
    ASSERT_TRUE(dialog.Found);
    ASSERT_EQ(7u, dialog.Items.size());
    const WORD noId = 0xFFFF;
    ExpectItem(dialog.Items[0], IDC_ABOUT_ICON, "Static", 0x82, 0x50000003, 14, 9, 20, 20,
               "#" + std::to_string(IDI_PROGRAM));
    ExpectItem(dialog.Items[1], IDC_ABOUT_VERSION, "Static", 0x82, 0x50020080, 49, 10, 119, 8, "");
    EXPECT_EQ(noId, dialog.Items[2].Id);
    EXPECT_TRUE(IsClass(dialog.Items[2].ClassName, "Static", 0x82));
    EXPECT_EQ(0x50020000u, dialog.Items[2].Style);
    EXPECT_EQ(49, dialog.Items[2].X);
    EXPECT_EQ(20, dialog.Items[2].Y);
    EXPECT_EQ(119, dialog.Items[2].Width);
    EXPECT_EQ(20, dialog.Items[2].Height);
    // The owner notice: two lines.
    size_t lineBreak = dialog.Items[2].Text.find('\n');
    ASSERT_NE(std::string::npos, lineBreak);
    EXPECT_GT(lineBreak, 0u);
    EXPECT_EQ(std::string::npos, dialog.Items[2].Text.find('\n', lineBreak + 1));
    EXPECT_LT(lineBreak + 1, dialog.Items[2].Text.size());
    ExpectItem(dialog.Items[3], IDOK, "Button", 0x80, 0x50030001, 195, 6, 30, 11, "OK");
    EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON),
              dialog.Items[3].Style);
    ExpectItem(dialog.Items[4], IDC_ABOUT_MAIL, "Static", 0x82, 0x50020100, 50, 45, 95, 8, "");
    EXPECT_TRUE(dialog.Items[4].Style & SS_NOTIFY);
    ExpectItem(dialog.Items[5], noId, "Static", 0x82, 0x50020000, 19, 64, 170, 8,
               "Donations accepted. See Web site for details:");
    ExpectItem(dialog.Items[6], IDC_ABOUT_WEB, "Static", 0x82, 0x50020100, 18, 74, 193, 8, "");
    EXPECT_TRUE(dialog.Items[6].Style & SS_NOTIFY);
}
