// The history window's "All adapters": which adapters its sums add, and the choice of physical
// adapters only.
#include "HistoryWindow.h"

#include <string.h>

#include "AllAdapters.h"
#include "BoundedText.h"

namespace {

constexpr char PhysicalOnlyKey[] = "PhysicalOnly";
constexpr size_t ChoiceChars = 16;

}  // namespace

bool ReadPhysicalOnlyChoice(const HistoryLinks& links)
{
    char text[ChoiceChars] = "";
    if (links.ReadPlaceText != NULL)
        links.ReadPlaceText(PhysicalOnlyKey, text, sizeof(text));
    // Physical adapters only unless the user chose otherwise.
    return strcmp(text, "0") != 0;
}

const AdapterStanding& HistoryWindow::StandingOf(const char* name)
{
    for (const NameStanding& known : Standings)
        if (strcmp(known.Name, name) == 0)
            return known.Standing;
    NameStanding asked = {};
    CopyText(asked.Name, sizeof(asked.Name), name);
    asked.Standing = Links.StandingOf(name);
    if (asked.Standing.Shown && asked.Standing.Counted)
        AnyCounted = true;
    static const AdapterStanding everyone = {true, true};
    if (!Standings.Append(asked))
        return everyone;
    return Standings[Standings.Count() - 1].Standing;
}

bool HistoryWindow::AddsToAll(const char* name)
{
    if (!Links.StandingOf)
        return true;
    const AdapterStanding& standing = StandingOf(name);
    return AddedToAllAdapters(standing.Shown, standing.Counted, PhysicalOnly, AnyCounted);
}

void HistoryWindow::RenewStandings()
{
    Standings.Clear();
    AnyCounted = false;
    if (!Links.StandingOf)
        return;
    // Every adapter the sums may meet, so that the fallback to all of them is decided first.
    for (const HistoryName& name : Table.Names)
        StandingOf(name.Mac);
    if (Source != NULL)
        for (const RunningDay& entry : Source->Running)
            StandingOf(entry.Mac);
}

void HistoryWindow::AdaptersChanged()
{
    if (Window != NULL)
        Update(TRUE);
}

LRESULT HistoryWindow::OnPhysicalClick(WORD, WORD, HWND, BOOL&)
{
    PhysicalOnly = IsDlgButtonChecked(Window, IDC_HIST_PHYSICAL) == BST_CHECKED;
    if (Links.SaveChoice != NULL)
        Links.SaveChoice(PhysicalOnlyKey, PhysicalOnly ? "1" : "0");
    Update(TRUE);
    return 0;
}
