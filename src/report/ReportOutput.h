// The report's two forms of one adapter: text for a reader, JSON for a program.
#ifndef BRISVANE_REPORTOUTPUT_H
#define BRISVANE_REPORTOUTPUT_H

#include "HistoryReport.h"
#include "ReportData.h"
#include "ReportText.h"
#include "UsageReport.h"

#define STAMP_CHARS 32

void TextAdapter(ReportText* out, const ReportData& data, const ReportAdapter& adapter,
                 const AdapterFigures& figures, const ReportOptions& options,
                 const PeriodRows& days, const PeriodRows& months);
void JsonAdapter(ReportText* out, const ReportData& data, const ReportAdapter& adapter,
                 const AdapterFigures& figures, const ReportOptions& options,
                 const PeriodRows& days, const PeriodRows& months);

#endif
