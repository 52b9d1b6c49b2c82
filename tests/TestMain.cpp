// Entry of every test program: the windowing module and common controls as the program has them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "WindowModule.h"

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                           ICC_UPDOWN_CLASS | ICC_DATE_CLASSES |
                                                           ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    AtlModuleInit(GetModuleHandleA(NULL));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
