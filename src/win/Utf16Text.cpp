#include "Utf16Text.h"

#include "CodePageText.h"

#define MARK_BYTES 2

int Utf16MarkOf(const BYTE* bytes, size_t size)
{
    if (size < MARK_BYTES)
        return NoUtf16Mark;
    if (bytes[0] == 0xFF && bytes[1] == 0xFE)
        return Utf16LittleEndian;
    if (bytes[0] == 0xFE && bytes[1] == 0xFF)
        return Utf16BigEndian;
    return NoUtf16Mark;
}

static bool IsLeading(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

static bool IsTrailing(wchar_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

int Utf16FileToUtf8(const BYTE* bytes, size_t size, int mark, GrowArray<char>* target,
                    bool* whole)
{
    size_t units = size >= MARK_BYTES ? (size - MARK_BYTES) / 2 : 0;
    *whole = size >= MARK_BYTES && (size - MARK_BYTES) % 2 == 0;
    GrowArray<wchar_t> wide;
    if (units > (size_t)0x7FFFFFFE || !wide.Resize((int)units + 1))
        return -1;
    const BYTE* unit = bytes + MARK_BYTES;
    int high = mark == Utf16BigEndian ? 0 : 1;
    for (size_t i = 0; i < units; i++, unit += 2)
        wide[(int)i] = (wchar_t)(unit[1 - high] | (unit[high] << 8));
    wide[(int)units] = 0;
    for (size_t i = 0; i < units && *whole; i++) {
        wchar_t at = wide[(int)i];
        if (at == 0 || IsTrailing(at))
            *whole = false;
        else if (IsLeading(at) && (i + 1 >= units || !IsTrailing(wide[(int)++i])))
            *whole = false;
    }
    return WideToUtf8Text(wide.Data(), units, target);
}
