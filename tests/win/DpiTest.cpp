// DPI scaling, and each DPI call both through the newer function and through its Windows 7
// fallback (a record without the newer functions).
#include <gtest/gtest.h>
#include <windows.h>

#include "Dpi.h"

namespace {

HWND SeenWindow;
UINT WINAPI FakeDpiForWindow(HWND window)
{
    SeenWindow = window;
    return 144;
}

int AwarenessCalls;
HANDLE AcceptedContext;
BOOL WINAPI FakeSetContext(HANDLE context)
{
    AwarenessCalls++;
    return context == AcceptedContext;
}
BOOL WINAPI FakeSetDpiAware() { return TRUE; }

UINT SeenMetricDpi;
int WINAPI FakeMetrics(int index, UINT dpi)
{
    SeenMetricDpi = dpi;
    return index * 1000;
}

const DpiFunctions NoNewerFunctions = {};

}  // namespace

TEST(Dpi, ScalesRoundingToTheNearest)
{
    EXPECT_EQ(10, ScaleForDpi(10, 96));
    EXPECT_EQ(15, ScaleForDpi(10, 144));
    EXPECT_EQ(17, ScaleForDpi(11, 144));   // 16.5
    EXPECT_EQ(-17, ScaleForDpi(-11, 144));
    EXPECT_EQ(20, ScaleForDpi(10, 192));
    EXPECT_EQ(10, ScaleForDpi(10, 0));     // no DPI known: 100 %
    EXPECT_EQ(10, UnscaleForDpi(15, 144));
    EXPECT_EQ(401, UnscaleForDpi(601, 144));
    EXPECT_EQ(10, UnscaleForDpi(10, 0));
}

TEST(Dpi, LookUpFindsOnlyWhatAModuleHas)
{
    DpiFunctions none = LookUpDpiFunctions(GetModuleHandleA("kernel32.dll"), NULL);
    EXPECT_TRUE(none.GetDpiForWindow == NULL && none.GetDpiForSystem == NULL &&
                none.SetProcessDpiAwarenessContext == NULL && none.SetProcessDpiAware == NULL &&
                none.AdjustWindowRectExForDpi == NULL && none.GetSystemMetricsForDpi == NULL &&
                none.GetDpiForMonitor == NULL);
    // This system's functions, whichever it has, agree with the fallbacks on one screen.
    EXPECT_EQ(&SystemDpiFunctions(), &SystemDpiFunctions());
    EXPECT_EQ(DpiForSystem(NoNewerFunctions), DpiForSystem(SystemDpiFunctions()));
    EXPECT_EQ(DpiForSystem(NoNewerFunctions),
              DpiForMonitor(SystemDpiFunctions(), MonitorFromPoint({0, 0}, 1)));
}

TEST(Dpi, NewerFunctionsAreUsedWhenPresent)
{
    DpiFunctions functions = {};
    functions.GetDpiForWindow = FakeDpiForWindow;
    functions.GetSystemMetricsForDpi = FakeMetrics;
    functions.SetProcessDpiAwarenessContext = FakeSetContext;
    functions.SetProcessDpiAware = FakeSetDpiAware;
    HWND window = GetDesktopWindow();
    EXPECT_EQ(144u, DpiForWindow(functions, window));
    EXPECT_EQ(window, SeenWindow);
    EXPECT_EQ(SM_CYCAPTION * 1000, SystemMetricForDpi(functions, SM_CYCAPTION, 120));
    EXPECT_EQ(120u, SeenMetricDpi);

    // Per-monitor v2 first, then v1, then the system DPI.
    AwarenessCalls = 0;
    AcceptedContext = (HANDLE)(LONG_PTR)-4;
    EXPECT_EQ(DpiAwarenessPerMonitorV2, BecomeDpiAware(functions));
    EXPECT_EQ(1, AwarenessCalls);
    AcceptedContext = (HANDLE)(LONG_PTR)-3;
    EXPECT_EQ(DpiAwarenessPerMonitor, BecomeDpiAware(functions));
    AcceptedContext = NULL;
    EXPECT_EQ(DpiAwarenessSystem, BecomeDpiAware(functions));
    functions.SetProcessDpiAware = NULL;
    EXPECT_EQ(DpiAwarenessUnchanged, BecomeDpiAware(functions));
}

TEST(Dpi, WindowsSevenCallsStandIn)
{
    HDC screen = GetDC(NULL);
    UINT system = (UINT)GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    EXPECT_EQ(system, DpiForSystem(NoNewerFunctions));
    EXPECT_EQ(system, DpiForWindow(NoNewerFunctions, GetDesktopWindow()));
    EXPECT_EQ(system, DpiForMonitor(NoNewerFunctions, MonitorFromPoint({0, 0}, 1)));
    EXPECT_EQ(DpiAwarenessUnchanged, BecomeDpiAware(NoNewerFunctions));

    // Metrics of the system DPI, scaled to the one asked for.
    int caption = GetSystemMetrics(SM_CYCAPTION);
    EXPECT_EQ(caption, SystemMetricForDpi(NoNewerFunctions, SM_CYCAPTION, system));
    EXPECT_EQ(caption * 2, SystemMetricForDpi(NoNewerFunctions, SM_CYCAPTION, system * 2));

    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT expected = {0, 0, 300, 200};
    AdjustWindowRectEx(&expected, style, FALSE, WS_EX_APPWINDOW);
    RECT adjusted = {0, 0, 300, 200};
    ASSERT_TRUE(AdjustWindowRectForDpi(NoNewerFunctions, &adjusted, style, FALSE,
                                       WS_EX_APPWINDOW, system));
    EXPECT_TRUE(EqualRect(&expected, &adjusted));
}
