// The system's look as a test sets it: light or dark (the personalisation values, both of them)
// and high contrast, through ThemePlatform, put back as it was when the fake goes.
#ifndef BRISVANE_TESTS_FAKELOOK_H
#define BRISVANE_TESTS_FAKELOOK_H

#include "ThemePlatform.h"

class FakeLook {
public:
    FakeLook() : Saved(ThemePlatform)
    {
        Light = true;
        HighContrast = false;
        ThemePlatform = {ReadPersonalize, ReadHighContrast};
    }
    ~FakeLook() { ThemePlatform = Saved; }
    FakeLook(const FakeLook&) = delete;
    FakeLook& operator=(const FakeLook&) = delete;

    static inline bool Light = true;  // the apps' and the taskbar's choice alike
    static inline bool HighContrast = false;

private:
    static bool ReadPersonalize(const wchar_t*, DWORD* value)
    {
        *value = Light ? 1 : 0;
        return true;
    }
    static bool ReadHighContrast() { return HighContrast; }

    ThemePlatformCalls Saved;
};

#endif
