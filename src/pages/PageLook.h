// The colours the adapter pages draw with and their brushes, made once per change of look and
// shared by every page. Dark pages colour their statics, fields and background themselves;
// light and high-contrast pages keep the system's, which high contrast sets; the alert takes
// the palette's pair in every look.
#ifndef BRISVANE_PAGELOOK_H
#define BRISVANE_PAGELOOK_H

#include <windows.h>

#include "ControlColours.h"
#include "OwnedHandle.h"
#include "Palette.h"

class PageLook {
public:
    PageLook() = default;
    PageLook(const PageLook&) = delete;
    PageLook& operator=(const PageLook&) = delete;

    void Apply(Look look, const Palette& palette);
    // The brush of a page's control, with the DC's colours set; null where the system's own
    // colours stay (then the control's default handling runs).
    HBRUSH ForControl(HDC dc, bool field) const;
    HBRUSH ForAlert(HDC dc) const;
    HBRUSH ForPage() const { return Controls.Back(); }
    bool Custom() const { return Controls.Custom; }

    ControlColours Controls;  // the pages' fields, labels and background

private:
    OwnedBrush Alert;
};

#endif
