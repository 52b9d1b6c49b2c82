// The settings dialog (dialog 105): edits the global Settings in place and can ask for an
// immediate reset of every adapter's counters.
#ifndef BRISVANE_SETTINGSDIALOG_H
#define BRISVANE_SETTINGSDIALOG_H

#include <windows.h>
#include <commdlg.h>
#include <oleauto.h>

#include "ControlColours.h"
#include "GroupTitle.h"
#include "WindowObject.h"
#include "resource.h"

// The file-open dialog behind the two browse buttons; tests put their own answer here.
typedef BOOL(WINAPI* OpenFileNameFunction)(LPOPENFILENAMEW);
extern OpenFileNameFunction ShowOpenFileDialog;  // GetOpenFileNameW, loaded on demand

// The browse requests of the two logs. They live for the whole process, so the filter the user
// chose last is offered first the next time.
extern OPENFILENAMEW EventLogBrowse;
extern OPENFILENAMEW TrafficLogBrowse;

class SettingsDialog : public DialogObject {
public:
    SettingsDialog();

    BEGIN_MSG_MAP(SettingsDialog)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_RANGE_HANDLER(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, OnColourMessage)
        NOTIFY_CODE_HANDLER(NM_CUSTOMDRAW, OnCustomDraw)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_HANDLER(IDC_SET_DAILY, BN_CLICKED, OnResetRadio)
        COMMAND_HANDLER(IDC_SET_MONTHLY, BN_CLICKED, OnResetRadio)
        COMMAND_HANDLER(IDC_SET_NEVER, BN_CLICKED, OnResetRadio)
        COMMAND_HANDLER(IDC_SET_ONDATE, BN_CLICKED, OnResetRadio)
        COMMAND_HANDLER(IDC_SET_DISTINCT, BN_CLICKED, OnAlertRadio)
        COMMAND_HANDLER(IDC_SET_TOTAL, BN_CLICKED, OnAlertRadio)
        COMMAND_HANDLER(IDC_SET_NOALERT, BN_CLICKED, OnAlertRadio)
        COMMAND_HANDLER(IDC_SET_NOW, BN_CLICKED, OnNow)
        COMMAND_HANDLER(IDC_SET_RESETCOUNTERS, BN_CLICKED, OnResetRequest)
        COMMAND_HANDLER(IDC_SET_ENABLELOG, BN_CLICKED, OnLogSwitch)
        COMMAND_HANDLER(IDC_SET_ENABLECSV, BN_CLICKED, OnLogSwitch)
        COMMAND_HANDLER(IDC_SET_LOGBROWSE, BN_CLICKED, OnBrowse)
        COMMAND_HANDLER(IDC_SET_CSVBROWSE, BN_CLICKED, OnBrowse)
    END_MSG_MAP()

    // Passed to UpdateControls for a group that is to stay as it is.
    enum { KeepResetGroup = -1, KeepAlertGroup = -1 };

    // Brings the controls into line with a reset type and an alert type (or leaves a group as
    // it is); the log group follows Settings on every call.
    void UpdateControls(int resetType, int alertType);

    int resetRequested;  // 1 while the user asks for a reset at OK
    const ControlColours* Colours = nullptr;  // the main window's; none: the system's

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnResetRadio(WORD, WORD id, HWND, BOOL&);
    LRESULT OnAlertRadio(WORD, WORD id, HWND, BOOL&);
    LRESULT OnNow(WORD, WORD, HWND, BOOL&);
    LRESULT OnResetRequest(WORD, WORD, HWND, BOOL&);
    LRESULT OnLogSwitch(WORD, WORD id, HWND, BOOL&);
    LRESULT OnBrowse(WORD, WORD id, HWND, BOOL&);

    GroupTitle Titles[3];  // the reset point, the limits, the logs
    LRESULT OnColourMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        return AnswerColourMessage(Colours, message, wParam, lParam, handled);
    }
    LRESULT OnCustomDraw(int, NMHDR* header, BOOL& handled)
    {
        return DrawPushButton(Colours, header, handled);
    }

    void UpdateResetGroup(int resetType);
    void UpdateAlertGroup(int alertType);
    void UpdateLogGroup();
    // The control's text as an unsigned number: its leading digits, 0 when it has none,
    // largest when it has too many.
    unsigned __int64 ReadNumber(int id, unsigned __int64 largest);
    void ShowLimit(int id, unsigned __int64 limit);
    static WORD TodaysDay();
};

// What the user asked for at OK beyond the settings themselves, for the main window to apply.
struct SettingsRequest {
    int ResetRequested;  // every adapter's counters start again now
    DATE ResetDate;      // the one moment they all start from
    int SaveFailed;      // the settings could not be saved
    DWORD SaveError;     // why not
};

// Command 40002: runs the dialog over the active window. After OK, Settings hold the new
// values and are saved (or SaveFailed says they could not be), the request says whether a
// reset is wanted, and the result is 1; after Cancel it is 0. The dialog shows in the colours
// given (none: the system's).
int RunSettingsDialog(SettingsRequest* request, const ControlColours* colours = nullptr);

#endif
