#include "PageLook.h"

void PageLook::Apply(Look look, const Palette& palette)
{
    Controls.Apply(look, palette);
    Alert.Reset(CreateSolidBrush(palette.AlertBack));
}

HBRUSH PageLook::ForControl(HDC dc, bool field) const
{
    return Controls.Answer(field ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, dc, NULL);
}

HBRUSH PageLook::ForAlert(HDC dc) const
{
    SetTextColor(dc, Controls.Colours.AlertText);
    SetBkMode(dc, TRANSPARENT);
    return Alert.Get();
}
