#include "TextTemplate.h"

#include <string.h>

// Appends up to length bytes of text at *used, stopping before a UTF-8 character that would not
// fit whole; keeps one byte for the end.
static void Append(char* buffer, size_t size, size_t* used, const char* text, size_t length)
{
    size_t room = size - 1 - *used;
    if (length > room) {
        length = room;
        while (length > 0 && ((unsigned char)text[length] & 0xC0) == 0x80)
            length--;
    }
    memcpy(buffer + *used, text, length);
    *used += length;
}

int ExpandTemplate(char* buffer, size_t size, const char* text, const char* const* parts,
                   int count)
{
    if (buffer == NULL || size == 0)
        return 0;
    size_t used = 0;
    while (text != NULL && *text != 0 && used + 1 < size) {
        const char* mark = strchr(text, '%');
        size_t plain = mark != NULL ? (size_t)(mark - text) : strlen(text);
        Append(buffer, size, &used, text, plain);
        if (mark == NULL)
            break;
        char next = mark[1];
        if (next >= '1' && next <= '9') {
            int index = next - '1';
            const char* part = index < count && parts[index] != NULL ? parts[index] : "";
            Append(buffer, size, &used, part, strlen(part));
            text = mark + 2;
        } else {
            Append(buffer, size, &used, "%", 1);
            text = mark + (next == '%' ? 2 : 1);
        }
    }
    buffer[used] = 0;
    return (int)used;
}

unsigned TemplateParts(const char* text)
{
    unsigned used = 0;
    for (const char* mark = strchr(text, '%'); mark != NULL; mark = strchr(mark, '%')) {
        if (mark[1] >= '1' && mark[1] <= '9')
            used |= 1u << (mark[1] - '1');
        mark += mark[1] != 0 ? 2 : 1;
    }
    return used;
}
