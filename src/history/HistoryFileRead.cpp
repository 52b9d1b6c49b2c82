// The history file read from disk: its bytes in whatever encoding they came, as UTF-8 text.
#include "HistoryTable.h"

#include <string.h>

#include "HistoryFileFormat.h"
#include "OwnedHandle.h"
#include "Utf8Text.h"

enum TextForm { FormRead, FormNoMemory, FormForeign };

// UTF-16 of units code units (big-endian when swap) as UTF-8. Foreign when a unit is 0 or a
// surrogate has no partner: such a text would not come back the same.
static int Utf16ToUtf8(const BYTE* bytes, size_t units, int swap, GrowArray<char>* text)
{
    GrowArray<wchar_t> wide;
    if (!wide.Resize((int)units + 1))
        return FormNoMemory;
    for (size_t i = 0; i < units; i++) {
        BYTE low = bytes[2 * i + (swap ? 1 : 0)], high = bytes[2 * i + (swap ? 0 : 1)];
        wide[(int)i] = (wchar_t)(low | (high << 8));
    }
    wide[(int)units] = 0;
    for (size_t i = 0; i < units; i++) {
        wchar_t unit = wide[(int)i];
        int leading = unit >= 0xD800 && unit <= 0xDBFF;
        int trailing = unit >= 0xDC00 && unit <= 0xDFFF;
        if (unit == 0 || trailing)
            return FormForeign;
        if (leading) {
            if (i + 1 >= units || wide[(int)i + 1] < 0xDC00 || wide[(int)i + 1] > 0xDFFF)
                return FormForeign;
            i++;
        }
    }
    const size_t bytesPerUnit = 3;
    if (!text->Resize((int)(units * bytesPerUnit + 1)))
        return FormNoMemory;
    size_t length = WideToUtf8(wide.Data(), text->Data(), (size_t)text->Count());
    text->Resize((int)length);  // smaller: cannot fail
    return FormRead;
}

// The file's bytes as UTF-8 text (not terminated), whatever form it came in.
static int DecodeText(const BYTE* bytes, size_t size, GrowArray<char>* text)
{
    const BYTE utf8Mark[] = {0xEF, 0xBB, 0xBF};
    text->Clear();
    if (size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) ||
                      (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        if (size % 2 != 0)
            return FormForeign;
        return Utf16ToUtf8(bytes + 2, (size - 2) / 2, bytes[0] == 0xFE, text);
    }
    size_t skip = size >= 3 && memcmp(bytes, utf8Mark, 3) == 0 ? 3 : 0;
    bytes += skip;
    size -= skip;
    // UTF-16 without its mark, or no text at all.
    if (memchr(bytes, 0, size) != NULL)
        return FormForeign;
    if (skip != 0 || IsUtf8((const char*)bytes, size))
        return AppendBytes(text, (const char*)bytes, size) ? FormRead : FormNoMemory;
    // Written by an older version, in the ANSI code page.
    int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, (const char*)bytes, (int)size,
                                    NULL, 0);
    if (units <= 0)
        return FormForeign;
    GrowArray<BYTE> wide;
    if (!wide.Resize(units * (int)sizeof(wchar_t)))
        return FormNoMemory;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, (const char*)bytes, (int)size,
                            (wchar_t*)wide.Data(), units) != units)
        return FormForeign;
    return Utf16ToUtf8(wide.Data(), (size_t)units, 0, text);
}

int HistoryTable::ReadFile(const char* path, int* skipped)
{
    Clear();
    *skipped = 0;
    OwnedHandle file(CreateFileW(WideText(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                 FILE_SHARE_DELETE, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 NULL));
    if (!file) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? HistoryReadDone
                                                                              : HistoryReadFailed;
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file.Get(), &high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return HistoryReadFailed;
    if (high != 0 || size > MAX_HISTORY_BYTES)
        return HistoryReadForeign;
    GrowArray<BYTE> bytes;
    DWORD got = 0;
    if (!bytes.Resize((int)size + 1) || !::ReadFile(file.Get(), bytes.Data(), size, &got, NULL) ||
        got != size)
        return HistoryReadFailed;
    file.Reset();
    GrowArray<char> text;
    int form = DecodeText(bytes.Data(), size, &text);
    bytes.Free();
    if (form == FormForeign) {
        SetLastError(ERROR_INVALID_DATA);
        return HistoryReadForeign;
    }
    if (form == FormNoMemory) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return HistoryReadFailed;
    }
    if (!ParseText(text.Data(), (size_t)text.Count(), skipped)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return HistoryReadFailed;
    }
    return HistoryReadDone;
}
