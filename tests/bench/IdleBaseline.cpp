// The idle baseline: an empty window whose one-second timer reads the interface table and the
// address table once each, what any traffic meter must do at the least: the 64-bit interface
// table where the system has one, as the program reads it, else the 32-bit one. Built a second time
// with BRISVANE_SCRIPTED_TABLES, it reads the scripted tables of the scripted program instead,
// through the same platform seam, as the floor of the busy-in-the-tray measurement. Given
// /icon, it also hands the tray a new 16-pixel icon at every tick, what any meter showing its
// speed in the tray must do at the least: a floor for the speed views that counts the tray's
// own cost of an icon.
#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>  // before iphlpapi.h, for the 64-bit interface rows
#include <iphlpapi.h>
#include <netioapi.h>

#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

typedef DWORD(WINAPI* IfTable2Function)(PMIB_IF_TABLE2*);
typedef void(WINAPI* FreeTableFunction)(PVOID);

#ifdef BRISVANE_SCRIPTED_TABLES
#include "AdapterTables.h"
#define GetIfTable AdapterTables.ReadIfTable
#define GetIpAddrTable AdapterTables.ReadIpAddrTable
static IfTable2Function WideTable() { return AdapterTables.ReadIfTable2; }
static FreeTableFunction FreeWideTable() { return AdapterTables.FreeIfTable2; }
#else
static IfTable2Function WideTable()
{
    return (IfTable2Function)(void*)GetProcAddress(GetModuleHandleA("iphlpapi.dll"), "GetIfTable2");
}
static FreeTableFunction FreeWideTable()
{
    return (FreeTableFunction)(void*)GetProcAddress(GetModuleHandleA("iphlpapi.dll"),
                                                    "FreeMibTable");
}
#endif

static BYTE* IfBuffer;
static ULONG IfSize = 864;
static BYTE* AddressBuffer;
static ULONG AddressSize = 28;

static void ReadTables()
{
    static const IfTable2Function readWide = WideTable();
    static const FreeTableFunction freeWide = FreeWideTable();
    ULONG size = IfSize;
    if (readWide != NULL && freeWide != NULL) {
        MIB_IF_TABLE2* wide = NULL;
        if (readWide(&wide) == NO_ERROR && wide != NULL)
            freeWide(wide);
    } else if (GetIfTable((PMIB_IFTABLE)IfBuffer, &size, FALSE) == ERROR_INSUFFICIENT_BUFFER) {
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

static bool HandsIcons;
static DWORD Tick;
static HICON TrayIconNow;

// A new icon every time, a square whose place moves with the tick, drawn into bitmaps kept
// from one icon to the next (each icon made copies them), as the least a meter can do.
static void HandOverIcon(HWND window, DWORD message)
{
    enum { Size = 16 };
    static DWORD* pixels = NULL;
    static HBITMAP colour = NULL;
    static HBITMAP mask = NULL;
    if (colour == NULL) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = Size;
        info.bmiHeader.biHeight = -Size;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = NULL;
        colour = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
        pixels = (DWORD*)bits;
        BYTE maskBits[Size * Size / 8] = {};
        mask = CreateBitmap(Size, Size, 1, 1, maskBits);
    }
    if (colour == NULL || pixels == NULL || mask == NULL)
        return;
    for (int i = 0; i < Size * Size; i++)
        pixels[i] = (i % Size + i / Size + (int)Tick) % 5 == 0 ? 0xFFFFFFFFu : 0xFF202020u;
    GdiFlush();
    ICONINFO icon = {};
    icon.fIcon = TRUE;
    icon.hbmColor = colour;
    icon.hbmMask = mask;
    HICON made = CreateIconIndirect(&icon);
    if (made == NULL)
        return;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_ICON;
    data.hIcon = made;
    if (Shell_NotifyIconW(message, &data)) {
        if (TrayIconNow != NULL)
            DestroyIcon(TrayIconNow);
        TrayIconNow = made;
    } else {
        DestroyIcon(made);
    }
    Tick++;
}

static LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        ReadTables();
        if (HandsIcons)
            HandOverIcon(window, NIM_MODIFY);
        return 0;
    case WM_DESTROY:
        if (HandsIcons) {
            NOTIFYICONDATAW data = {};
            data.cbSize = sizeof(data);
            data.hWnd = window;
            data.uID = 1;
            Shell_NotifyIconW(NIM_DELETE, &data);
        }
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    HandsIcons = strstr(commandLine, "/icon") != NULL;
    IfBuffer = (BYTE*)malloc(IfSize);
    AddressBuffer = (BYTE*)malloc(AddressSize);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BaselineProc;
    wc.hInstance = instance;
    wc.lpszClassName = "BrisvaneIdleBaseline";  // scripts/bench.sh closes it by this name
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Baseline", WS_OVERLAPPEDWINDOW, 0, 0,
                                  200, 100, NULL, NULL, instance, NULL);
    if (HandsIcons)
        HandOverIcon(window, NIM_ADD);
    SetTimer(window, 1, 1000, NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
