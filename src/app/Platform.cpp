#include "Platform.h"

PlatformCalls Platform = {GetLocalTime, GetIfTable, GetIpAddrTable, Shell_NotifyIconA,
                          GetModuleFileNameA};
