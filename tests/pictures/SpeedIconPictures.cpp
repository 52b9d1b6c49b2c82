// Writes the speed icon, as the tray gets it, to picture files for the README: "Speed" and
// "Graph" at 16 and 24 pixels (100 % and 150 %), plain and with the alert on, after a scripted
// minute of traffic. The pixels are read back from the icon that MakeSpeedIcon made.
// Usage: speed_icon_pictures FOLDER  (writes FOLDER\speed-16.ppm, graph-24-alert.ppm, ...)
#include <windows.h>

#include <stdio.h>

#include "BoundedText.h"
#include "IconPixels.h"
#include "OwnedHandle.h"
#include "SpeedIcon.h"
#include "SpeedViewChoices.h"

namespace {

const int Sizes[] = {16, 24};
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
int WritePicture(const char* path, int size, const DWORD* pixels)
{
    char fresh[PathChars];
    BoundedPrint(fresh, sizeof(fresh), "%s.new", path);
    FILE* file = fopen(fresh, "wb");
    if (file == NULL)
        return 0;
    fprintf(file, "P6\n%d %d\n255\n", size, size);
    for (int i = 0; i < size * size; i++) {
        unsigned char rgb[3] = {(unsigned char)(pixels[i] >> 16), (unsigned char)(pixels[i] >> 8),
                                (unsigned char)pixels[i]};
        fwrite(rgb, 1, sizeof(rgb), file);
    }
    int written = !ferror(file);
    written = fclose(file) == 0 && written;
    return written && MoveFileExA(fresh, path, MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: speed_icon_pictures FOLDER\n");
        return 2;
    }
    SpeedHistory history;
    ScriptTraffic(history);
    const struct {
        int Mode;
        const char* Name;
    } modes[] = {{SpeedTraySpeed, "speed"}, {SpeedTrayGraph, "graph"}};
    static DWORD pixels[MostPixels];
    for (const auto& mode : modes)
        for (int size : Sizes)
            for (int alert = 0; alert <= 1; alert++) {
                OwnedIcon icon(MakeSpeedIcon(DescribeSpeedIcon(mode.Mode, alert, size, 0, history, MakeTrayColourPair(LookDark, ReadSystemColours()))));
                char path[PathChars];
                BoundedPrint(path, sizeof(path), "%s\\%s-%d%s.ppm", argv[1], mode.Name, size,
                             alert ? "-alert" : "");
                if (!icon || !ReadIconPixels(icon.Get(), size, pixels) ||
                    !WritePicture(path, size, pixels)) {
                    fprintf(stderr, "could not write %s\n", path);
                    return 1;
                }
            }
    return 0;
}
