#include "PageLook.h"

void PageLook::Apply(Look look, const Palette& palette)
{
    Colours = palette;
    Custom = look == LookDark;
    Back.Reset(CreateSolidBrush(palette.Back));
    Field.Reset(CreateSolidBrush(palette.FieldBack));
    Alert.Reset(CreateSolidBrush(palette.AlertBack));
}

HBRUSH PageLook::ForControl(HDC dc, bool field) const
{
    if (!Custom)
        return NULL;
    SetTextColor(dc, Colours.Text);
    SetBkColor(dc, field ? Colours.FieldBack : Colours.Back);
    return field ? Field.Get() : Back.Get();
}

HBRUSH PageLook::ForAlert(HDC dc) const
{
    SetTextColor(dc, Colours.AlertText);
    SetBkMode(dc, TRANSPARENT);
    return Alert.Get();
}
