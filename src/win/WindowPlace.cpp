#include "WindowPlace.h"

#include <stdlib.h>

#include "BoundedText.h"

const char* const PlaceKeys[PlaceKeyCount] = {"Left", "Top", "Width", "Height"};

WindowPlace PlaceOfWindow(const RECT& window, UINT systemDpi, UINT windowDpi)
{
    WindowPlace place;
    place.Left = UnscaleForDpi(window.left, systemDpi);
    place.Top = UnscaleForDpi(window.top, systemDpi);
    place.Width = UnscaleForDpi(window.right - window.left, windowDpi);
    place.Height = UnscaleForDpi(window.bottom - window.top, windowDpi);
    return place;
}

static int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

// Length of the overlap of a..b with c..d, 0 when apart.
static long long Overlap(long long a, long long b, long long c, long long d)
{
    long long low = a > c ? a : c;
    long long high = b < d ? b : d;
    return high > low ? high - low : 0;
}

// How far a point lies outside a rectangle (squared), 0 inside.
static long long DistanceSquared(long long x, long long y, const RECT& r)
{
    long long dx = x < r.left ? r.left - x : (x >= r.right ? x - r.right + 1 : 0);
    long long dy = y < r.top ? r.top - y : (y >= r.bottom ? y - r.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

// The window at the left and top given, sized for the DPI of area.
static RECT SizedFor(const WindowPlace& place, int left, int top, const WorkArea& area,
                     const PlaceRules& rules)
{
    int width = ScaleForDpi(Clamp(place.Width, rules.MinimumWidth, PlaceLimit), area.Dpi);
    int height = ScaleForDpi(Clamp(place.Height, rules.MinimumHeight, PlaceLimit), area.Dpi);
    RECT r = {left, top, left + width, top + height};
    return r;
}

// Whether the title bar of r lies within area enough to take it with the mouse.
static bool CaptionReachable(const RECT& r, const WorkArea& area, const PlaceRules& rules)
{
    int caption = ScaleForDpi(rules.CaptionHeight, area.Dpi);
    long long width = (long long)r.right - r.left;
    long long grip = ScaleForDpi(rules.VisibleWidth, area.Dpi);
    if (grip > width)
        grip = width;
    return r.top >= area.Area.top && (long long)r.top + caption <= area.Area.bottom &&
           Overlap(r.left, r.right, area.Area.left, area.Area.right) >= grip;
}

static bool Fits(const RECT& r, const WorkArea& area)
{
    return r.right - r.left <= area.Area.right - area.Area.left &&
           r.bottom - r.top <= area.Area.bottom - area.Area.top;
}

RECT PlaceOnWorkArea(const WindowPlace& place, UINT systemDpi, const WorkArea* areas,
                     size_t count, const PlaceRules& rules)
{
    int left = ScaleForDpi(Clamp(place.Left, -PlaceLimit, PlaceLimit), systemDpi);
    int top = ScaleForDpi(Clamp(place.Top, -PlaceLimit, PlaceLimit), systemDpi);
    if (count == 0) {
        WorkArea system = {{0, 0, 0, 0}, systemDpi};
        return SizedFor(place, left, top, system, rules);
    }
    // The monitor the window is on: the one whose area its title bar reaches, else the one it
    // overlaps most, else the nearest to its top left corner.
    size_t chosen = count;
    for (size_t i = 0; i < count && chosen == count; i++)
        if (CaptionReachable(SizedFor(place, left, top, areas[i], rules), areas[i], rules))
            chosen = i;
    if (chosen < count) {
        RECT r = SizedFor(place, left, top, areas[chosen], rules);
        if (Fits(r, areas[chosen]))
            return r;
    }
    if (chosen == count) {
        long long most = 0;
        for (size_t i = 0; i < count; i++) {
            RECT r = SizedFor(place, left, top, areas[i], rules);
            long long shared = Overlap(r.left, r.right, areas[i].Area.left, areas[i].Area.right) *
                               Overlap(r.top, r.bottom, areas[i].Area.top, areas[i].Area.bottom);
            if (shared > most) {
                most = shared;
                chosen = i;
            }
        }
    }
    if (chosen == count) {
        long long nearest = 0;
        for (size_t i = 0; i < count; i++) {
            long long distance = DistanceSquared(left, top, areas[i].Area);
            if (chosen == count || distance < nearest) {
                nearest = distance;
                chosen = i;
            }
        }
    }
    // Shrunk to fit the area and moved the least that brings it all inside.
    const RECT& a = areas[chosen].Area;
    RECT r = SizedFor(place, left, top, areas[chosen], rules);
    int width = r.right - r.left < a.right - a.left ? r.right - r.left : a.right - a.left;
    int height = r.bottom - r.top < a.bottom - a.top ? r.bottom - r.top : a.bottom - a.top;
    int x = Clamp(left, a.left, a.right - width);
    int y = Clamp(top, a.top, a.bottom - height);
    RECT placed = {x, y, x + width, y + height};
    return placed;
}

struct WorkAreaCollection {
    const DpiFunctions* Functions;
    WorkArea* Areas;
    size_t Capacity;
    size_t Count;
};

static BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    WorkAreaCollection* collection = (WorkAreaCollection*)data;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (collection->Count >= collection->Capacity || !GetMonitorInfoW(monitor, &info))
        return TRUE;
    WorkArea area = {info.rcWork, DpiForMonitor(*collection->Functions, monitor)};
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
        // The primary first: the one to fall back on among equals.
        for (size_t i = collection->Count; i > 0; i--)
            collection->Areas[i] = collection->Areas[i - 1];
        collection->Areas[0] = area;
    } else {
        collection->Areas[collection->Count] = area;
    }
    collection->Count++;
    return TRUE;
}

size_t CollectWorkAreas(const DpiFunctions& functions, WorkArea* areas, size_t capacity)
{
    WorkAreaCollection collection = {&functions, areas, capacity, 0};
    EnumDisplayMonitors(NULL, NULL, CollectMonitor, (LPARAM)&collection);
    return collection.Count;
}

WindowPlaceText FormatWindowPlace(const WindowPlace& place)
{
    WindowPlaceText text;
    const int values[PlaceKeyCount] = {place.Left, place.Top, place.Width, place.Height};
    for (int i = 0; i < PlaceKeyCount; i++)
        BoundedPrint(text.Values[i], sizeof(text.Values[i]), "%d", values[i]);
    return text;
}

// A whole number, optionally signed, with nothing after it, within PlaceLimit.
static int ParseValue(const char* text, int* value)
{
    if (text == NULL)
        return 0;
    const char* p = text;
    if (*p == '-' || *p == '+')
        p++;
    if (*p < '0' || *p > '9')
        return 0;
    char* end = NULL;
    long long number = strtoll(text, &end, 10);
    if (*end != '\0' || number < -PlaceLimit || number > PlaceLimit)
        return 0;
    *value = (int)number;
    return 1;
}

int ParseWindowPlace(const char* const values[PlaceKeyCount], WindowPlace* place)
{
    int read[PlaceKeyCount];
    for (int i = 0; i < PlaceKeyCount; i++)
        if (!ParseValue(values[i], &read[i]))
            return 0;
    place->Left = read[0];
    place->Top = read[1];
    place->Width = read[2];
    place->Height = read[3];
    return 1;
}
