#include "Utf8Text.h"

#include "StepTimer.h"
#include "Units.h"

#define HIGH_SURROGATE_FIRST 0xD800u
#define LOW_SURROGATE_FIRST 0xDC00u
#define SURROGATE_END 0xE000u
#define LARGEST_CODE_POINT 0x10FFFFu

// Decodes one UTF-8 sequence at text; *used gets its length (at least 1). An ill-formed one
// (overlong, a surrogate, past U+10FFFF, cut short) answers U+FFFD and one byte.
static unsigned DecodeOne(const unsigned char* text, size_t* used)
{
    unsigned first = text[0];
    *used = 1;
    if (first < 0x80)
        return first;
    int more;
    unsigned point, least;
    if ((first & 0xE0) == 0xC0) {
        more = 1, point = first & 0x1F, least = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        more = 2, point = first & 0x0F, least = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        more = 3, point = first & 0x07, least = 0x10000;
    } else {
        return REPLACEMENT_CHARACTER;
    }
    for (int i = 1; i <= more; i++) {
        if ((text[i] & 0xC0) != 0x80)  // also stops at the terminator
            return REPLACEMENT_CHARACTER;
        point = (point << 6) | (text[i] & 0x3F);
    }
    if (point < least || point > LARGEST_CODE_POINT ||
        (point >= HIGH_SURROGATE_FIRST && point < SURROGATE_END))
        return REPLACEMENT_CHARACTER;
    *used = (size_t)more + 1;
    return point;
}

size_t Utf8ToWide(const char* text, wchar_t* target, size_t size)
{
    StepScope step(StepTextConversion);
    if (size == 0)
        return 0;
    const unsigned char* p = (const unsigned char*)text;
    size_t written = 0;
    while (*p != 0) {
        size_t used;
        unsigned point = DecodeOne(p, &used);
        size_t units = point >= 0x10000 ? 2 : 1;
        if (written + units >= size)
            break;
        if (units == 2) {
            point -= 0x10000;
            target[written++] = (wchar_t)(HIGH_SURROGATE_FIRST + (point >> 10));
            target[written++] = (wchar_t)(LOW_SURROGATE_FIRST + (point & 0x3FF));
        } else {
            target[written++] = (wchar_t)point;
        }
        p += used;
    }
    target[written] = 0;
    return written;
}

size_t WideToUtf8(const wchar_t* text, char* target, size_t size)
{
    if (size == 0)
        return 0;
    size_t written = 0;
    for (const wchar_t* p = text; *p != 0; p++) {
        unsigned point = (unsigned)(unsigned short)*p;
        if (point >= HIGH_SURROGATE_FIRST && point < LOW_SURROGATE_FIRST &&
            (unsigned short)p[1] >= LOW_SURROGATE_FIRST && (unsigned short)p[1] < SURROGATE_END) {
            point = 0x10000 + ((point - HIGH_SURROGATE_FIRST) << 10) +
                    ((unsigned short)p[1] - LOW_SURROGATE_FIRST);
            p++;
        } else if (point >= HIGH_SURROGATE_FIRST && point < SURROGATE_END) {
            point = REPLACEMENT_CHARACTER;
        }
        unsigned char bytes[4];
        size_t count;
        if (point < 0x80) {
            bytes[0] = (unsigned char)point, count = 1;
        } else if (point < 0x800) {
            bytes[0] = (unsigned char)(0xC0 | (point >> 6));
            bytes[1] = (unsigned char)(0x80 | (point & 0x3F)), count = 2;
        } else if (point < 0x10000) {
            bytes[0] = (unsigned char)(0xE0 | (point >> 12));
            bytes[1] = (unsigned char)(0x80 | ((point >> 6) & 0x3F));
            bytes[2] = (unsigned char)(0x80 | (point & 0x3F)), count = 3;
        } else {
            bytes[0] = (unsigned char)(0xF0 | (point >> 18));
            bytes[1] = (unsigned char)(0x80 | ((point >> 12) & 0x3F));
            bytes[2] = (unsigned char)(0x80 | ((point >> 6) & 0x3F));
            bytes[3] = (unsigned char)(0x80 | (point & 0x3F)), count = 4;
        }
        if (written + count >= size)
            break;
        for (size_t i = 0; i < count; i++)
            target[written++] = (char)bytes[i];
    }
    target[written] = 0;
    return written;
}

bool IsUtf8(const char* text, size_t length)
{
    const unsigned char* p = (const unsigned char*)text;
    size_t at = 0;
    while (at < length) {
        if (p[at] < 0x80) {
            at++;
            continue;
        }
        // DecodeOne reads at most to the first byte that is not a continuation, so a sequence
        // cut by the end of a terminated text is caught; check the length here for the rest.
        size_t used;
        unsigned point = DecodeOne(p + at, &used);
        if ((point == REPLACEMENT_CHARACTER && used == 1) || at + used > length)
            return false;
        at += used;
    }
    return true;
}
