// The file-open dialog's library comes in only when a browse button asks for it.
#include <gtest/gtest.h>
#include <windows.h>

#include "SettingsDialog.h"

TEST(OpenFileDialog, LoadedOnDemandAndCalled)
{
    // A request of size 0 is refused by the platform at once, without showing anything.
    OPENFILENAMEW request = {};
    request.lStructSize = 0;
    EXPECT_FALSE(ShowOpenFileDialog(&request));
    EXPECT_NE((HMODULE)NULL, GetModuleHandleA("comdlg32.dll"));
}
