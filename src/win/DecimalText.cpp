#include "DecimalText.h"

int ReadDecimal(const char* text, size_t length, unsigned __int64 limit, unsigned __int64* value,
                size_t* digits)
{
    unsigned __int64 number = 0;
    int result = DecimalNone;
    size_t at = 0;
    for (; at < length && text[at] >= '0' && text[at] <= '9'; at++) {
        unsigned digit = (unsigned)(text[at] - '0');
        if (result == DecimalOverLimit)
            continue;  // the rest of the run can only make it larger
        if (digit > limit || number > (limit - digit) / 10) {
            number = limit;
            result = DecimalOverLimit;
            continue;
        }
        number = number * 10 + digit;
        result = DecimalRead;
    }
    *value = number;
    *digits = at;
    return result;
}

int ReadStoredNumber(const char* text, unsigned __int64 limit, unsigned __int64* value)
{
    *value = 0;
    while (*text == ' ' || *text == '\t')
        text++;
    if (*text == '-')
        return 0;
    if (*text == '+')
        text++;
    size_t digits;
    return ReadDecimal(text, NO_LENGTH_LIMIT, limit, value, &digits) != DecimalNone;
}
