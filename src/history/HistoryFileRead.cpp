// The history file read from disk: its bytes in whatever encoding they came, as UTF-8 text.
#include "HistoryTable.h"

#include <string.h>

#include "CodePageText.h"
#include "HistoryFileFormat.h"
#include "OwnedHandle.h"
#include "Utf16Text.h"
#include "Utf8Text.h"

enum TextForm { FormRead, FormNoMemory, FormForeign };

// units of UTF-16 as UTF-8 text, not terminated.
static int WideToText(const wchar_t* wide, size_t units, GrowArray<char>* text)
{
    int length = WideToUtf8Text(wide, units, text);
    if (length < 0)
        return FormNoMemory;
    text->Resize(length);  // smaller: cannot fail
    return FormRead;
}

// The file's bytes as UTF-8 text (not terminated), whatever form it came in.
static int DecodeText(const BYTE* bytes, size_t size, GrowArray<char>* text)
{
    const BYTE utf8Mark[] = {0xEF, 0xBB, 0xBF};
    text->Clear();
    if (int mark = Utf16MarkOf(bytes, size)) {
        // A text that would not come back the same (half a unit, a unit 0, a surrogate
        // without its partner) is no text this reader takes.
        bool whole;
        int length = Utf16FileToUtf8(bytes, size, mark, text, &whole);
        if (length < 0)
            return FormNoMemory;
        if (!whole)
            return FormForeign;
        text->Resize(length);  // smaller: cannot fail
        return FormRead;
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
    GrowArray<wchar_t> wide;
    if (!wide.Resize(units))
        return FormNoMemory;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, (const char*)bytes, (int)size,
                            wide.Data(), units) != units)
        return FormForeign;
    return WideToText(wide.Data(), (size_t)units, text);
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
