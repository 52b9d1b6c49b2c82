// The settings' file calls in the forms the tests use: the whole start's load, a save of the
// section alone, a counter read from the file as it is now.
#ifndef BRISVANE_SETTINGSTESTSUPPORT_H
#define BRISVANE_SETTINGSTESTSUPPORT_H

#include "IniValues.h"
#include "Settings.h"

// Why the last SaveSettingsNow failed.
inline DWORD& LastSettingsSaveError()
{
    static DWORD error = NO_ERROR;
    return error;
}

inline int SaveSettingsNow()
{
    return SaveSettings(Settings, &LastSettingsSaveError());
}

inline int LoadSettingsNow()
{
    IniDocument document;
    LoadSettings(Settings, document);
    return 1;
}

inline int ReadSettingsNow()
{
    ReadSettingsFile(Settings);
    return 1;
}

inline int ReadIniU64Now(const char* section, const char* key, unsigned __int64* value)
{
    IniDocument document;
    document.Read(IniPath);
    ReadIniU64(document, section, key, value);
    return 1;
}

#endif
