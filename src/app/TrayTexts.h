// The texts the frame puts into the tray and the title bar, composed from plain records: the
// tip with its forecast line, the title, and the balloons of an alert, an early warning and a
// failed write.
#ifndef BRISVANE_TRAYTEXTS_H
#define BRISVANE_TRAYTEXTS_H

#include <stddef.h>

#include "AlertNotice.h"
#include "InterfaceMonitor.h"
#include "PeriodForecast.h"

// The tray tip with the forecast's line: the room of the tray's ANSI record.
constexpr size_t FullTipChars = 128;
// A balloon's title or text from the program's texts, within the tray's room.
constexpr size_t BalloonTitleBytes = 64 * 3;

// The texts are the program's own in its language (LanguageResources).
// The tip: "Brisvane: " and the adapter's totals within the tray's first 64 characters
// ("Brisvane" alone without an adapter); then, once the adapter has traffic in its period, the
// forecast's line, whole or not at all, within size.
void FormatTrayTip(const InterfaceMonitor* monitor, const PeriodForecast* forecast, char* tip,
                   size_t size);
// The title: the tip's first line while the window is minimised, else "Brisvane".
void FormatTitle(const InterfaceMonitor* monitor, bool minimised, char* title, size_t size);
// "192.168.1.10 Intel(R) PRO/1000" over the limit passed and its amount.
void FormatAlertBalloon(const InterfaceMonitor& monitor, const AlertNotice& notice, char* text,
                        size_t size);
// The adapter, its description cut to the room left, over the warning.
void FormatWarningBalloon(const InterfaceMonitor& monitor, const PeriodForecast& forecast,
                          const LimitPick& pick, char* text, size_t size);
// "<path> could not be written: <the system's reason for error>", in the program's language.
void FormatWriteFailure(const char* path, DWORD error, char* text, size_t size);

#endif
