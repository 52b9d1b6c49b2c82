// Sizes for the DPI of a window's monitor. Designs and saved places are in 96-DPI units (100 %
// scaling). The per-monitor DPI functions of Windows 10 are looked up at run time; each call
// below falls back to the Windows 7 one, which knows the one system DPI only.
#ifndef BRISVANE_DPI_H
#define BRISVANE_DPI_H

#include <windows.h>

// The DPI at 100 % scaling, the unit of designs and saved places.
const UINT BaseDpi = 96;

// value, in 96-DPI units, in pixels at dpi, rounded to the nearest; a dpi of 0 counts as 96.
int ScaleForDpi(int value, UINT dpi);
// The other way: pixels at dpi in 96-DPI units.
int UnscaleForDpi(int value, UINT dpi);

typedef UINT(WINAPI* DpiForWindowFunction)(HWND);
typedef UINT(WINAPI* DpiForSystemFunction)(void);
typedef BOOL(WINAPI* SetAwarenessContextFunction)(HANDLE);
typedef BOOL(WINAPI* SetDpiAwareFunction)(void);
typedef BOOL(WINAPI* AdjustRectForDpiFunction)(LPRECT, DWORD, BOOL, DWORD, UINT);
typedef int(WINAPI* MetricsForDpiFunction)(int, UINT);
typedef HRESULT(WINAPI* DpiForMonitorFunction)(HMONITOR, int, UINT*, UINT*);

// The functions that older Windows lack; a member is null where this one has no such function.
struct DpiFunctions {
    DpiForWindowFunction GetDpiForWindow;                       // user32, Windows 10 1607
    DpiForSystemFunction GetDpiForSystem;                       // user32, Windows 10 1607
    SetAwarenessContextFunction SetProcessDpiAwarenessContext;  // user32, Windows 10 1703
    SetDpiAwareFunction SetProcessDpiAware;                     // user32, Vista
    AdjustRectForDpiFunction AdjustWindowRectExForDpi;          // user32, Windows 10 1607
    MetricsForDpiFunction GetSystemMetricsForDpi;               // user32, Windows 10 1607
    DpiForMonitorFunction GetDpiForMonitor;                     // shcore, Windows 8.1
};

// Looks the functions up in the given modules (user32 and shcore, for tests any module or
// none); members are null where missing.
DpiFunctions LookUpDpiFunctions(HMODULE user32, HMODULE shcore);
// This system's functions, looked up once. shcore.dll is loaded from the system folder only.
const DpiFunctions& SystemDpiFunctions();

// What BecomeDpiAware managed to set.
enum DpiAwareness {
    DpiAwarenessUnchanged,     // nothing could be set: the manifest's awareness stands
    DpiAwarenessSystem,        // SetProcessDpiAware: the system DPI (Windows 7 to 10 1607)
    DpiAwarenessPerMonitor,    // per-monitor, first version (Windows 10 1607)
    DpiAwarenessPerMonitorV2,  // per-monitor, second version (Windows 10 1703)
};

// The DPI of the primary monitor: GetDpiForSystem, else the screen's LOGPIXELSY.
UINT DpiForSystem(const DpiFunctions& functions);
// The DPI a window is drawn for: GetDpiForWindow, else the system DPI.
UINT DpiForWindow(const DpiFunctions& functions, HWND window);
// The DPI of a monitor: GetDpiForMonitor (effective DPI), else the system DPI.
UINT DpiForMonitor(const DpiFunctions& functions, HMONITOR monitor);
// Per-monitor awareness, second version, else the first, else system awareness. For a start
// without the manifest's declaration; once the manifest has set one, nothing changes.
DpiAwareness BecomeDpiAware(const DpiFunctions& functions);
// AdjustWindowRectExForDpi, else AdjustWindowRectEx (frames of the system DPI).
BOOL AdjustWindowRectForDpi(const DpiFunctions& functions, RECT* rect, DWORD style, BOOL menu,
                            DWORD exStyle, UINT dpi);
// GetSystemMetricsForDpi, else GetSystemMetrics scaled from the system DPI to dpi.
int SystemMetricForDpi(const DpiFunctions& functions, int index, UINT dpi);

#endif
