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

// A text of this program's version resource, read as Windows reads it.
std::string VersionText(const char* name)
{
    HRSRC found = FindResourceA(NULL, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    if (found == NULL)
        return "(no version resource)";
    const BYTE* data = (const BYTE*)LockResource(LoadResource(NULL, found));
    // VerQueryValue may write into the block: it works on a copy.
    std::vector<BYTE> block(data, data + SizeofResource(NULL, found));
    block.resize(block.size() * 2);
    char* value = NULL;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), (void**)&value, &length) || length == 0)
        return "(no " + std::string(name) + ")";
    return value;
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

// The owner notice is the copyright of the version resource (and of LICENSE), on two lines.
TEST(AboutTemplate, NoticeAgreesWithVersionResource)
{
    DialogTemplateInfo dialog = ReadDialogTemplate(IDD_ABOUT);
    ASSERT_TRUE(dialog.Found);
    ASSERT_EQ(7u, dialog.Items.size());
    std::string notice = dialog.Items[2].Text;
    size_t lineBreak = notice.find('\n');
    ASSERT_NE(std::string::npos, lineBreak);
    notice[lineBreak] = ' ';
    EXPECT_EQ("Copyright (C) 2026 the Brisvane developers", notice);
    EXPECT_EQ(notice, VersionText("LegalCopyright"));
}
