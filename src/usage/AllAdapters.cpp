#include "AllAdapters.h"

#include <ipifcons.h>

bool IsPhysicalInterface(int hardware, DWORD type)
{
    if (hardware != HardwareUnknown)
        return hardware != 0;
    switch (type) {
    case IF_TYPE_TUNNEL:
    case IF_TYPE_PPP:
    case IF_TYPE_SOFTWARE_LOOPBACK:
    case IF_TYPE_PROP_VIRTUAL:
        return false;
    default:
        return true;
    }
}

bool AddedToAllAdapters(bool shown, bool counted, bool physicalOnly, bool anyShownCounted)
{
    if (!shown)
        return false;
    return !physicalOnly || !anyShownCounted || counted;
}
