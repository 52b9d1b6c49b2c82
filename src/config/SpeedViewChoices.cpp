#include "SpeedViewChoices.h"

#include <stdlib.h>
#include <string.h>

#include "BoundedText.h"

namespace {

const int FullOpacity = 100;
const size_t KeyChars = 32;
const size_t ValueChars = 32;

const int ChoiceKeyCount = 7;
const char* const ChoiceKeys[ChoiceKeyCount] = {"TrayIcon", "Window",       "Adapter",
                                                "Bits",     "ClickThrough", "Opacity",
                                                "PhysicalOnly"};
const int ChoiceMost[ChoiceKeyCount] = {SpeedTrayModeCount - 1, 1, 1, 1, 1, FullOpacity, 1};

struct ReadState {
    SpeedViewChoices* Choices;
    int ChoiceFound[ChoiceKeyCount];
    char PlaceValues[PlaceKeyCount][ValueChars];
    int PlaceFound[PlaceKeyCount];
};

// A whole number from 0 to most; 0 when the text is anything else.
int ReadChoice(const char* text, int most, int* value)
{
    char* end = NULL;
    long number = strtol(text, &end, 10);
    if (end == text || *end != 0 || number < 0 || number > most)
        return 0;
    *value = (int)number;
    return 1;
}

void TrimCopy(char* target, size_t size, const char* from, const char* to)
{
    while (from < to && (*from == ' ' || *from == '\t'))
        from++;
    while (to > from && (to[-1] == ' ' || to[-1] == '\t'))
        to--;
    size_t length = (size_t)(to - from);
    if (length >= size)
        length = size - 1;
    memcpy(target, from, length);
    target[length] = 0;
}

void ReadLine(const char* line, void* context)
{
    ReadState* state = (ReadState*)context;
    const char* equals = strchr(line, '=');
    if (equals == NULL)
        return;
    char key[KeyChars];
    char value[ValueChars];
    TrimCopy(key, sizeof(key), line, equals);
    TrimCopy(value, sizeof(value), equals + 1, equals + strlen(equals));
    SpeedViewChoices& choices = *state->Choices;
    int* const targets[ChoiceKeyCount] = {&choices.TrayMode,    &choices.WindowShown,
                                          &choices.AllAdapters, &choices.Bits,
                                          &choices.ClickThrough, &choices.Opacity,
                                          &choices.PhysicalOnly};
    for (int i = 0; i < ChoiceKeyCount; i++) {
        int number = 0;
        // The first line of a key counts, as the system's own INI reading has it.
        if (_stricmp(key, ChoiceKeys[i]) != 0 || state->ChoiceFound[i] ||
            !ReadChoice(value, ChoiceMost[i], &number))
            continue;
        state->ChoiceFound[i] = 1;
        if (targets[i] == &choices.Opacity) {
            // Another percentage is taken as the nearest offered one at or above it.
            int chosen = FullOpacity;
            for (int j = 0; j < SpeedOpacityCount; j++)
                if (SpeedOpacities[j] >= number)
                    chosen = SpeedOpacities[j];
            number = chosen;
        }
        *targets[i] = number;
    }
    for (int i = 0; i < PlaceKeyCount; i++) {
        if (_stricmp(key, PlaceKeys[i]) == 0 && !state->PlaceFound[i]) {
            CopyText(state->PlaceValues[i], ValueChars, value);
            state->PlaceFound[i] = 1;
        }
    }
}

}  // namespace

SpeedViewChoices DefaultSpeedViewChoices()
{
    SpeedViewChoices choices = {};
    choices.TrayMode = SpeedTrayProgramIcon;
    choices.Opacity = FullOpacity;
    choices.PhysicalOnly = 1;
    return choices;
}

SpeedViewChoices ReadSpeedViewChoices(const IniDocument& document)
{
    SpeedViewChoices choices = DefaultSpeedViewChoices();
    ReadState state = {};
    state.Choices = &choices;
    document.ForEachLineOf(SPEED_VIEW_SECTION, ReadLine, &state);
    const char* values[PlaceKeyCount];
    for (int i = 0; i < PlaceKeyCount; i++)
        values[i] = state.PlaceFound[i] ? state.PlaceValues[i] : NULL;
    choices.HasPlace = ParseWindowPlace(values, &choices.Place);
    return choices;
}

int StoreSpeedViewChoices(const SpeedViewChoices& choices, IniDocument& document)
{
    const int values[ChoiceKeyCount] = {choices.TrayMode,    choices.WindowShown,
                                        choices.AllAdapters, choices.Bits,
                                        choices.ClickThrough, choices.Opacity,
                                        choices.PhysicalOnly};
    int stored = 1;
    for (int i = 0; i < ChoiceKeyCount; i++) {
        char text[ValueChars];
        BoundedPrint(text, sizeof(text), "%d", values[i]);
        stored &= document.Set(SPEED_VIEW_SECTION, ChoiceKeys[i], text);
    }
    if (!choices.HasPlace)
        return stored;
    WindowPlaceText place = FormatWindowPlace(choices.Place);
    for (int i = 0; i < PlaceKeyCount; i++)
        stored &= document.Set(SPEED_VIEW_SECTION, PlaceKeys[i], place.Values[i]);
    return stored;
}
