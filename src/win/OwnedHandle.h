// Handles that close themselves: one owner each, moved never copied, released when the owner
// goes. Kinds: kernel handles (files, mutexes, events), registry keys, icons, menus, GDI objects,
// memory DCs, image lists, a window's DC and a selection into a DC that is put back.
#ifndef BRISVANE_OWNEDHANDLE_H
#define BRISVANE_OWNEDHANDLE_H

#include <windows.h>
#include <commctrl.h>

template <typename Traits>
class Owned {
public:
    typedef typename Traits::Type Type;

    Owned() : Value(Traits::Empty()) {}
    explicit Owned(Type value) : Value(value) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) : Value(other.Release()) {}
    Owned& operator=(Owned&& other)
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Type Get() const { return Value; }
    bool IsValid() const { return Traits::IsValid(Value); }
    explicit operator bool() const { return IsValid(); }
    // Gives the handle up without closing it.
    Type Release()
    {
        Type value = Value;
        Value = Traits::Empty();
        return value;
    }
    // Closes the handle held, if any, and holds value instead.
    void Reset(Type value = Traits::Empty())
    {
        if (Traits::IsValid(Value) && Value != value)
            Traits::Close(Value);
        Value = value;
    }

private:
    Type Value;
};

struct KernelHandleTraits {
    typedef HANDLE Type;
    static HANDLE Empty() { return NULL; }
    // CreateFile answers INVALID_HANDLE_VALUE, most others NULL: neither is a handle.
    static bool IsValid(HANDLE h) { return h != NULL && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

struct IconTraits {
    typedef HICON Type;
    static HICON Empty() { return NULL; }
    static bool IsValid(HICON h) { return h != NULL; }
    static void Close(HICON h) { DestroyIcon(h); }
};

struct MenuTraits {
    typedef HMENU Type;
    static HMENU Empty() { return NULL; }
    static bool IsValid(HMENU h) { return h != NULL; }
    static void Close(HMENU h) { DestroyMenu(h); }
};

template <typename Object>
struct GdiObjectTraits {
    typedef Object Type;
    static Object Empty() { return NULL; }
    static bool IsValid(Object h) { return h != NULL; }
    static void Close(Object h) { DeleteObject(h); }
};

struct MemoryDcTraits {
    typedef HDC Type;
    static HDC Empty() { return NULL; }
    static bool IsValid(HDC h) { return h != NULL; }
    static void Close(HDC h) { DeleteDC(h); }
};

struct RegistryKeyTraits {
    typedef HKEY Type;
    static HKEY Empty() { return NULL; }
    static bool IsValid(HKEY h) { return h != NULL; }
    static void Close(HKEY h) { RegCloseKey(h); }
};

typedef Owned<KernelHandleTraits> OwnedHandle;
typedef Owned<IconTraits> OwnedIcon;
typedef Owned<MenuTraits> OwnedMenu;
typedef Owned<GdiObjectTraits<HFONT> > OwnedFont;
typedef Owned<GdiObjectTraits<HBRUSH> > OwnedBrush;
typedef Owned<GdiObjectTraits<HBITMAP> > OwnedBitmap;
typedef Owned<GdiObjectTraits<HPEN> > OwnedPen;
typedef Owned<GdiObjectTraits<HRGN> > OwnedRegion;
// From CreateCompatibleDC or CreateDC.
typedef Owned<MemoryDcTraits> OwnedDc;
// From RegOpenKeyEx or RegCreateKeyEx.
typedef Owned<RegistryKeyTraits> OwnedKey;

struct ImageListTraits {
    typedef HIMAGELIST Type;
    static HIMAGELIST Empty() { return NULL; }
    static bool IsValid(HIMAGELIST h) { return h != NULL; }
    static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
// From ImageList_Create.
typedef Owned<ImageListTraits> OwnedImageList;

// A window's DC from GetDC, released to that window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : Window(window), Dc(GetDC(window)) {}
    ~WindowDc()
    {
        if (Dc != NULL)
            ReleaseDC(Window, Dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return Dc; }

private:
    HWND Window;
    HDC Dc;
};

// An object selected into a DC for one scope; the one it replaced is selected back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : Dc(dc), Previous(object != NULL ? SelectObject(dc, object) : NULL)
    {
    }
    ~SelectedObject()
    {
        if (Previous != NULL)
            SelectObject(Dc, Previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC Dc;
    HGDIOBJ Previous;
};

#endif
