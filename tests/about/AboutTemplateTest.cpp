// Dialog template 103, the about box, control by control.
#include <windows.h>

#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "resource.h"

namespace {

// A text of this program's version resource, read as Windows reads it.
std::string VersionText(const char* name)
{
    HRSRC found = FindResourceA(NULL, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    if (found == NULL)
        return "(no version resource)";
    const BYTE* data = (const BYTE*)LockResource(LoadResource(NULL, found));
    // VerQueryValue may write into the block: it works on a copy.
    std::vector<BYTE> block(data, data + SizeofResource(NULL, found));
    block.resize(block.size() * 2);
    char* value = NULL;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), (void**)&value, &length) || length == 0)
        return "(no " + std::string(name) + ")";
    return value;
}

}  // namespace

TEST(AboutTemplate, ControlsInTabOrder)
{
    const DWORD text = WS_VISIBLE | SS_LEFT;
    const DWORD link = text | SS_NOTIFY;  // lets the links see clicks
    ExpectDialogTemplate(IDD_ABOUT, WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "About", {
        {IDC_ABOUT_ICON, "Static", WS_VISIBLE | SS_ICON, "#101"},
        {IDC_ABOUT_VERSION, "Static", text | SS_NOPREFIX, ""},
        {-1, "Static", text, "Copyright (C) 2026\nthe Brisvane developers"},
        {IDOK, "Button", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, "OK"},
        {IDC_ABOUT_MAIL, "Static", link, ""},
        {-1, "Static", text, "Donations accepted. See Web site for details:"},
        {IDC_ABOUT_WEB, "Static", link, ""},
        {IDC_ABOUT_DATA, "Static", WS_VISIBLE | SS_NOPREFIX | SS_PATHELLIPSIS, ""},
    });
}

// The owner notice of the template above is the copyright of the version resource (and of
// LICENSE), on two lines.
TEST(AboutTemplate, NoticeAgreesWithVersionResource)
{
    EXPECT_EQ("Copyright (C) 2026 the Brisvane developers", VersionText("LegalCopyright"));
}
