#include "AlertNotice.h"

#include <string.h>

#include "AddHeld.h"
#include "BoundedText.h"
#include "ByteAmountText.h"
#include "InterfaceIdentity.h"
#include "TrafficAlert.h"

int DecideAlertNotice(int wasOn, int isOn, unsigned __int64 totalIn, unsigned __int64 totalOut,
                      const SettingsRecord& settings, AlertNotice* notice)
{
    if (wasOn || !isOn)
        return 0;
    switch (DecideAlert(totalIn, totalOut, settings)) {
    case AlertInPassed:
        *notice = {"IN", totalIn, settings.LimitIN};
        return 1;
    case AlertOutPassed:
        *notice = {"OUT", totalOut, settings.LimitOUT};
        return 1;
    case AlertSumPassed:
        *notice = {"IN+OUT", AddHeld(totalIn, totalOut),
                   AddHeld(settings.LimitIN, settings.LimitOUT)};
        return 1;
    default:
        return 0;  // the rule no longer says which limit: nothing sensible to tell
    }
}

int FormatAlertNotice(const AlertNotice& notice, const char* ipv4Text, const char* description,
                      char* buffer, size_t size)
{
    char amount[SHORT_TEXT];
    char limit[SHORT_TEXT];
    char limitLine[3 * SHORT_TEXT];
    FormatByteAmount(notice.Amount, "B", amount, sizeof(amount));
    FormatByteAmount(notice.Limit, "B", limit, sizeof(limit));
    int limitLength = BoundedPrint(limitLine, sizeof(limitLine), "%s: %s of the %s limit",
                                   notice.LimitName, amount, limit);
    // A long description is cut rather than the limit line.
    int room = (int)size - 1 - (int)strlen(ipv4Text) - (int)strlen(" \n") - limitLength;
    if (room < 0)
        room = 0;
    return BoundedPrint(buffer, size, "%s %.*s\n%s", ipv4Text, room, description, limitLine);
}
