#include "Dpi.h"

#include <wchar.h>

#include "BoundedText.h"
#include "OwnedHandle.h"

// The awareness contexts of SetProcessDpiAwarenessContext, which Windows 7's headers lack.
static const HANDLE PerMonitorAwareContext = (HANDLE)(LONG_PTR)-3;
static const HANDLE PerMonitorAwareV2Context = (HANDLE)(LONG_PTR)-4;
// GetDpiForMonitor's MDT_EFFECTIVE_DPI: the DPI that windows on the monitor are drawn for.
static const int EffectiveDpi = 0;

int ScaleForDpi(int value, UINT dpi)
{
    return MulDiv(value, dpi != 0 ? (int)dpi : (int)BaseDpi, (int)BaseDpi);
}

int UnscaleForDpi(int value, UINT dpi)
{
    return MulDiv(value, (int)BaseDpi, dpi != 0 ? (int)dpi : (int)BaseDpi);
}

template <typename Function> static Function LookUp(HMODULE module, const char* name)
{
    return module != NULL ? (Function)(void*)GetProcAddress(module, name) : NULL;
}

DpiFunctions LookUpDpiFunctions(HMODULE user32, HMODULE shcore)
{
    DpiFunctions functions;
    functions.GetDpiForWindow = LookUp<DpiForWindowFunction>(user32, "GetDpiForWindow");
    functions.GetDpiForSystem = LookUp<DpiForSystemFunction>(user32, "GetDpiForSystem");
    functions.SetProcessDpiAwarenessContext =
        LookUp<SetAwarenessContextFunction>(user32, "SetProcessDpiAwarenessContext");
    functions.SetProcessDpiAware = LookUp<SetDpiAwareFunction>(user32, "SetProcessDpiAware");
    functions.AdjustWindowRectExForDpi =
        LookUp<AdjustRectForDpiFunction>(user32, "AdjustWindowRectExForDpi");
    functions.GetSystemMetricsForDpi =
        LookUp<MetricsForDpiFunction>(user32, "GetSystemMetricsForDpi");
    functions.GetDpiForMonitor = LookUp<DpiForMonitorFunction>(shcore, "GetDpiForMonitor");
    return functions;
}

// shcore.dll by its full path: on Windows 7 there is none, and a file of that name beside the
// program must not be taken for it.
static HMODULE LoadShcore()
{
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return NULL;
    static const wchar_t Name[] = L"\\shcore.dll";
    if (length + sizeof(Name) / sizeof(Name[0]) > MAX_PATH)
        return NULL;
    wmemcpy(path + length, Name, sizeof(Name) / sizeof(Name[0]));
    return LoadLibraryW(path);  // kept for the life of the process
}

const DpiFunctions& SystemDpiFunctions()
{
    static const DpiFunctions functions =
        LookUpDpiFunctions(GetModuleHandleA("user32.dll"), LoadShcore());
    return functions;
}

UINT DpiForSystem(const DpiFunctions& functions)
{
    if (functions.GetDpiForSystem != NULL)
        return functions.GetDpiForSystem();
    WindowDc screen(NULL);
    int dpi = screen.Get() != NULL ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? (UINT)dpi : BaseDpi;
}

UINT DpiForWindow(const DpiFunctions& functions, HWND window)
{
    if (functions.GetDpiForWindow != NULL) {
        UINT dpi = functions.GetDpiForWindow(window);
        if (dpi != 0)  // 0 for a handle that is not a window
            return dpi;
    }
    return DpiForSystem(functions);
}

UINT DpiForMonitor(const DpiFunctions& functions, HMONITOR monitor)
{
    UINT x = 0;
    UINT y = 0;
    if (functions.GetDpiForMonitor != NULL &&
        SUCCEEDED(functions.GetDpiForMonitor(monitor, EffectiveDpi, &x, &y)) && y != 0)
        return y;
    return DpiForSystem(functions);
}

DpiAwareness BecomeDpiAware(const DpiFunctions& functions)
{
    if (functions.SetProcessDpiAwarenessContext != NULL) {
        if (functions.SetProcessDpiAwarenessContext(PerMonitorAwareV2Context))
            return DpiAwarenessPerMonitorV2;
        if (functions.SetProcessDpiAwarenessContext(PerMonitorAwareContext))
            return DpiAwarenessPerMonitor;
    }
    if (functions.SetProcessDpiAware != NULL && functions.SetProcessDpiAware())
        return DpiAwarenessSystem;
    return DpiAwarenessUnchanged;
}

BOOL AdjustWindowRectForDpi(const DpiFunctions& functions, RECT* rect, DWORD style, BOOL menu,
                            DWORD exStyle, UINT dpi)
{
    if (functions.AdjustWindowRectExForDpi != NULL)
        return functions.AdjustWindowRectExForDpi(rect, style, menu, exStyle, dpi);
    return AdjustWindowRectEx(rect, style, menu, exStyle);
}

int SystemMetricForDpi(const DpiFunctions& functions, int index, UINT dpi)
{
    if (functions.GetSystemMetricsForDpi != NULL)
        return functions.GetSystemMetricsForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), dpi != 0 ? (int)dpi : (int)BaseDpi,
                  (int)DpiForSystem(functions));
}
