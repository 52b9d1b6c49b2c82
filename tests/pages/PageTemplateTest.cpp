// Dialog template 134, the adapter page, control by control.
#include "DialogTemplate.h"
#include "resource.h"

TEST(PageTemplate, ControlsInTemplateOrder)
{
    const DWORD label = WS_VISIBLE | SS_LEFT;
    const DWORD value = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY;
    const DWORD frame = WS_VISIBLE | BS_GROUPBOX;
    // A hidden child with a caption, which the poll cycle takes off.
    ExpectDialogTemplate(IDD_PAGE, WS_CHILD | WS_CAPTION, "IP", {
        {-1, "Static", label, "Adapter description"},
        {IDC_PAGE_DESCR, "Edit", value, ""},
        {-1, "Static", label, "MAC Address"},
        {IDC_PAGE_MAC, "Edit", value, ""},
        {-1, "Static", label, "Speed"},
        {IDC_PAGE_SPEED, "Edit", value, ""},
        {-1, "Button", frame, "IN (download)"},
        {-1, "Static", label, "Traffic / sec"},
        {IDC_PAGE_CURRENT_IN, "Edit", value, ""},
        {-1, "Static", label, "Peak / sec"},
        {IDC_PAGE_PEAK_IN, "Edit", value, ""},
        {-1, "Static", label, "Average / sec"},
        {IDC_PAGE_AVERAGE_IN, "Edit", value, ""},
        {-1, "Static", label, "TOTAL"},
        {IDC_PAGE_TOTAL_IN, "Edit", value, ""},
        {-1, "Button", frame, "OUT (upload)"},
        {-1, "Static", label, "Traffic / sec"},
        {IDC_PAGE_CURRENT_OUT, "Edit", value, ""},
        {-1, "Static", label, "Peak / sec"},
        {IDC_PAGE_PEAK_OUT, "Edit", value, ""},
        {-1, "Static", label, "Average / sec"},
        {IDC_PAGE_AVERAGE_OUT, "Edit", value, ""},
        {-1, "Static", label, "TOTAL"},
        {IDC_PAGE_TOTAL_OUT, "Edit", value, ""},
        {IDC_PAGE_STATUS, "Static", label, "Status"},
        {-1, "Static", label, "Duration this session:"},
        {IDC_PAGE_DURATION, "Edit", value, ""},
        {-1, "Static", label, "TOTAL in+out"},
        {IDC_PAGE_TOTAL_ALL, "Edit", value, ""},
        {IDC_PAGE_ALERT, "Static", label | SS_NOTIFY, ""},
        {-1, "Static", label, "Since:"},
        {IDC_PAGE_SINCE, "Edit", WS_VISIBLE | ES_MULTILINE | ES_READONLY, ""},
    });
}
