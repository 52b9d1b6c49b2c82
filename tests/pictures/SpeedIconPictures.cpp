// Writes the speed icon, as the tray gets it, to picture files for the README: "Speed" and
// "Graph" at 16, 20, 24 and 32 pixels (100 % to 200 %), plain and with the alert on, after a
// scripted minute of traffic, on a light and a dark taskbar and in high contrast (Windows' black
// scheme, set for the while with SetSysColors); and the speed window in each look, high
// contrast being one that Wine cannot turn on for the program itself. The pixels are read
// back from what the program's own code drew.
// Usage: speed_icon_pictures FOLDER  (writes FOLDER\light-speed-16.ppm,
// contrast-graph-24-alert.ppm, ..., window-contrast.ppm)
#include <windows.h>

#include <stdio.h>

#include <vector>

#include "BoundedText.h"
#include "IconPixels.h"
#include "OwnedHandle.h"
#include "Palette.h"
#include "SpeedIcon.h"
#include "SpeedViewChoices.h"
#include "SpeedWindow.h"
#include "WindowModule.h"

namespace {

const int Sizes[] = {16, 20, 24, 32};
const int ScriptedSeconds = 60;
const int MostPixels = SpeedIconMaxSize * SpeedIconMaxSize;
const size_t PathChars = MAX_PATH;

// A minute of download swelling to 12 MB/s with dips, and an upload of 150 to 210 KB/s.
void ScriptTraffic(SpeedHistory& history)
{
    const unsigned __int64 downSteps[] = {1, 3, 2, 5, 4, 6};
    for (int second = 1; second <= ScriptedSeconds; second++) {
        unsigned __int64 down = 200000ULL * second * downSteps[second % 6] / 6;
        unsigned __int64 up = 150000 + 1000ULL * second;
        if (second == ScriptedSeconds) {
            down = 12000000;
            up = 210000;
        }
        history.Add(down, up);
    }
}

// A binary PPM, written whole beside the target first and then put in its place.
int WritePicture(const char* path, int width, int height, const DWORD* pixels)
{
    char fresh[PathChars];
    BoundedPrint(fresh, sizeof(fresh), "%s.new", path);
    FILE* file = fopen(fresh, "wb");
    if (file == NULL)
        return 0;
    fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int i = 0; i < width * height; i++) {
        unsigned char rgb[3] = {(unsigned char)(pixels[i] >> 16), (unsigned char)(pixels[i] >> 8),
                                (unsigned char)pixels[i]};
        fwrite(rgb, 1, sizeof(rgb), file);
    }
    int written = !ferror(file);
    written = fclose(file) == 0 && written;
    return written && MoveFileExA(fresh, path, MOVEFILE_REPLACE_EXISTING);
}

// Windows' high-contrast black scheme, while the pictures are drawn.
const int SchemeElements[] = {COLOR_WINDOW,   COLOR_WINDOWTEXT, COLOR_BTNFACE,
                              COLOR_BTNTEXT,  COLOR_GRAYTEXT,   COLOR_HIGHLIGHT,
                              COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT};
const COLORREF BlackScheme[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),
                                RGB(255, 255, 255), RGB(63, 242, 63),   RGB(26, 235, 255),
                                RGB(0, 0, 0),       RGB(255, 255, 0)};
const int SchemeCount = (int)(sizeof(SchemeElements) / sizeof(SchemeElements[0]));

// The speed window as it paints itself in a look, the figures of the history given.
int WriteWindow(const char* path, Look look, const SpeedHistory& history)
{
    SpeedWindow view;
    if (!view.Create(NULL, DefaultSpeedViewChoices()))
        return 0;
    view.SetPalette(MakePalette(look, ReadSystemColours()));
    view.Show(history, 0, 0);
    int width = 0, height = 0;
    std::vector<COLORREF> colours = PrintClientPixels(view.Window, &width, &height);
    view.Destroy();
    std::vector<DWORD> pixels;
    for (COLORREF c : colours)
        pixels.push_back(((DWORD)GetRValue(c) << 16) | ((DWORD)GetGValue(c) << 8) | GetBValue(c));
    return !pixels.empty() && WritePicture(path, width, height, pixels.data());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: speed_icon_pictures FOLDER\n");
        return 2;
    }
    AtlModuleInit(GetModuleHandleA(NULL));  // for the speed window's class
    SpeedHistory history;
    ScriptTraffic(history);
    const struct {
        int Mode;
        const char* Name;
    } modes[] = {{SpeedTraySpeed, "speed"}, {SpeedTrayGraph, "graph"}};
    const struct {
        Look Look;
        const char* Name;
    } looks[] = {{LookLight, "light"}, {LookDark, "dark"}, {LookHighContrast, "contrast"}};
    COLORREF saved[SchemeCount];
    for (int i = 0; i < SchemeCount; i++)
        saved[i] = GetSysColor(SchemeElements[i]);
    static DWORD pixels[MostPixels];
    int written = 1;
    for (const auto& look : looks) {
        if (look.Look == LookHighContrast)
            SetSysColors(SchemeCount, SchemeElements, BlackScheme);
        const TrayColourPair colours = MakeTrayColourPair(look.Look, ReadSystemColours());
        for (const auto& mode : modes)
            for (int size : Sizes)
                for (int alert = 0; alert <= 1 && written; alert++) {
                    OwnedIcon icon(MakeSpeedIcon(
                        DescribeSpeedIcon(mode.Mode, alert, size, 0, history, colours)));
                    char path[PathChars];
                    BoundedPrint(path, sizeof(path), "%s\\%s-%s-%d%s.ppm", argv[1], look.Name,
                                 mode.Name, size, alert ? "-alert" : "");
                    written = icon && ReadIconPixels(icon.Get(), size, pixels) &&
                              WritePicture(path, size, size, pixels);
                    if (!written)
                        fprintf(stderr, "could not write %s\n", path);
                }
        if (written) {
            char path[PathChars];
            BoundedPrint(path, sizeof(path), "%s\\window-%s.ppm", argv[1], look.Name);
            written = WriteWindow(path, look.Look, history);
            if (!written)
                fprintf(stderr, "could not write %s\n", path);
        }
        if (look.Look == LookHighContrast)
            SetSysColors(SchemeCount, SchemeElements, saved);
    }
    return written ? 0 : 1;
}
