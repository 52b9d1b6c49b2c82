// Which adapters "All adapters" adds. Traffic through a VPN, a WSL or Hyper-V virtual switch or
// a virtual machine's host adapter crosses a virtual interface and then a physical one: a sum of
// both counts it twice. Physical adapters put it onto a wire once, so by default only they are
// added. Each adapter's own figures are never affected.
#ifndef BRISVANE_ALLADAPTERS_H
#define BRISVANE_ALLADAPTERS_H

#include <windows.h>

// The 32-bit interface table does not say whether an interface is hardware.
constexpr int HardwareUnknown = -1;

// Whether an interface carries its traffic onto a wire: the system's hardware flag (1 or 0)
// where the table gives it, else by its type: not a tunnel, PPP, software loopback or
// proprietary virtual interface.
bool IsPhysicalInterface(int hardware, DWORD type);

// Whether a sum of all adapters adds an adapter. A hidden one never. With physicalOnly, only
// those counted in all adapters (their mark, else IsPhysicalInterface) — unless no shown
// adapter is (anyShownCounted false): then every shown one, so that a sum is never empty.
bool AddedToAllAdapters(bool shown, bool counted, bool physicalOnly, bool anyShownCounted);

#endif
