// The windowing layer with real windows: binding from the first message, result rules,
// default processing, subclassing and the last message.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "TestSupport.h"
#include "WindowObject.h"

namespace {

const wchar_t TestClass[] = L"BrisvaneLayerTest";

ATOM RegisterTestClass()
{
    WNDCLASSEXW wc = {};
    wc.lpfnWndProc = StartWindowProc;
    wc.lpszClassName = TestClass;
    return AtlModuleRegisterWndClassInfo(&wc);
}

// Records every message before its map sees it.
class RecordingWindow : public WindowObject {
public:
    BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                      DWORD mapId) override
    {
        Messages.push_back(message);
        if (Messages.size() == 1)
            BoundAtFirst = (Window == window && FromHandle(window) == this);
        return MapBody(window, message, wParam, lParam, result, mapId);
    }
    BOOL MapBody(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                 DWORD dwMsgMapID);

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&)
    {
        if (FailCreate)
            return -1;
        if (Child != NULL)
            Child->CreateBound(0, TestClass, L"child", WS_CHILD, 0, 0, 10, 10, Window, (HMENU)7);
        return 0;
    }
    LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        SetTextSeen = true;
        handled = FALSE;  // let the default procedure store the text
        return 0;
    }
    LRESULT OnUser(UINT, WPARAM wParam, LPARAM, BOOL&) { return (LRESULT)wParam * 2; }

    void OnLastMessage(HWND window) override
    {
        LastMessageCount++;
        WindowAtLast = Window;
        LastWasNcDestroy = !Messages.empty() && Messages.back() == WM_NCDESTROY;
        ProcedureAtLast = (WNDPROC)GetWindowLongPtrW(window, GWLP_WNDPROC);
    }

    std::vector<UINT> Messages;
    bool BoundAtFirst = false;
    bool FailCreate = false;
    bool SetTextSeen = false;
    RecordingWindow* Child = NULL;
    int LastMessageCount = 0;
    HWND WindowAtLast = (HWND)1;
    bool LastWasNcDestroy = false;
    WNDPROC ProcedureAtLast = NULL;
};

BOOL RecordingWindow::MapBody(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                              LRESULT& lResult, DWORD dwMsgMapID)
{
    BOOL bHandled = TRUE;
    (void)hWnd;
    (void)bHandled;
    switch (dwMsgMapID) {
    case 0:
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
        MESSAGE_HANDLER(WM_USER + 5, OnUser)
        break;
    default:
        break;
    }
    return FALSE;
}

// An in-memory dialog template: one static control with id 100.
struct DialogTemplate {
    std::vector<WORD> words;
    DialogTemplate()
    {
        DLGTEMPLATE header = {WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 1, 10, 10, 100, 60};
        Append(&header, sizeof(header));
        words.push_back(0);  // menu
        words.push_back(0);  // class
        words.push_back(0);  // title
        Align();
        DLGITEMTEMPLATE item = {WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 5, 5, 50, 10, 100};
        Append(&item, sizeof(item));
        words.push_back(0xFFFF);
        words.push_back(0x0082);  // static
        words.push_back(L'x');
        words.push_back(0);
        words.push_back(0);  // no creation data
    }
    void Append(const void* data, size_t size)
    {
        const WORD* p = (const WORD*)data;
        words.insert(words.end(), p, p + size / 2);
    }
    void Align()
    {
        if (words.size() % 2)
            words.push_back(0);
    }
    LPCDLGTEMPLATEA Get() const { return (LPCDLGTEMPLATEA)words.data(); }
};

class ResultDialog : public DialogObject {
public:
    BEGIN_MSG_MAP(ResultDialog)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInit)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnColor)
        NOTIFY_HANDLER(100, NM_CLICK, OnClick)
    END_MSG_MAP()

    LRESULT OnInit(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnColor(UINT, WPARAM, LPARAM, BOOL&) { return (LRESULT)GetStockObject(BLACK_BRUSH); }
    LRESULT OnClick(int, NMHDR*, BOOL&) { return 4321; }
    void OnLastMessage(HWND) override { LastMessageCount++; }
    int LastMessageCount = 0;
};

HWND CreateTestDialog(ResultDialog& dialog, const DialogTemplate& dt)
{
    AtlModuleAddCreateWndData(&dialog);
    HWND window =
        CreateDialogIndirectParamA(GetModuleHandleA(NULL), dt.Get(), NULL, StartDialogProc, 0);
    AtlModuleRemoveCreateWndData(&dialog);
    return window;
}

class SubclassedStatic : public WindowObject {
public:
    BEGIN_MSG_MAP(SubclassedStatic)
        MESSAGE_HANDLER(WM_USER + 9, OnPing)
    END_MSG_MAP()
    LRESULT OnPing(UINT, WPARAM, LPARAM, BOOL&) { return 77; }
    void OnLastMessage(HWND window) override
    {
        LastMessageCount++;
        ProcedureAtLast = (WNDPROC)GetWindowLongPtrW(window, GWLP_WNDPROC);
    }
    int LastMessageCount = 0;
    WNDPROC ProcedureAtLast = NULL;
};

WNDPROC ForeignPrevious = NULL;
LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(ForeignPrevious, window, message, wParam, lParam);
}

}  // namespace

TEST(WindowObject, BindsAtFirstMessageAndNestedCreationBindsItsOwnObject)
{
    ASSERT_NE(0, RegisterTestClass());
    RecordingWindow parent, child;
    parent.Child = &child;
    HWND window = parent.CreateBound(0, TestClass, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                     NULL, NULL);
    ASSERT_NE((HWND)NULL, window);
    EXPECT_EQ(window, parent.Window);
    ASSERT_FALSE(parent.Messages.empty());
    // An overlapped window's first message comes before WM_NCCREATE.
    EXPECT_NE((UINT)WM_NCCREATE, parent.Messages[0]);
    EXPECT_TRUE(parent.BoundAtFirst);
    bool sawNcCreate = false;
    for (UINT m : parent.Messages)
        sawNcCreate = sawNcCreate || m == WM_NCCREATE;
    EXPECT_TRUE(sawNcCreate);

    ASSERT_NE((HWND)NULL, child.Window);
    EXPECT_EQ(window, GetParent(child.Window));
    EXPECT_EQ(&child, WindowObject::FromHandle(child.Window));
    EXPECT_EQ(&parent, WindowObject::FromHandle(window));
    EXPECT_EQ(WM_NCCREATE, child.Messages[0]);
    EXPECT_TRUE(child.BoundAtFirst);
    EXPECT_EQ(0, WindowModule.CreatingCount);

    EXPECT_EQ(42, SendMessageA(window, WM_USER + 5, 21, 0));
    DestroyWindow(window);
}

TEST(WindowObject, ClearedHandledFlagGetsDefaultProcessing)
{
    ASSERT_NE(0, RegisterTestClass());
    RecordingWindow object;
    HWND window =
        object.CreateBound(0, TestClass, L"before", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL);
    ASSERT_NE((HWND)NULL, window);
    SetWindowTextA(window, "after");
    EXPECT_TRUE(object.SetTextSeen);
    EXPECT_EQ("after", WindowText(window));

    // A text beyond the ANSI code page passes the layer and the default procedure unchanged.
    const wchar_t flow[] = L"\x0141ukasz-\x6D41\x91CF";
    object.SetTextSeen = false;
    SetWindowTextW(window, flow);
    EXPECT_TRUE(object.SetTextSeen);
    EXPECT_TRUE(IsWindowUnicode(window));
    wchar_t back[32] = {};
    GetWindowTextW(window, back, 32);
    EXPECT_STREQ(flow, back);
    DestroyWindow(window);
}

TEST(WindowObject, LastMessageRunsOnceAfterNcDestroyWithHandleCleared)
{
    ASSERT_NE(0, RegisterTestClass());
    RecordingWindow object;
    HWND window =
        object.CreateBound(0, TestClass, L"x", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL);
    ASSERT_NE((HWND)NULL, window);
    DestroyWindow(window);
    EXPECT_EQ(1, object.LastMessageCount);
    EXPECT_EQ(NULL, object.WindowAtLast);
    EXPECT_TRUE(object.LastWasNcDestroy);
    EXPECT_EQ(NULL, object.Window);
    EXPECT_FALSE(IsWindow(window));
}

TEST(WindowObject, DialogResultRules)
{
    DialogTemplate dt;
    ResultDialog dialog;
    HWND window = CreateTestDialog(dialog, dt);
    ASSERT_NE((HWND)NULL, window);
    EXPECT_EQ(window, dialog.Window);
    HWND label = GetDlgItem(window, 100);
    ASSERT_NE((HWND)NULL, label);

    // A handled WM_NOTIFY answers through DWLP_MSGRESULT.
    NMHDR header = {label, 100, (UINT)NM_CLICK};
    EXPECT_EQ(4321, SendMessageA(window, WM_NOTIFY, 100, (LPARAM)&header));
    EXPECT_EQ(4321, GetWindowLongPtrA(window, DWLP_MSGRESULT));
    // A handled colour request returns its brush directly.
    SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
    HDC dc = GetDC(label);
    EXPECT_EQ((LRESULT)GetStockObject(BLACK_BRUSH),
              SendMessageA(window, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label));
    EXPECT_EQ(0, GetWindowLongPtrA(window, DWLP_MSGRESULT));
    // Unhandled: the dialog manager's default colour brush, and 0 for a foreign notification.
    LRESULT brush = SendMessageA(window, WM_CTLCOLORDLG, (WPARAM)dc, (LPARAM)window);
    EXPECT_NE(0, brush);
    EXPECT_NE((LRESULT)GetStockObject(BLACK_BRUSH), brush);
    ReleaseDC(label, dc);
    NMHDR other = {label, 100, (UINT)NM_DBLCLK};
    EXPECT_EQ(0, SendMessageA(window, WM_NOTIFY, 100, (LPARAM)&other));

    DestroyWindow(window);
    EXPECT_EQ(1, dialog.LastMessageCount);
    EXPECT_EQ(NULL, dialog.Window);
}

TEST(WindowObject, SubclassedControlGetsItsProcedureBackUnlessSubclassedAfterUs)
{
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 100, 100, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    ASSERT_NE((HWND)NULL, host);

    HWND first = CreateWindowExA(0, "STATIC", "a", WS_CHILD, 0, 0, 10, 10, host, (HMENU)1,
                                 GetModuleHandleA(NULL), NULL);
    WNDPROC original = (WNDPROC)GetWindowLongPtrW(first, GWLP_WNDPROC);
    SubclassedStatic a;
    ASSERT_TRUE(a.SubclassWindow(first));
    EXPECT_EQ(original, a.UnhandledProc);
    EXPECT_EQ(77, SendMessageA(first, WM_USER + 9, 0, 0));
    SetWindowTextA(first, "still a static");
    EXPECT_EQ("still a static", WindowText(first));
    DestroyWindow(first);
    EXPECT_EQ(1, a.LastMessageCount);
    EXPECT_EQ(original, a.ProcedureAtLast);
    EXPECT_EQ(NULL, a.Window);

    HWND second = CreateWindowExA(0, "STATIC", "b", WS_CHILD, 0, 0, 10, 10, host, (HMENU)2,
                                  GetModuleHandleA(NULL), NULL);
    SubclassedStatic b;
    ASSERT_TRUE(b.SubclassWindow(second));
    ForeignPrevious = (WNDPROC)SetWindowLongPtrW(second, GWLP_WNDPROC, (LONG_PTR)ForeignProc);
    EXPECT_EQ(77, SendMessageA(second, WM_USER + 9, 0, 0));
    DestroyWindow(second);
    EXPECT_EQ(1, b.LastMessageCount);
    EXPECT_EQ(ForeignProc, b.ProcedureAtLast);
    DestroyWindow(host);
}

TEST(WindowObject, FailedCreationLeavesNothingWaiting)
{
    ASSERT_NE(0, RegisterTestClass());
    // A missing template: the dialog never gets a message.
    ResultDialog missing;
    EXPECT_EQ(-1, missing.RunModal(NULL, 31999));
    EXPECT_EQ(0, WindowModule.CreatingCount);
    EXPECT_EQ(NULL, missing.Window);

    // A failing WM_CREATE: the window is destroyed again inside the creation.
    RecordingWindow failing;
    failing.FailCreate = true;
    EXPECT_EQ(NULL, failing.CreateBound(0, TestClass, L"f", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL,
                                        NULL));
    EXPECT_EQ(0, WindowModule.CreatingCount);
    EXPECT_EQ(NULL, failing.Window);
    EXPECT_EQ(1, failing.LastMessageCount);

    // An unknown class fails before any message.
    RecordingWindow unknown;
    EXPECT_EQ(NULL, unknown.CreateBound(0, L"NoSuchClass", L"", WS_OVERLAPPEDWINDOW, 0, 0, 5, 5, NULL,
                                        NULL));
    EXPECT_EQ(0, WindowModule.CreatingCount);

    // The next creation on this thread binds to its own object.
    RecordingWindow next;
    HWND window = next.CreateBound(0, TestClass, L"n", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL);
    ASSERT_NE((HWND)NULL, window);
    EXPECT_EQ(&next, WindowObject::FromHandle(window));
    EXPECT_TRUE(next.BoundAtFirst);
    DestroyWindow(window);
}
