// Byte amounts and link speeds as every view shows them: "1.23 GB", "512 KB", "100 Mbps".
#ifndef BRISVANE_BYTEAMOUNTTEXT_H
#define BRISVANE_BYTEAMOUNTTEXT_H

#include <stddef.h>

// The amount in thousands (K), millions (M) or thousand millions (G) of unit ("B" for bytes);
// returns the characters written.
int FormatByteAmount(unsigned __int64 amount, const char* unit, char* buffer, size_t size);
void FormatSpeedText(unsigned __int64 bitsPerSecond, char* buffer, size_t size);

#endif
