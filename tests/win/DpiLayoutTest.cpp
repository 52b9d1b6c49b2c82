// What a window draws with at a DPI: the tool bar's image size, the dialog font's units, icons
// at a metric's size, children moved from one font's units to another's, and the normal place
// of a minimised window.
#include <gtest/gtest.h>
#include <windows.h>

#include "DpiLayout.h"
#include "OwnedHandle.h"
#include "resource.h"

namespace {

int WINAPI DoubledMetrics(int index, UINT dpi)
{
    return GetSystemMetrics(index) * (int)dpi / (int)BaseDpi;
}

}  // namespace

TEST(DpiLayout, ToolBarImagesAreTheStripNearestToTheScale)
{
    EXPECT_EQ(16, ToolBarImageSizeFor(96));
    EXPECT_EQ(16, ToolBarImageSizeFor(0));
    EXPECT_EQ(16, ToolBarImageSizeFor(120));  // 20 pixels: as near to 16 as to 24, the smaller
    EXPECT_EQ(24, ToolBarImageSizeFor(144));
    EXPECT_EQ(24, ToolBarImageSizeFor(168));  // 28: between, the smaller
    EXPECT_EQ(32, ToolBarImageSizeFor(192));
    EXPECT_EQ(32, ToolBarImageSizeFor(480));
}

TEST(DpiLayout, DialogFontAndItsUnitsGrowWithTheDpiAndIconsTakeTheMetricsSize)
{
    OwnedFont normal(CreateDialogFont(96));
    OwnedFont larger(CreateDialogFont(144));
    ASSERT_TRUE(normal);
    ASSERT_TRUE(larger);
    SIZE units = DialogBaseUnitsOf(normal.Get());
    SIZE grown = DialogBaseUnitsOf(larger.Get());
    EXPECT_GT(units.cx, 3);
    EXPECT_GT(units.cy, 10);
    EXPECT_GE(grown.cx * 4, units.cx * 5);  // at least a quarter more, though not exactly half
    EXPECT_GE(grown.cy * 4, units.cy * 5);
    EXPECT_EQ(0, DialogBaseUnitsOf(NULL).cx);
    // Four horizontal units make one base unit, eight vertical ones.
    EXPECT_EQ(units.cx * 2, DialogUnitsToPixelsX(8, units));
    EXPECT_EQ(units.cy * 2, DialogUnitsToPixelsY(16, units));

    DpiFunctions functions = {};
    functions.GetSystemMetricsForDpi = DoubledMetrics;
    OwnedIcon icon(LoadIconForDpi(functions, GetModuleHandleA(NULL), IDI_PROGRAM, SM_CXSMICON,
                                  192));
    ASSERT_TRUE(icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof(colour), &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON) * 2, colour.bmWidth);
}

TEST(DpiLayout, ChildrenMoveByTheUnitsAndANormalPlaceOutlivesMinimising)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 100, 80, 400, 300, NULL,
                                  NULL, NULL, NULL);
    ASSERT_NE((HWND)NULL, parent);
    HWND child = CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 10, 20, 40, 16, parent,
                                 NULL, NULL, NULL);
    OwnedFont font(CreateDialogFont(144));
    SIZE from = {6, 13}, to = {9, 26};
    ScaleChildren(parent, from, to, font.Get());
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(NULL, parent, (POINT*)&r, 2);
    EXPECT_EQ(15, r.left);
    EXPECT_EQ(40, r.top);
    EXPECT_EQ(60, r.right - r.left);
    EXPECT_EQ(32, r.bottom - r.top);
    EXPECT_EQ((LRESULT)font.Get(), SendMessageA(child, WM_GETFONT, 0, 0));
    SIZE none = {0, 0};
    ScaleChildren(parent, none, to, NULL);  // no units: nothing moves
    GetWindowRect(child, &r);
    MapWindowPoints(NULL, parent, (POINT*)&r, 2);
    EXPECT_EQ(15, r.left);

    ShowWindow(parent, SW_SHOWNORMAL);
    RECT normal, kept;
    ASSERT_TRUE(NormalWindowRect(parent, &normal));
    ShowWindow(parent, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(parent));
    ASSERT_TRUE(NormalWindowRect(parent, &kept));
    EXPECT_EQ(normal.left, kept.left);
    EXPECT_EQ(normal.top, kept.top);
    EXPECT_EQ(normal.right, kept.right);
    EXPECT_EQ(normal.bottom, kept.bottom);
    DestroyWindow(parent);
}
