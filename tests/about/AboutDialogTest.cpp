// The about box with the real dialog, run modally: the test steps run inside its loop. The
// shell is replaced, so no click opens anything.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "ModalDriver.h"
#include "TestSupport.h"
#include "AboutDialog.h"
#include "BrisvaneVersion.h"
#include "Contrast.h"
#include "Palette.h"
#include "ThemePlatform.h"
#include "Utf8Text.h"
#include "resource.h"

namespace {

struct ShellCall {
    int Count;
    HWND Window;
    std::string Verb;
    std::string File;
    bool HasParameters;
    bool HasDirectory;
    INT Show;
};

ShellCall LastShellCall;
HINSTANCE ShellAnswer = (HINSTANCE)42;

std::string Utf8(LPCWSTR text)
{
    char buffer[256];
    WideToUtf8(text, buffer, sizeof(buffer));
    return buffer;
}

HINSTANCE WINAPI FakeShellExecute(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT show)
{
    LastShellCall.Count++;
    LastShellCall.Window = window;
    LastShellCall.Verb = verb != NULL ? Utf8(verb) : "(null)";
    LastShellCall.File = file != NULL ? Utf8(file) : "(null)";
    LastShellCall.HasParameters = parameters != NULL;
    LastShellCall.HasDirectory = directory != NULL;
    LastShellCall.Show = show;
    return ShellAnswer;
}

HCURSOR ProgramHandCursor()
{
    return LoadCursorA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDC_HANDCURSOR));
}

void Click(HWND control)
{
    EXPECT_EQ(0, SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)));
    SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

void EndWithOk(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
}

INT_PTR RunAbout(AboutDialog& dialog, const DialogStep& step)
{
    INT_PTR result = -3;
    RunWithStep([&]() { result = dialog.RunModal(NULL, IDD_ABOUT); }, "About", step);
    return result;
}

// The dialog's answer to a colour request for one of its statics, and the state it left in
// the device context.
struct ColorAnswer {
    LRESULT Brush;
    COLORREF Text;
    int BackgroundMode;
    HFONT Font;
    LOGFONTA FontDescription;
};

ColorAnswer AskStaticColors(HWND dialog, HWND control)
{
    ColorAnswer answer = {};
    HDC dc = GetDC(control);
    HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
    // Something no handler would set, to see whether the request changed it.
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    answer.Brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)control);
    answer.Text = GetTextColor(dc);
    answer.BackgroundMode = GetBkMode(dc);
    answer.Font = (HFONT)GetCurrentObject(dc, OBJ_FONT);
    GetObjectA(answer.Font, sizeof(answer.FontDescription), &answer.FontDescription);
    SelectObject(dc, originalFont);
    ReleaseDC(control, dc);
    return answer;
}

void ExpectLinkColors(HWND dialog, HWND link, COLORREF color)
{
    ColorAnswer answer = AskStaticColors(dialog, link);
    EXPECT_EQ((LRESULT)GetStockObject(NULL_BRUSH), answer.Brush);
    EXPECT_EQ(color, answer.Text);
    EXPECT_EQ(TRANSPARENT, answer.BackgroundMode);
    EXPECT_TRUE(answer.FontDescription.lfUnderline);
}

class AboutBox : public testing::Test {
protected:
    void SetUp() override
    {
        LastShellCall = ShellCall();
        LastShellCall.Count = 0;
        ShellAnswer = (HINSTANCE)42;
        OpenLinkTarget = FakeShellExecute;
    }
    void TearDown() override { OpenLinkTarget = ShellExecuteW; }

    // Clicks the link with the shell answering code; returns the box the click showed, if any.
    MessageBoxReading ClickAnswered(HWND link, INT_PTR code)
    {
        ShellAnswer = (HINSTANCE)code;
        AnswerMessageBox("Brisvane");
        Click(link);
        return StopAnsweringMessageBoxes();
    }
};

// Sees the messages reflected to a plain control and answers them.
class ReflectionRecorder : public WindowObject {
public:
    BEGIN_MSG_MAP(ReflectionRecorder)
        MESSAGE_RANGE_HANDLER(REFLECTION_BASE, REFLECTION_BASE + WM_USER - 1, OnReflected)
    END_MSG_MAP()
    LRESULT OnReflected(UINT message, WPARAM wParam, LPARAM, BOOL&)
    {
        LastMessage = message;
        LastWParam = wParam;
        return 5150;
    }
    UINT LastMessage = 0;
    WPARAM LastWParam = 0;
};

}  // namespace

// Where an import stub jumps to: a pointer taken in static data may be the stub's address.
void* ThroughImportStub(void* code)
{
    const BYTE* bytes = (const BYTE*)code;
    if (bytes[0] != 0xFF || bytes[1] != 0x25)
        return code;
#ifdef _WIN64
    return *(void**)(bytes + 6 + *(const INT32*)(bytes + 2));
#else
    return **(void***)(bytes + 2);
#endif
}

TEST(AboutShell, OpensThroughTheShellByDefault)
{
    void* shell = (void*)GetProcAddress(GetModuleHandleA("shell32.dll"), "ShellExecuteW");
    ASSERT_NE((void*)NULL, shell);
    EXPECT_EQ(shell, ThroughImportStub((void*)OpenLinkTarget));
}

TEST_F(AboutBox, ShowsVersionLineAndLinkTextsWithLinksSubclassed)
{
    AboutDialog dialog;
    RunAbout(dialog, [&](HWND window) {
        EXPECT_EQ(window, dialog.Window);
        EXPECT_EQ("About", WindowText(window));
        EXPECT_EQ("Brisvane " BRISVANE_VERSION_TEXT,
                  WindowText(GetDlgItem(window, IDC_ABOUT_VERSION)));

        HWND mail = GetDlgItem(window, IDC_ABOUT_MAIL);
        HWND web = GetDlgItem(window, IDC_ABOUT_WEB);
        EXPECT_EQ("contact@brisvane.example", WindowText(mail));
        EXPECT_EQ("https://www.brisvane.example/", WindowText(web));
        EXPECT_EQ(mail, dialog.MailLink.Window);
        EXPECT_EQ(web, dialog.WebLink.Window);
        EXPECT_EQ(&dialog.MailLink, WindowObject::FromHandle(mail));
        EXPECT_EQ(&dialog.WebLink, WindowObject::FromHandle(web));
        EXPECT_EQ((WNDPROC)SharedWindowProc, (WNDPROC)GetWindowLongPtrW(mail, GWLP_WNDPROC));
        EXPECT_NE((WNDPROC)DefWindowProcA, dialog.MailLink.UnhandledProc);
        EXPECT_NE((WNDPROC)NULL, dialog.WebLink.UnhandledProc);
        // The icon static shows the program's icon.
        EXPECT_NE(0, SendDlgItemMessageA(window, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
        EndWithOk(window);
    });
    EXPECT_EQ(NULL, dialog.MailLink.Window);
    EXPECT_EQ(NULL, dialog.WebLink.Window);
    EXPECT_EQ(0, LastShellCall.Count);
}

// The copyright notice is two lines in a fixed box: a longer line would wrap and push the
// second one out of sight.
TEST_F(AboutBox, NoticeLinesFitTheirBox)
{
    AboutDialog dialog;
    RunAbout(dialog, [&](HWND window) {
        HWND notice = NULL;
        for (HWND child = GetWindow(window, GW_CHILD); child != NULL;
             child = GetWindow(child, GW_HWNDNEXT))
            if (WindowText(child).compare(0, 9, "Copyright") == 0)
                notice = child;
        ASSERT_NE((HWND)NULL, notice);
        std::string text = WindowText(notice);
        RECT box;
        GetClientRect(notice, &box);
        HDC dc = GetDC(notice);
        HGDIOBJ previous = SelectObject(dc, (HFONT)SendMessageA(notice, WM_GETFONT, 0, 0));
        RECT needed = box;
        DrawTextA(dc, text.c_str(), (int)text.size(), &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        TEXTMETRICA metrics;
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(notice, dc);
        EXPECT_LE(needed.right - needed.left, box.right - box.left) << text;
        EXPECT_EQ(2 * metrics.tmHeight, needed.bottom - needed.top) << text;
        EXPECT_LE(needed.bottom - needed.top, box.bottom - box.top) << text;
        EndWithOk(window);
    });
}

TEST_F(AboutBox, RunsOverItsOwner)
{
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 50, 50, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
    ASSERT_NE((HWND)NULL, owner);
    HWND seenOwner = NULL;
    RunWithStep([&]() { RunAboutDialog(owner); }, "About", [&](HWND window) {
        seenOwner = GetWindow(window, GW_OWNER);
        EndWithOk(window);
    });
    EXPECT_EQ(owner, seenOwner);
    DestroyWindow(owner);
}

TEST_F(AboutBox, HandCursorAnywhereOverALink)
{
    AboutDialog dialog;
    RunAbout(dialog, [&](HWND window) {
        const int hitCodes[] = {HTCLIENT, HTBORDER, HTNOWHERE, HTTRANSPARENT};
        for (int control : {IDC_ABOUT_MAIL, IDC_ABOUT_WEB}) {
            HWND link = GetDlgItem(window, control);
            for (int hit : hitCodes) {
                SetCursor(LoadCursor(NULL, IDC_ARROW));
                EXPECT_EQ(1, SendMessageA(link, WM_SETCURSOR, (WPARAM)link,
                                          MAKELPARAM(hit, WM_MOUSEMOVE)));
                EXPECT_EQ(ProgramHandCursor(), GetCursor()) << control << " hit " << hit;
            }
        }
        // A plain static leaves the cursor to the dialog.
        SetCursor(LoadCursor(NULL, IDC_ARROW));
        HWND version = GetDlgItem(window, IDC_ABOUT_VERSION);
        SendMessageA(version, WM_SETCURSOR, (WPARAM)version, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_NE(ProgramHandCursor(), GetCursor());
        EndWithOk(window);
    });
}

TEST_F(AboutBox, ReflectedColourRequestUnderlinesAndColoursTheLinksOnly)
{
    AboutDialog dialog;
    RunAbout(dialog, [&](HWND window) {
        for (int control : {IDC_ABOUT_MAIL, IDC_ABOUT_WEB}) {
            SCOPED_TRACE(control);
            HWND link = GetDlgItem(window, control);
            ExpectLinkColors(window, link, RGB(0, 0, 255));
            // An underlined copy of the dialog's font, which the control keeps too.
            LOGFONTA own;
            ASSERT_EQ((int)sizeof(own),
                      GetObjectA((HFONT)SendMessageA(window, WM_GETFONT, 0, 0), sizeof(own), &own));
            ColorAnswer answer = AskStaticColors(window, link);
            EXPECT_FALSE(own.lfUnderline);
            EXPECT_EQ(own.lfHeight, answer.FontDescription.lfHeight);
            EXPECT_EQ(own.lfWeight, answer.FontDescription.lfWeight);
            EXPECT_STREQ(own.lfFaceName, answer.FontDescription.lfFaceName);
            EXPECT_EQ((LRESULT)answer.Font, SendMessageA(link, WM_GETFONT, 0, 0));
        }

        // A plain static gets the dialog manager's default colours.
        ColorAnswer plain = AskStaticColors(window, GetDlgItem(window, IDC_ABOUT_VERSION));
        EXPECT_NE(0, plain.Brush);
        EXPECT_NE((LRESULT)GetStockObject(NULL_BRUSH), plain.Brush);
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), plain.Text);
        EXPECT_EQ(OPAQUE, plain.BackgroundMode);
        EXPECT_FALSE(plain.FontDescription.lfUnderline);
        EndWithOk(window);
    });
}

static bool HighContrastOn()
{
    return true;
}

TEST_F(AboutBox, InHighContrastTheLinksTakeTheSchemesColourThatReads)
{
    const ThemePlatformCalls saved = ThemePlatform;
    ThemePlatform.HighContrastOn = HighContrastOn;
    AboutDialog dialog;
    RunAbout(dialog, [&](HWND window) {
        const COLORREF want = MakePalette(LookHighContrast, ReadSystemColours()).Link;
        for (int control : {IDC_ABOUT_MAIL, IDC_ABOUT_WEB}) {
            SCOPED_TRACE(control);
            ExpectLinkColors(window, GetDlgItem(window, control), want);
        }
        EXPECT_GE(ContrastRatio(want, GetSysColor(COLOR_BTNFACE)), ReadableContrast);
        EndWithOk(window);
    });
    ThemePlatform = saved;
}

// The longest run of pixels of the colour in any row of the control as it paints itself.
static int LongestRunAsPainted(HWND control, COLORREF color, int* rowOfRun)
{
    RECT client;
    GetClientRect(control, &client);
    HDC screen = GetDC(control);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ original = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, client.right, client.bottom, WHITENESS);
    SendMessageA(control, WM_PAINT, (WPARAM)memory, 0);
    int longest = 0;
    for (int y = 0; y < client.bottom; ++y) {
        int run = 0;
        for (int x = 0; x < client.right; ++x) {
            run = GetPixel(memory, x, y) == color ? run + 1 : 0;
            if (run > longest) {
                longest = run;
                *rowOfRun = y;
            }
        }
    }
    SelectObject(memory, original);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(control, screen);
    return longest;
}

TEST_F(AboutBox, LinksPaintUnderlinedInTheirColour)
{
    AboutDialog dialog;
    RunAbout(dialog, [&](HWND window) {
        HWND mail = GetDlgItem(window, IDC_ABOUT_MAIL);
        HWND web = GetDlgItem(window, IDC_ABOUT_WEB);
        int row = -1;
        // No letter is this wide: only an underline makes such a run.
        EXPECT_GT(LongestRunAsPainted(mail, RGB(0, 0, 255), &row), 40);
        EXPECT_GT(row, 0);
        EXPECT_GT(LongestRunAsPainted(web, RGB(0, 0, 255), &row), 40);
        Click(web);
        EXPECT_GT(LongestRunAsPainted(web, RGB(128, 0, 0), &row), 40);
        EXPECT_EQ(0, LongestRunAsPainted(web, RGB(0, 0, 255), &row));
        // The plain static next to it: no link colour, no underline.
        HWND version = GetDlgItem(window, IDC_ABOUT_VERSION);
        EXPECT_EQ(0, LongestRunAsPainted(version, RGB(0, 0, 255), &row));
        EXPECT_LT(LongestRunAsPainted(version, GetSysColor(COLOR_WINDOWTEXT), &row), 20);
        EndWithOk(window);
    });
}

TEST_F(AboutBox, UnderlineFontIsMadeOnceAndDeletedWithTheDialogObject)
{
    HFONT mailFont = NULL;
    HFONT webFont = NULL;
    {
        AboutDialog dialog;
        RunAbout(dialog, [&](HWND window) {
            HWND mail = GetDlgItem(window, IDC_ABOUT_MAIL);
            ColorAnswer first = AskStaticColors(window, mail);
            ColorAnswer second = AskStaticColors(window, mail);
            EXPECT_EQ(first.Font, second.Font);
            EXPECT_EQ(dialog.MailLink.UnderlineFont.Get(), first.Font);
            EXPECT_EQ(0, dialog.MailLink.FontPending);
            AskStaticColors(window, GetDlgItem(window, IDC_ABOUT_WEB));
            EXPECT_NE(dialog.MailLink.UnderlineFont.Get(), dialog.WebLink.UnderlineFont.Get());
            EndWithOk(window);
        });
        mailFont = dialog.MailLink.UnderlineFont.Get();
        webFont = dialog.WebLink.UnderlineFont.Get();
        ASSERT_NE((HFONT)NULL, mailFont);
        ASSERT_NE((HFONT)NULL, webFont);
        // The dialog has ended, the object still lives: the fonts too.
        EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(mailFont));
        EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(webFont));
    }
    EXPECT_EQ(0u, GetObjectType(mailFont));
    EXPECT_EQ(0u, GetObjectType(webFont));
}

TEST_F(AboutBox, ClickOpensMailtoForTheAddressAndTheWebAddressAsItIs)
{
    AboutDialog dialog;
    RunAbout(dialog, [&](HWND window) {
        HWND mail = GetDlgItem(window, IDC_ABOUT_MAIL);
        HWND web = GetDlgItem(window, IDC_ABOUT_WEB);

        Click(mail);
        EXPECT_EQ(1, LastShellCall.Count);
        EXPECT_EQ(NULL, LastShellCall.Window);
        EXPECT_EQ("open", LastShellCall.Verb);
        EXPECT_EQ("mailto:contact@brisvane.example", LastShellCall.File);
        EXPECT_FALSE(LastShellCall.HasParameters);
        EXPECT_FALSE(LastShellCall.HasDirectory);
        EXPECT_EQ(SW_SHOWNORMAL, LastShellCall.Show);
        EXPECT_EQ(1, dialog.MailLink.Visited);
        EXPECT_EQ(0, dialog.WebLink.Visited);
        ExpectLinkColors(window, mail, RGB(128, 0, 0));
        ExpectLinkColors(window, web, RGB(0, 0, 255));

        Click(web);
        EXPECT_EQ(2, LastShellCall.Count);
        EXPECT_EQ("https://www.brisvane.example/", LastShellCall.File);
        ExpectLinkColors(window, web, RGB(128, 0, 0));

        // Any text with "@" is mail; the version static is no link and opens nothing.
        SetWindowTextA(web, "someone@example.org");
        Click(web);
        EXPECT_EQ("mailto:someone@example.org", LastShellCall.File);
        Click(GetDlgItem(window, IDC_ABOUT_VERSION));
        EXPECT_EQ(3, LastShellCall.Count);
        EndWithOk(window);
    });
}

TEST_F(AboutBox, TextOver120CharactersIsCutTo120)
{
    AboutDialog dialog;
    RunAbout(dialog, [&](HWND window) {
        HWND web = GetDlgItem(window, IDC_ABOUT_WEB);
        std::string longWeb = "https://www.brisvane.example/" + std::string(150, 'w');
        SetWindowTextA(web, longWeb.c_str());
        Click(web);
        EXPECT_EQ(longWeb.substr(0, 120), LastShellCall.File);

        std::string exact(120, 'x');
        SetWindowTextA(web, exact.c_str());
        Click(web);
        EXPECT_EQ(exact, LastShellCall.File);

        HWND mail = GetDlgItem(window, IDC_ABOUT_MAIL);
        std::string longMail = "contact@" + std::string(150, 'm');
        SetWindowTextA(mail, longMail.c_str());
        Click(mail);
        EXPECT_EQ("mailto:" + longMail.substr(0, 120), LastShellCall.File);

        // The "@" counts only within the 120 characters kept.
        std::string lateAt = std::string(125, 'a') + "@example.org";
        SetWindowTextA(mail, lateAt.c_str());
        Click(mail);
        EXPECT_EQ(lateAt.substr(0, 120), LastShellCall.File);
        EndWithOk(window);
    });
}

TEST_F(AboutBox, FailedOpenShowsTheShellCodeInHexAndTheLinkStaysBlue)
{
    AboutDialog dialog;
    RunAbout(dialog, [&](HWND window) {
        HWND mail = GetDlgItem(window, IDC_ABOUT_MAIL);
        HWND web = GetDlgItem(window, IDC_ABOUT_WEB);

        MessageBoxReading box = ClickAnswered(mail, 2);
        EXPECT_TRUE(box.Found);
        EXPECT_EQ("Fail to execute associated application.\nCode: 0x2", box.Text);
        EXPECT_EQ(window, box.Owner);
        EXPECT_EQ(LoadIcon(NULL, IDI_ERROR), box.Icon);
        EXPECT_EQ(1, box.Buttons);
        EXPECT_EQ(0, dialog.MailLink.Visited);
        ExpectLinkColors(window, mail, RGB(0, 0, 255));

        box = ClickAnswered(web, 0);
        EXPECT_TRUE(box.Found);
        EXPECT_EQ("Fail to execute associated application.\nCode: 0", box.Text);
        EXPECT_EQ(0, dialog.WebLink.Visited);

        // 32 and below are failures; above is success, with no box.
        box = ClickAnswered(web, 32);
        EXPECT_TRUE(box.Found);
        EXPECT_EQ("Fail to execute associated application.\nCode: 0x20", box.Text);
        EXPECT_EQ(0, dialog.WebLink.Visited);
        box = ClickAnswered(web, 33);
        EXPECT_FALSE(box.Found);
        EXPECT_EQ(1, dialog.WebLink.Visited);
        ExpectLinkColors(window, web, RGB(128, 0, 0));

        // A failure after a success leaves the link visited.
        box = ClickAnswered(web, 5);
        EXPECT_TRUE(box.Found);
        EXPECT_EQ("Fail to execute associated application.\nCode: 0x5", box.Text);
        EXPECT_EQ(1, dialog.WebLink.Visited);

        // The dialog is still open after each box.
        EXPECT_TRUE(IsWindowVisible(window));
        EndWithOk(window);
    });
}

TEST_F(AboutBox, SecondOpeningShowsBothLinksUnvisited)
{
    RunWithStep([]() { RunAboutDialog(NULL); }, "About", [](HWND window) {
        HWND mail = GetDlgItem(window, IDC_ABOUT_MAIL);
        HWND web = GetDlgItem(window, IDC_ABOUT_WEB);
        Click(mail);
        Click(web);
        ExpectLinkColors(window, mail, RGB(128, 0, 0));
        ExpectLinkColors(window, web, RGB(128, 0, 0));
        EndWithOk(window);
    });
    EXPECT_EQ(2, LastShellCall.Count);
    RunWithStep([]() { RunAboutDialog(NULL, "C:\\Users\\u\\AppData\\Roaming\\Brisvane"); }, "About",
                [](HWND window) {
        ExpectLinkColors(window, GetDlgItem(window, IDC_ABOUT_MAIL), RGB(0, 0, 255));
        ExpectLinkColors(window, GetDlgItem(window, IDC_ABOUT_WEB), RGB(0, 0, 255));
        char text[MAX_PATH] = "";
        GetDlgItemTextA(window, IDC_ABOUT_DATA, text, sizeof(text));
        EXPECT_STREQ("Data folder: C:\\Users\\u\\AppData\\Roaming\\Brisvane", text);
        EndWithOk(window);
    });
}

TEST_F(AboutBox, EnterEndsWithOkAndEscAndCloseWithCancel)
{
    AboutDialog enter;
    EXPECT_EQ(IDOK, RunAbout(enter, [](HWND window) {
                  HWND target = GetFocus() != NULL ? GetFocus() : GetDlgItem(window, IDOK);
                  PostMessageA(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
                  PostMessageA(target, WM_KEYUP, VK_RETURN, 0xC01C0001);
              }));

    AboutDialog escape;
    EXPECT_EQ(IDCANCEL, RunAbout(escape, [](HWND window) {
                  HWND target = GetFocus() != NULL ? GetFocus() : GetDlgItem(window, IDOK);
                  PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                  PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
              }));

    AboutDialog button;
    EXPECT_EQ(IDOK, RunAbout(button, [](HWND window) {
                  SendDlgItemMessageA(window, IDOK, BM_CLICK, 0, 0);
              }));

    AboutDialog caption;
    EXPECT_EQ(IDCANCEL, RunAbout(caption, [](HWND window) {
                  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
              }));
}

TEST_F(AboutBox, ReflectsNotificationsToTheControlTheyAreAbout)
{
    AboutDialog dialog;
    ReflectionRecorder recorder;
    RunAbout(dialog, [&](HWND window) {
        HWND version = GetDlgItem(window, IDC_ABOUT_VERSION);
        ASSERT_TRUE(recorder.SubclassWindow(version));

        SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_VERSION, STN_CLICKED),
                     (LPARAM)version);
        EXPECT_EQ((UINT)(REFLECTION_BASE + WM_COMMAND), recorder.LastMessage);
        EXPECT_EQ(MAKEWPARAM(IDC_ABOUT_VERSION, STN_CLICKED), recorder.LastWParam);
        EXPECT_EQ(5150, GetWindowLongPtrA(window, DWLP_MSGRESULT));

        NMHDR header = {version, IDC_ABOUT_VERSION, (UINT)NM_CLICK};
        recorder.LastMessage = 0;
        EXPECT_EQ(5150, SendMessageA(window, WM_NOTIFY, IDC_ABOUT_VERSION, (LPARAM)&header));
        EXPECT_EQ((UINT)(REFLECTION_BASE + WM_NOTIFY), recorder.LastMessage);

        // A colour request's answer is returned as it is.
        HDC dc = GetDC(version);
        EXPECT_EQ(5150, SendMessageA(window, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)version));
        ReleaseDC(version, dc);
        EXPECT_EQ((UINT)(REFLECTION_BASE + WM_CTLCOLORSTATIC), recorder.LastMessage);

        // No control named: nothing is reflected.
        recorder.LastMessage = 0;
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(40001, 0), 0);
        SendMessageA(window, WM_DRAWITEM, 0, 0);
        EXPECT_EQ(0u, recorder.LastMessage);

        // A link answers the other reflected messages as an unreflected window would.
        HWND mail = GetDlgItem(window, IDC_ABOUT_MAIL);
        NMHDR fromLink = {mail, IDC_ABOUT_MAIL, (UINT)NM_CLICK};
        EXPECT_EQ(0, SendMessageA(window, WM_NOTIFY, IDC_ABOUT_MAIL, (LPARAM)&fromLink));
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_MAIL, STN_CLICKED), (LPARAM)mail);
        EXPECT_EQ(0, GetWindowLongPtrA(window, DWLP_MSGRESULT));
        EXPECT_EQ(0, LastShellCall.Count);

        // IDOK is the dialog's own, even with a control named.
        recorder.LastMessage = 0;
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)version);
        EXPECT_EQ(0u, recorder.LastMessage);
    });
}
