// The frame's tool bar, its size for the page at its DPI, a change of DPI, and its place kept
// in its own section of the INI file.
#include "MainWindow.h"

#include "BoundedText.h"
#include "IniValues.h"
#include "Settings.h"
#include "SpeedViewChoices.h"

namespace {

constexpr WORD ToolBarResourceType = 241;
// The main window's own section of the INI file: its place, and whether the first close has
// been told.
constexpr char MainWindowSection[] = "MainWindow";
constexpr char TrayNoticeKey[] = "TrayNoticeShown";

}  // namespace

// Adds the tool bar's buttons from the tool bar resource; their images come from the image
// list of the DPI. 0 on failure.
static int AddToolBarButtons(HWND toolBar)
{
    HRSRC found = FindResourceW(WindowModule.Instance, MAKEINTRESOURCEW(IDR_TOOLBAR),
                                MAKEINTRESOURCEW(ToolBarResourceType));
    if (found == NULL)
        return 0;
    HGLOBAL loaded = LoadResource(WindowModule.Instance, found);
    if (loaded == NULL)
        return 0;
    const WORD* data = (const WORD*)LockResource(loaded);
    DWORD bytes = SizeofResource(WindowModule.Instance, found);
    if (data == NULL || bytes < 4 * sizeof(WORD))
        return 0;
    WORD count = data[3];
    if ((DWORD)(4 + count) * sizeof(WORD) > bytes)
        return 0;

    int images = 0;
    for (WORD i = 0; i < count; i++) {
        WORD command = data[4 + i];
        TBBUTTON button = {};
        button.idCommand = command;
        button.fsState = TBSTATE_ENABLED;
        button.iString = -1;
        if (command != 0) {
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = images++;
        } else {
            button.fsStyle = TBSTYLE_SEP;
        }
        if (!SendMessageW(toolBar, TB_ADDBUTTONSW, 1, (LPARAM)&button))
            return 0;
    }
    return images > 0;
}

bool MainWindow::CreateToolBar()
{
    // Its background is erased through custom draw too, so that a dark look can colour it.
    ToolBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, NULL,
                              WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS |
                                  TBSTYLE_CUSTOMERASE,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window,
                              (HMENU)(UINT_PTR)IDC_TOOLBAR, WindowModule.Instance, NULL);
    if (ToolBar == NULL)
        return false;
    SendMessageW(ToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return AddToolBarButtons(ToolBar) != 0;
}

// The tool bar's strip for the DPI as an image list of square images; null on failure.
static HIMAGELIST LoadToolBarImages(UINT dpi)
{
    int size = ToolBarImageSizeFor(dpi);
    int id = size == ToolBarImageSizes[0] ? IDB_TOOLBAR16
             : size == ToolBarImageSizes[1] ? IDB_TOOLBAR24
                                            : IDB_TOOLBAR32;
    // A DIB section keeps the strip's alpha, which the image list blends.
    OwnedBitmap strip((HBITMAP)LoadImageW(WindowModule.Instance, MAKEINTRESOURCEW(id),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!strip)
        return NULL;
    BITMAP info;
    if (!GetObjectW(strip.Get(), sizeof(info), &info) || info.bmHeight != size)
        return NULL;
    OwnedImageList images(ImageList_Create(size, size, ILC_COLOR32, info.bmWidth / size, 0));
    if (!images || ImageList_Add(images.Get(), strip.Get(), NULL) < 0)
        return NULL;
    return images.Release();
}

void MainWindow::ApplyDpi(UINT dpi)
{
    Dpi = dpi;
    const DpiFunctions& functions = SystemDpiFunctions();
    HFONT font = CreateDialogFont(dpi);
    if (font != NULL) {
        SendMessageW(TabControl, WM_SETFONT, (WPARAM)font, TRUE);
        TabFont.Reset(font);  // after the tabs let the old one go
    }
    HIMAGELIST images = LoadToolBarImages(dpi);
    if (images != NULL) {
        SendMessageW(ToolBar, TB_SETIMAGELIST, 0, (LPARAM)images);
        ToolBarImages.Reset(images);
        SendMessageW(ToolBar, TB_AUTOSIZE, 0, 0);
    }
    // The caption's and the task switcher's icons, each at its own size for this DPI.
    SetWindowIconsForDpi(functions, Window, WindowModule.Instance, IDI_PROGRAM, dpi, &SmallIcon,
                         &BigIcon);
}

SIZE MainWindow::ClientSizeForPage()
{
    // The adapter page's template in dialog units.
    enum { PageWidthUnits = 317, PageHeightUnits = 157 };
    OwnedFont font(CreateDialogFont(Dpi));
    SIZE units = DialogBaseUnitsOf(font.Get());
    RECT tabs = {0, 0, DialogUnitsToPixelsX(PageWidthUnits, units),
                 DialogUnitsToPixelsY(PageHeightUnits, units)};
    SendMessageW(TabControl, TCM_ADJUSTRECT, TRUE, (LPARAM)&tabs);
    RECT bar;
    GetWindowRect(ToolBar, &bar);
    SIZE size = {tabs.right - tabs.left, tabs.bottom - tabs.top + (bar.bottom - bar.top)};
    return size;
}

// The window's size around a client size, with the frame it has now (which Windows has already
// drawn for the new DPI when the DPI changes).
static SIZE FrameAround(HWND window, SIZE client)
{
    RECT frame, inside;
    GetWindowRect(window, &frame);
    GetClientRect(window, &inside);
    SIZE size = {client.cx + (frame.right - frame.left) - inside.right,
                 client.cy + (frame.bottom - frame.top) - inside.bottom};
    return size;
}

void MainWindow::FitToPage()
{
    SIZE size = FrameAround(Window, ClientSizeForPage());
    SetWindowPos(Window, NULL, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::RestorePlace(IniDocument& document)
{
    const DpiFunctions& functions = SystemDpiFunctions();
    enum { MaxWorkAreas = 16 };
    WorkArea areas[MaxWorkAreas];
    size_t count = CollectWorkAreas(functions, areas, MaxWorkAreas);
    UINT systemDpi = DpiForSystem(functions);
    SIZE size = FrameAround(Window, ClientSizeForPage());

    char texts[PlaceKeyCount][16];
    const char* values[PlaceKeyCount];
    for (int i = 0; i < PlaceKeyCount; i++) {
        ReadIniText(document, MainWindowSection, PlaceKeys[i], "", texts[i], sizeof(texts[i]));
        values[i] = texts[i];
    }
    TrayNoticeShown = ReadIniInt(document, MainWindowSection, TrayNoticeKey, 0) != 0;
    WindowPlace place;
    RECT target;
    if (IniPath[0] != 0 && ParseWindowPlace(values, &place)) {
        // The window is as big as its page: the saved size only stands for what has to be
        // reachable.
        place.Width = UnscaleForDpi(size.cx, Dpi);
        place.Height = UnscaleForDpi(size.cy, Dpi);
        target = PlaceOnWorkArea(place, systemDpi, areas, count);
    } else if (count > 0) {
        // A first start: in the middle of the primary work area.
        const RECT& area = areas[0].Area;
        int left = area.left + (area.right - area.left - size.cx) / 2;
        int top = area.top + (area.bottom - area.top - size.cy) / 2;
        target.left = left > area.left ? left : area.left;
        target.top = top > area.top ? top : area.top;
        target.right = target.left + size.cx;
        target.bottom = target.top + size.cy;
    } else {
        return;
    }
    SetWindowPos(Window, NULL, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // On a monitor of another DPI the window has been laid out again meanwhile.
    FitToPage();
}

void MainWindow::FillSave(IniDocument& document)
{
    RECT rect;
    if (Window != NULL && NormalWindowRect(Window, &rect)) {
        const DpiFunctions& functions = SystemDpiFunctions();
        WindowPlaceText text =
            FormatWindowPlace(PlaceOfWindow(rect, DpiForSystem(functions), Dpi));
        for (int i = 0; i < PlaceKeyCount; i++)
            document.Set(MainWindowSection, PlaceKeys[i], text.Values[i]);
        if (TrayNoticeShown)
            document.Set(MainWindowSection, TrayNoticeKey, "1");
    }
    // The speed views' choices and the speed window's place.
    Speed.Store(document);
}

// The pages' part of a DPI change.
struct PageDpiChange {
    SIZE From;  // dialog base units
    SIZE To;
    HFONT Font;
};

LRESULT MainWindow::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    UINT dpi = HIWORD(wParam);
    const RECT* suggested = (const RECT*)lParam;
    if (dpi == 0 || suggested == NULL)
        return 0;
    OwnedFont oldFont(CreateDialogFont(Dpi));
    PageDpiChange change = {DialogBaseUnitsOf(oldFont.Get()), {0, 0}, CreateDialogFont(dpi)};
    change.To = DialogBaseUnitsOf(change.Font);
    ApplyDpi(dpi);
    Speed.ForgetIconSize();
    // The pages' controls, laid out by the dialog manager for the old DPI, follow.
    if (change.Font != NULL) {
        for (int position = 0; position < Tabs.Count(); position++) {
            InterfacePage* page = Tabs.PageAt(position);
            if (page->Window != NULL)
                ScaleChildren(page->Window, change.From, change.To, change.Font);
        }
        PageFont.Reset(change.Font);
    }
    Tray.ReloadIcons();
    // Windows' rectangle for the new DPI; then the size of the page at that DPI.
    SetWindowPos(Window, NULL, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitToPage();
    return 0;
}

