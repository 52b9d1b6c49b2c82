// The picture test: rendered by the dialog manager in every language of the program at 96 and
// 144 DPI (English at 96 DPI in this run, each other pair in a child run of this program), every
// label of the adapter page, the settings dialog, the about box, the adapters dialog and the
// history window fits its control in the dialog's own font, overlaps no other control and has a
// glyph for each of its characters, so no text is cut, hidden or drawn as empty boxes; the main
// window fits its page there too.
#include "MainWindowTestSupport.h"

#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "AboutDialog.h"
#include "LanguageResources.h"
#include "SettingsDialog.h"
#include "TrafficAlert.h"
#include "UiLanguage.h"
#include "Utf8Text.h"
#include "ModalDriver.h"
#include "resource.h"

namespace {

// Pixels at 96 DPI that the controls keep beside a text as they draw it.
const int CheckBoxWidth = 13;   // a check box's or radio button's box (half a digit follows)
const int GroupTextMargin = 7;  // a group box's text from each end of its frame
const int PushTextMargin = 3;   // a push button's text from each side of its face

std::wstring WideWindowText(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

std::string Utf8Of(const std::wstring& text)
{
    std::string out(text.size() * 3 + 1, '\0');
    out.resize(WideToUtf8(text.c_str(), &out[0], out.size()));
    return out;
}

// Whether the label is one whose text the control draws: statics of text and buttons.
bool IsLabel(HWND control, DWORD* type, bool* isStatic)
{
    char className[32] = "";
    GetClassNameA(control, className, sizeof(className));
    LONG style = GetWindowLongA(control, GWL_STYLE);
    *isStatic = _stricmp(className, "Static") == 0;
    *type = *isStatic ? (style & SS_TYPEMASK) : (style & BS_TYPEMASK);
    return (!*isStatic && _stricmp(className, "Button") == 0) ||
           (*isStatic && (*type == SS_LEFT || *type == SS_CENTER || *type == SS_RIGHT));
}

// Appends a line to misfits for each character of the text that the font has no glyph for.
void CheckGlyphs(HDC dc, const std::wstring& text, std::string& misfits)
{
    std::vector<WORD> glyphs(text.size() + 1);
    if (GetGlyphIndicesW(dc, text.c_str(), (int)text.size(), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        misfits += "\n  \"" + Utf8Of(text) + "\" cannot be looked up in its font";
        return;
    }
    for (size_t i = 0; i < text.size(); i++)
        if (text[i] >= L' ' && glyphs[i] == 0xFFFF) {
            char code[8];
            snprintf(code, sizeof(code), "%04X", (unsigned)text[i]);
            misfits += "\n  \"" + Utf8Of(text) + "\" has no glyph for U+" + code;
            return;  // one is enough to tell
        }
}

// Measures the control's current text as the control draws it; appends a line to misfits when
// it needs more room than the control has or its font lacks a character. Controls without a
// label (edits, icons) pass.
void CheckLabel(HWND control, std::string& misfits)
{
    DWORD type = 0;
    bool isStatic = false;
    std::wstring text = WideWindowText(control);
    if (text.empty() || !IsLabel(control, &type, &isStatic))
        return;

    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
    RECT client;
    GetClientRect(control, &client);
    SIZE room = {client.right, client.bottom};
    UINT format = DT_CALCRECT | DT_EXPANDTABS | (isStatic ? DT_WORDBREAK : DT_SINGLELINE);
    if (!isStatic) {
        SIZE digit;
        GetTextExtentPoint32A(dc, "0", 1, &digit);
        bool check = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                     type == BS_AUTORADIOBUTTON;
        room.cx -= check ? CheckBoxWidth + digit.cx / 2
                         : 2 * (type == BS_GROUPBOX ? GroupTextMargin : PushTextMargin);
    }
    RECT needed = {0, 0, room.cx, 0};
    DrawTextW(dc, text.c_str(), -1, &needed, format);
    CheckGlyphs(dc, text, misfits);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (needed.right > room.cx || needed.bottom > room.cy)
        misfits += "\n  \"" + Utf8Of(text) + "\" needs " + std::to_string(needed.right) + "x" +
                   std::to_string(needed.bottom) + ", has " + std::to_string(room.cx) + "x" +
                   std::to_string(room.cy);
}

// Whether a visible label lies over another visible control (a group box frames others).
void CheckOverlaps(HWND dialog, std::string& misfits)
{
    std::vector<HWND> shown;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT)) {
        DWORD type = 0;
        bool isStatic = false;
        bool label = IsLabel(child, &type, &isStatic);
        if (IsWindowVisible(child) && !(label && !isStatic && type == BS_GROUPBOX))
            shown.push_back(child);
    }
    for (size_t i = 0; i < shown.size(); i++) {
        DWORD type = 0;
        bool isStatic = false;
        if (!IsLabel(shown[i], &type, &isStatic))
            continue;
        RECT label, other, both;
        GetWindowRect(shown[i], &label);
        for (size_t j = 0; j < shown.size(); j++) {
            GetWindowRect(shown[j], &other);
            if (j != i && IntersectRect(&both, &label, &other))
                misfits += "\n  \"" + Utf8Of(WideWindowText(shown[i])) + "\" overlaps \"" +
                           Utf8Of(WideWindowText(shown[j])) + "\"";
        }
    }
}

void CheckLabels(HWND dialog, std::string& misfits)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL;
         child = GetWindow(child, GW_HWNDNEXT))
        CheckLabel(child, misfits);
    CheckOverlaps(dialog, misfits);
}

// A text of the program's language set into a control and checked there.
void CheckText(HWND control, UINT id, std::string& misfits)
{
    wchar_t text[512];
    LoadTextW(id, text, 512);
    SetWindowTextW(control, text);
    CheckLabel(control, misfits);
}

int ScreenDpi()
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi;
}

// Set in the child run: the DPI its prefix was given, and the language it draws.
const char ChildDpiVariable[] = "BRISVANE_TEST_DPI";
const char ChildLanguageVariable[] = "BRISVANE_TEST_LANGUAGE";
const int HigherDpi = 144;
const DWORD ChildRunMs = 240000;

int ExpectedDpi()
{
    const char* text = getenv(ChildDpiVariable);
    return text != NULL ? atoi(text) : 96;
}

// The language of this run for as long as it lives: English unless the parent chose one.
class RunLanguage {
public:
    RunLanguage()
    {
        const char* code = getenv(ChildLanguageVariable);
        LanguageResources.Language = code != NULL ? ChooseUiLanguage(code, 0, NULL) : EnglishLanguage;
    }
    ~RunLanguage() { LanguageResources.Language = EnglishLanguage; }
};

// A dialog's caption in the program's language, as GetWindowTextA reads it (what ModalStep
// compares).
std::string DialogCaption(int templateId)
{
    const WORD* p = (const WORD*)FindLanguageResource((LPCWSTR)RT_DIALOG,
                                                      MAKEINTRESOURCEW(templateId), NULL);
    if (p == NULL)
        return "";
    bool extended = p[0] == 1 && p[1] == 0xFFFF;
    p += extended ? 13 : 9;
    for (int skipped = 0; skipped < 2; skipped++)  // menu and class
        p += *p == 0xFFFF ? 2 : wcslen((const wchar_t*)p) + 1;
    char caption[256] = "";
    WideCharToMultiByte(CP_ACP, 0, (const wchar_t*)p, -1, caption, sizeof(caption), NULL, NULL);
    return caption;
}

// Wine's DPI is this value of the prefix, read as each process starts.
const wchar_t DesktopKey[] = L"Control Panel\\Desktop";
const wchar_t LogPixelsValue[] = L"LogPixels";

}  // namespace

TEST_F(MainWindowTest, NoLabelOfThePageOrTheSettingsDialogIsCut)
{
    ASSERT_EQ(ExpectedDpi(), ScreenDpi());
    RunLanguage language;
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    HWND page = PageWindow(TabMonitor(0));
    std::string misfits;
    CheckLabels(page, misfits);
    // The texts the program writes into the status and alert labels as well.
    HWND status = GetDlgItem(page, IDC_PAGE_STATUS);
    for (UINT id = IDS_STATUS_NOT_CONNECTED; id <= IDS_STATUS_CONNECTED; id++)
        CheckText(status, id, misfits);
    const AlertVerdict verdicts[] = {AlertInPassed, AlertOutPassed, AlertSumPassed};
    for (AlertVerdict verdict : verdicts)
        CheckText(GetDlgItem(page, IDC_PAGE_ALERT), AlertVerdictTextId(verdict), misfits);

    {
        ModalStep step(DialogCaption(IDD_SETTINGS).c_str(), [&](HWND dialog) {
            CheckLabels(dialog, misfits);
            // Each reset type writes its own text into the reset label.
            const int radios[] = {IDC_SET_NEVER, IDC_SET_DAILY, IDC_SET_MONTHLY, IDC_SET_ONDATE};
            for (int radio : radios) {
                SendDlgItemMessageA(dialog, radio, BM_CLICK, 0, 0);
                CheckLabel(GetDlgItem(dialog, IDC_SET_RESETLABEL), misfits);
            }
            // The reset button's other text, and the note it shows.
            SendDlgItemMessageA(dialog, IDC_SET_RESETCOUNTERS, BM_CLICK, 0, 0);
            CheckLabel(GetDlgItem(dialog, IDC_SET_RESETCOUNTERS), misfits);
            CheckLabel(GetDlgItem(dialog, IDC_SET_RESETNOTE), misfits);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        SendMessageA(main.Window, WM_COMMAND, ID_APP_SETTINGS, 0);
        EXPECT_TRUE(step.Ran());
    }
    EXPECT_EQ("", misfits);
}

TEST_F(MainWindowTest, NoLabelOfTheAboutBoxTheAdaptersDialogOrTheHistoryWindowIsCut)
{
    ASSERT_EQ(ExpectedDpi(), ScreenDpi());
    RunLanguage language;
    fake.AddAdapter(2, 0xA1, "192.168.1.10");
    ASSERT_NE((HWND)NULL, Create());
    std::string misfits;
    // The modal dialogs the tray menu opens, each closed by its own button.
    const struct {
        int Template;
        UINT Command;
        WPARAM Close;
    } modals[] = {{IDD_ABOUT, ID_APP_ABOUT, IDOK}, {IDD_ADAPTERS, ID_TRAY_ADAPTERS, IDCANCEL}};
    for (const auto& modal : modals) {
        ModalStep step(DialogCaption(modal.Template).c_str(), [&](HWND dialog) {
            CheckLabels(dialog, misfits);
            PostMessageA(dialog, WM_COMMAND, modal.Close, 0);
        });
        SendMessageA(main.Window, WM_COMMAND, modal.Command, 0);
        EXPECT_TRUE(step.Ran()) << modal.Template;
    }
    SendMessageA(main.Window, WM_COMMAND, ID_APP_HISTORY, 0);
    HWND history = HistoryView().Window;
    ASSERT_NE((HWND)NULL, history);
    CheckLabels(history, misfits);
    // The line of an empty history, in the status line's width.
    if (LanguageResources.Language == EnglishLanguage)
        EXPECT_EQ(NO_HISTORY_TEXT, WindowText(GetDlgItem(history, IDC_HIST_STATUS)));
    wchar_t empty[512];
    LoadTextW(IDS_HIST_EMPTY, empty, 512);
    EXPECT_EQ(std::wstring(empty), WideWindowText(GetDlgItem(history, IDC_HIST_STATUS)));
    CheckLabel(GetDlgItem(history, IDC_HIST_STATUS), misfits);
    DestroyWindow(history);
    EXPECT_EQ("", misfits);
}

// The same pictures in every other language and DPI: this program again, in a child process
// per pair that starts with the prefix's DPI set, and for Chinese and Japanese with the dialog
// fonts replaced by one that has their characters, as on a Windows in those languages; the
// prefix goes back as it was afterwards. A run of its own (ctest's app_languages), as it takes
// long.
namespace {

const wchar_t SubstitutesKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes";
const wchar_t* const DialogFonts[] = {L"MS Shell Dlg", L"MS Shell Dlg 2"};
const wchar_t WideFont[] = L"WenQuanYi Micro Hei";

// A registry value set for a while, then put back as it was.
class HeldValue {
public:
    HeldValue(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* data,
              DWORD size)
        : Key(NULL), Name(name), Had(false), Size(sizeof(Before)), Type(0)
    {
        if (RegCreateKeyExW(root, path, 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &Key,
                            NULL) != ERROR_SUCCESS) {
            Key = NULL;
            return;
        }
        Had = RegQueryValueExW(Key, name, NULL, &Type, Before, &Size) == ERROR_SUCCESS;
        Set = RegSetValueExW(Key, name, 0, type, (const BYTE*)data, size) == ERROR_SUCCESS;
    }
    ~HeldValue()
    {
        if (Key == NULL)
            return;
        if (Had)
            RegSetValueExW(Key, Name, 0, Type, Before, Size);
        else
            RegDeleteValueW(Key, Name);
        RegCloseKey(Key);
    }
    bool Set = false;

private:
    HKEY Key;
    const wchar_t* Name;
    bool Had;
    BYTE Before[512];
    DWORD Size, Type;
};

// Runs the picture tests in a child at that DPI and language, with the pictures of the looks
// when asked; its exit code.
DWORD RunChild(DWORD dpi, const char* code, bool looks = false)
{
    HeldValue pixels(HKEY_CURRENT_USER, DesktopKey, LogPixelsValue, REG_DWORD, &dpi, sizeof(dpi));
    EXPECT_TRUE(pixels.Set);
    bool wide = strcmp(code, "zh-CN") == 0 || strcmp(code, "ja") == 0;
    std::vector<std::unique_ptr<HeldValue>> fonts;
    for (const wchar_t* font : DialogFonts)
        if (wide)
            fonts.emplace_back(new HeldValue(HKEY_LOCAL_MACHINE, SubstitutesKey, font, REG_SZ,
                                             WideFont, sizeof(WideFont)));
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(NULL, program, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(program) +
                           L"\" --gtest_brief=1 --gtest_filter=MainWindowTest.NoLabel*:"
                           L"MainWindowPlaceTest.IsAsBigAsItsPage*" +
                           (looks ? L":LookPictureTest.*" : L"");
    SetEnvironmentVariableW(L"BRISVANE_TEST_DPI", std::to_wstring(dpi).c_str());
    SetEnvironmentVariableA(ChildLanguageVariable, code);
    STARTUPINFOW start = {};
    start.cb = sizeof(start);
    PROCESS_INFORMATION child = {};
    BOOL started = CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &start,
                                  &child);
    SetEnvironmentVariableW(L"BRISVANE_TEST_DPI", NULL);
    SetEnvironmentVariableA(ChildLanguageVariable, NULL);
    DWORD waited = started ? WaitForSingleObject(child.hProcess, ChildRunMs) : WAIT_FAILED;
    DWORD exitCode = 1;
    if (started) {
        if (waited != WAIT_OBJECT_0)
            TerminateProcess(child.hProcess, 1);
        GetExitCodeProcess(child.hProcess, &exitCode);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
    }
    EXPECT_TRUE(started);
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, waited) << code << " at " << dpi;
    return exitCode;
}

}  // namespace

TEST(DpiPictureTest, At144DpiNoLabelIsCutAndTheWindowFitsItsPage)
{
    if (getenv(ChildDpiVariable) != NULL)
        GTEST_SKIP() << "the child run itself";
    EXPECT_EQ(0u, RunChild(HigherDpi, "en", true))
        << "the child run at 144 DPI failed: its output is above";
}

TEST(DpiPictureTest, InEveryLanguageAtBothDpisNoLabelIsCutOrOverlapsOrLacksAGlyph)
{
    if (getenv(ChildDpiVariable) != NULL)
        GTEST_SKIP() << "the child run itself";
    if (getenv("BRISVANE_TEST_LANGUAGES") == NULL)
        GTEST_SKIP() << "run by ctest's app_languages";
    for (const UiLanguageEntry& entry : UiLanguages)
        for (DWORD dpi : {96, HigherDpi})
            if (entry.Id != EnglishLanguage)
                EXPECT_EQ(0u, RunChild(dpi, entry.Code))
                    << "the child run in " << entry.Code << " at " << dpi
                    << " DPI failed: its output is above";
}
