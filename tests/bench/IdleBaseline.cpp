// The idle baseline: an empty window whose one-second timer reads the interface table and the
// address table once each, what any traffic meter must do at the least. Built a second time
// with BRISVANE_SCRIPTED_TABLES, it reads the scripted tables of the scripted program instead,
// through the same platform seam, as the floor of the busy-in-the-tray measurement.
#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>

#include <stdlib.h>

#ifdef BRISVANE_SCRIPTED_TABLES
#include "AdapterTables.h"
#define GetIfTable AdapterTables.ReadIfTable
#define GetIpAddrTable AdapterTables.ReadIpAddrTable
#endif

static BYTE* IfBuffer;
static ULONG IfSize = 864;
static BYTE* AddressBuffer;
static ULONG AddressSize = 28;

static void ReadTables()
{
    ULONG size = IfSize;
    if (GetIfTable((PMIB_IFTABLE)IfBuffer, &size, FALSE) == ERROR_INSUFFICIENT_BUFFER) {
        IfBuffer = (BYTE*)realloc(IfBuffer, size);
        IfSize = size;
        GetIfTable((PMIB_IFTABLE)IfBuffer, &size, FALSE);
    }
    size = AddressSize;
    if (GetIpAddrTable((PMIB_IPADDRTABLE)AddressBuffer, &size, FALSE) ==
        ERROR_INSUFFICIENT_BUFFER) {
        AddressBuffer = (BYTE*)realloc(AddressBuffer, size);
        AddressSize = size;
        GetIpAddrTable((PMIB_IPADDRTABLE)AddressBuffer, &size, FALSE);
    }
}

static LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        ReadTables();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    IfBuffer = (BYTE*)malloc(IfSize);
    AddressBuffer = (BYTE*)malloc(AddressSize);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BaselineProc;
    wc.hInstance = instance;
    wc.lpszClassName = "BrisvaneIdleBaseline";  // scripts/bench.sh closes it by this name
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Baseline", WS_OVERLAPPEDWINDOW, 0, 0,
                                  200, 100, NULL, NULL, instance, NULL);
    SetTimer(window, 1, 1000, NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
