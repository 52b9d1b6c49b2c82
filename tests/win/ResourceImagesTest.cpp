// The program's icons and tool bar strips load at every size drawn for them, in colour with
// alpha: clear corners and an opaque middle.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "IconPixels.h"
#include "OwnedHandle.h"
#include "resource.h"

namespace {

// The 32-bit pixels of a bitmap, top row first; none when they cannot be read.
std::vector<DWORD> Pixels(HBITMAP bitmap, int width, int height)
{
    std::vector<DWORD> pixels((size_t)width * height);
    if (!ReadBitmapPixels(bitmap, width, height, pixels.data()))
        pixels.clear();
    return pixels;
}

int Alpha(DWORD pixel) { return (int)(pixel >> 24); }

}  // namespace

TEST(ResourceImages, IconsAtEverySize)
{
    for (int id : {IDI_PROGRAM, IDI_ALERT, IDI_PROGRAM_DARK, IDI_ALERT_DARK}) {
        for (int size : {16, 20, 24, 32, 48, 256}) {
            SCOPED_TRACE("icon " + std::to_string(id) + " at " + std::to_string(size));
            OwnedIcon icon((HICON)LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id),
                                             IMAGE_ICON, size, size, 0));
            ASSERT_TRUE(icon.IsValid());
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
            OwnedBitmap colour(info.hbmColor);
            OwnedBitmap mask(info.hbmMask);
            BITMAP bitmap = {};
            ASSERT_TRUE(GetObjectA(colour.Get(), sizeof(bitmap), &bitmap));
            EXPECT_EQ(size, bitmap.bmWidth);
            EXPECT_EQ(size, bitmap.bmHeight);
            std::vector<DWORD> pixels = Pixels(colour.Get(), size, size);
            ASSERT_EQ((size_t)size * size, pixels.size());
            EXPECT_EQ(255, Alpha(pixels[(size / 2) * size + size / 2]));
            EXPECT_LT(Alpha(pixels[0]), 255);  // rounded corners
        }
    }
}

TEST(ResourceImages, ToolBarStripsAtEverySize)
{
    const int strips[][2] = {{IDB_TOOLBAR16, 16}, {IDB_TOOLBAR24, 24}, {IDB_TOOLBAR32, 32}};
    for (const auto& strip : strips) {
        const int size = strip[1];
        SCOPED_TRACE("tool bar at " + std::to_string(size));
        OwnedBitmap bitmap((HBITMAP)LoadImageA(GetModuleHandleA(NULL),
                                               MAKEINTRESOURCEA(strip[0]), IMAGE_BITMAP, 0, 0,
                                               LR_CREATEDIBSECTION));
        ASSERT_TRUE(bitmap.IsValid());
        BITMAP info = {};
        ASSERT_TRUE(GetObjectA(bitmap.Get(), sizeof(info), &info));
        EXPECT_EQ(3 * size, info.bmWidth);  // settings, about, history
        EXPECT_EQ(size, info.bmHeight);
        EXPECT_EQ(32, info.bmBitsPixel);
        std::vector<DWORD> pixels = Pixels(bitmap.Get(), 3 * size, size);
        ASSERT_EQ((size_t)3 * size * size, pixels.size());
        EXPECT_EQ(0, Alpha(pixels[0]));                                  // clear ground
        EXPECT_EQ(255, Alpha(pixels[(size / 2) * 3 * size + size + size / 2]));  // the "i"
    }
    // The 16-colour strip stays for the tool bar that maps it.
    OwnedBitmap legacy(LoadBitmapA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDB_TOOLBAR)));
    EXPECT_TRUE(legacy.IsValid());
}
