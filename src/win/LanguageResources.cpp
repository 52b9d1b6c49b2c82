#include "LanguageResources.h"

#include <string.h>

#include "TextTemplate.h"
#include "resource.h"
#include "UiLanguage.h"
#include "Utf8Text.h"

LanguageResourcesRecord LanguageResources = {NULL, EnglishLanguage};

static HMODULE ResourceModule()
{
    return LanguageResources.Module != NULL ? LanguageResources.Module : GetModuleHandleW(NULL);
}

const void* FindResourceIn(LANGID language, LPCWSTR type, LPCWSTR name, DWORD* size)
{
    HMODULE module = ResourceModule();
    HRSRC found = FindResourceExW(module, type, name, language);
    HGLOBAL loaded = found != NULL ? LoadResource(module, found) : NULL;
    const void* data = loaded != NULL ? LockResource(loaded) : NULL;
    if (size != NULL)
        *size = data != NULL ? SizeofResource(module, found) : 0;
    return data;
}

const void* FindLanguageResource(LPCWSTR type, LPCWSTR name, DWORD* size)
{
    const void* data = FindResourceIn(LanguageResources.Language, type, name, size);
    if (data == NULL && LanguageResources.Language != EnglishLanguage)
        data = FindResourceIn(EnglishLanguage, type, name, size);
    return data;
}

const wchar_t* FindTextIn(LANGID language, UINT id, int* length)
{
    // A string table is kept in blocks of sixteen counted texts; block n holds ids from
    // (n - 1) * 16 on.
    DWORD size = 0;
    const wchar_t* block = (const wchar_t*)FindResourceIn(
        language, (LPCWSTR)RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), &size);
    const wchar_t* end = block + size / sizeof(wchar_t);
    for (UINT index = 0; block != NULL && block < end; index++) {
        int count = *block++;
        if (index == id % 16) {
            if (count == 0 || block + count > end)
                break;
            *length = count;
            return block;
        }
        block += count;
    }
    *length = 0;
    return NULL;
}

// The text in the program's language, else English.
static const wchar_t* FindText(UINT id, int* length)
{
    const wchar_t* text = FindTextIn(LanguageResources.Language, id, length);
    if (text == NULL && LanguageResources.Language != EnglishLanguage)
        text = FindTextIn(EnglishLanguage, id, length);
    return text;
}

int LoadTextW(UINT id, wchar_t* buffer, int chars)
{
    if (buffer == NULL || chars <= 0)
        return 0;
    int length = 0;
    const wchar_t* text = FindText(id, &length);
    if (length >= chars) {
        length = chars - 1;
        // Never half of a surrogate pair.
        if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
            length--;
    }
    if (length > 0)
        memcpy(buffer, text, length * sizeof(wchar_t));
    buffer[length] = 0;
    return length;
}

int LoadText(UINT id, char* buffer, size_t size)
{
    if (buffer == NULL || size == 0)
        return 0;
    wchar_t wide[TextMaxChars];
    LoadTextW(id, wide, TextMaxChars);
    WideToUtf8(wide, buffer, size);
    return (int)strlen(buffer);
}

int FormatText(char* buffer, size_t size, UINT id, const char* const* parts, int count)
{
    char text[TextMaxChars * 3];
    LoadText(id, text, sizeof(text));
    return ExpandTemplate(buffer, size, text, parts, count);
}

int LoadFlowName(const char* name, char* buffer, size_t size)
{
    static const struct {
        const char* Name;
        UINT Id;
    } names[] = {{"IN", IDS_NAME_IN}, {"OUT", IDS_NAME_OUT}, {"IN+OUT", IDS_NAME_SUM}};
    for (const auto& known : names)
        if (strcmp(name, known.Name) == 0)
            return LoadText(known.Id, buffer, size);
    return ExpandTemplate(buffer, size, "%1", &name, 1);
}
