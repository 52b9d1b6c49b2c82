// One adapter's part of the report, as text or as JSON.
#include "ReportOutput.h"

#include "AddHeld.h"
#include "BoundedText.h"
#include "ByteAmountText.h"
#include "HistoryCalendar.h"
#include "PeriodForecast.h"
#include "TrafficAlert.h"

#define AMOUNT_CHARS 32

static void DateText(int day, char* buffer)
{
    FormatIsoDate(day, buffer, ISO_DATE_CHARS + 1);
}

static void SinceText(DATE date, char* buffer, size_t size)
{
    SYSTEMTIME time;
    if (!VariantTimeToSystemTime(date, &time)) {
        CopyText(buffer, size, "");
        return;
    }
    BoundedPrint(buffer, size, "%04u-%02u-%02uT%02u:%02u:%02u", time.wYear, time.wMonth,
                 time.wDay, time.wHour, time.wMinute, time.wSecond);
}

// ---- text ----

static void TextRow(ReportText* out, const char* label, unsigned __int64 in, unsigned __int64 out_,
                    const char* when)
{
    char inText[AMOUNT_CHARS], outText[AMOUNT_CHARS], total[AMOUNT_CHARS];
    FormatByteAmount(in, "B", inText, sizeof(inText));
    FormatByteAmount(out_, "B", outText, sizeof(outText));
    FormatByteAmount(AddHeld(in, out_), "B", total, sizeof(total));
    out->Print("  %-14s %12s %12s %12s   %s\n", label, inText, outText, total, when);
}

static void TextStretch(ReportText* out, const char* label, const Stretch& stretch, int view,
                        int billingDay)
{
    char when[PERIOD_TEXT_CHARS];
    if (view < 0) {
        char first[ISO_DATE_CHARS + 1], last[ISO_DATE_CHARS + 1];
        DateText(stretch.First, first);
        DateText(stretch.Last, last);
        if (stretch.First == stretch.Last)
            BoundedPrint(when, sizeof(when), "%s", first);
        else
            BoundedPrint(when, sizeof(when), "%s to %s", first, last);
    } else {
        FormatPeriodText(stretch.First, view, billingDay, when, sizeof(when));
    }
    TextRow(out, label, stretch.In, stretch.Out, when);
}

void TextAdapter(ReportText* out, const ReportData& data, const ReportAdapter& adapter,
                 const AdapterFigures& figures, const ReportOptions& options,
                 const PeriodRows& days, const PeriodRows& months)
{
    if (adapter.Description[0] != 0)
        out->Print("%s (%s)\n", adapter.Description, adapter.Name);
    else
        out->Print("%s\n", adapter.Name);
    out->Print("  %-14s %12s %12s %12s\n", "", "IN", "OUT", "Total");
    TextStretch(out, "Today", figures.Today, -1, 1);
    TextStretch(out, "This period", figures.Period, -1, 1);
    if (figures.HasForecast) {
        char date[SHORT_DATE_CHARS];
        FormatShortDate(figures.Forecast.Span.Last, date, sizeof(date));
        char by[SHORT_DATE_CHARS + 4];
        BoundedPrint(by, sizeof(by), "by %s", date);
        TextRow(out, "  at this pace", figures.Forecast.AtEndIn, figures.Forecast.AtEndOut, by);
    }
    if (figures.HasLimit) {
        char limit[AMOUNT_CHARS], allowance[AMOUNT_CHARS];
        FormatByteAmount(figures.Pick.Limit, "B", limit, sizeof(limit));
        if (figures.Pick.SoFar >= figures.Pick.Limit) {
            out->Print("  %-14s %s %s: reached\n", "  limit", figures.Pick.Name, limit);
        } else {
            FormatByteAmount(DailyAllowance(figures.Pick, figures.Forecast.RemainingSeconds),
                             "B", allowance, sizeof(allowance));
            out->Print("  %-14s %s %s: about %s a day left%s\n", "  limit", figures.Pick.Name,
                       limit, allowance, figures.Pick.Passes ? ", passed at this pace" : "");
        }
    }
    TextStretch(out, "This month", figures.Month, ViewMonths, 1);
    TextStretch(out, "This year", figures.Year, ViewYears, 1);
    if (adapter.HasTotals) {
        char since[STAMP_CHARS] = "";
        if (adapter.HasSince)
            SinceText(adapter.Since, since, sizeof(since));
        char when[STAMP_CHARS + 8] = "";
        if (since[0] != 0)
            BoundedPrint(when, sizeof(when), "since %s", since);
        TextRow(out, "Since reset", adapter.TotalIn, adapter.TotalOut, when);
    }
    const char* verdict = AlertVerdictText(figures.Verdict);
    if (LimitPassed(figures.Verdict) && verdict != NULL)
        out->Print("  Alert: %s\n", verdict);
    if (options.Days > 0) {
        out->Print("  Last %d days:\n", options.Days);
        for (int i = 0; i < options.Days; i++) {
            int day = data.Today - i;
            const PeriodRow* row = days.Find(day);
            char date[ISO_DATE_CHARS + 1];
            DateText(day, date);
            TextRow(out, "", row != NULL ? row->In : 0, row != NULL ? row->Out : 0, date);
        }
    }
    if (options.Months > 0) {
        out->Print("  Last %d months:\n", options.Months);
        int start = PeriodStart(data.Today, ViewMonths, data.BillingDay);
        for (int i = 0; i < options.Months; i++) {
            const PeriodRow* row = months.Find(start);
            char when[PERIOD_TEXT_CHARS];
            FormatPeriodText(start, ViewMonths, data.BillingDay, when, sizeof(when));
            TextRow(out, "", row != NULL ? row->In : 0, row != NULL ? row->Out : 0, when);
            start = PreviousPeriodStart(start, ViewMonths, data.BillingDay);
        }
    }
}

// ---- JSON ----

static void JsonAmounts(ReportText* out, unsigned __int64 in, unsigned __int64 out_)
{
    out->Print("\"in\": %I64u, \"out\": %I64u, \"total\": %I64u", in, out_, AddHeld(in, out_));
}

static void JsonStretch(ReportText* out, const char* key, const Stretch& stretch)
{
    char first[ISO_DATE_CHARS + 1], last[ISO_DATE_CHARS + 1];
    DateText(stretch.First, first);
    DateText(stretch.Last, last);
    out->Print("      \"%s\": {\"first\": \"%s\", \"last\": \"%s\", ", key, first, last);
    JsonAmounts(out, stretch.In, stretch.Out);
    out->Add("}");
}

void JsonAdapter(ReportText* out, const ReportData& data, const ReportAdapter& adapter,
                 const AdapterFigures& figures, const ReportOptions& options,
                 const PeriodRows& days, const PeriodRows& months)
{
    out->Add("    {\n      \"mac\": ");
    out->AddJsonString(adapter.Name);
    out->Add(",\n      \"description\": ");
    out->AddJsonString(adapter.Description);
    out->Add(",\n");
    JsonStretch(out, "today", figures.Today);
    out->Add(",\n");
    JsonStretch(out, "period", figures.Period);
    out->Add(",\n      \"forecast\": ");
    if (figures.HasForecast) {
        out->Add("{");
        JsonAmounts(out, figures.Forecast.AtEndIn, figures.Forecast.AtEndOut);
        out->Add("}");
    } else {
        out->Add("null");
    }
    out->Add(",\n      \"limit\": ");
    if (figures.HasLimit) {
        out->Add("{\"name\": ");
        out->AddJsonString(figures.Pick.Name);
        out->Print(", \"bytes\": %I64u, \"perDayLeft\": %I64u, \"passesAtThisPace\": %s}",
                   figures.Pick.Limit,
                   DailyAllowance(figures.Pick, figures.Forecast.RemainingSeconds),
                   figures.Pick.Passes ? "true" : "false");
    } else {
        out->Add("null");
    }
    out->Add(",\n");
    JsonStretch(out, "month", figures.Month);
    out->Add(",\n");
    JsonStretch(out, "year", figures.Year);
    out->Add(",\n      \"sinceReset\": ");
    if (adapter.HasTotals) {
        char since[STAMP_CHARS] = "";
        if (adapter.HasSince)
            SinceText(adapter.Since, since, sizeof(since));
        out->Add("{\"since\": ");
        if (since[0] != 0)
            out->AddJsonString(since);
        else
            out->Add("null");
        out->Add(", ");
        JsonAmounts(out, adapter.TotalIn, adapter.TotalOut);
        out->Add("}");
    } else {
        out->Add("null");
    }
    out->Print(",\n      \"limitPassed\": %s", LimitPassed(figures.Verdict) ? "true" : "false");
    if (options.Days > 0) {
        out->Add(",\n      \"days\": [");
        for (int i = 0; i < options.Days; i++) {
            int day = data.Today - i;
            const PeriodRow* row = days.Find(day);
            char date[ISO_DATE_CHARS + 1];
            DateText(day, date);
            out->Print("%s\n        {\"date\": \"%s\", ", i == 0 ? "" : ",", date);
            JsonAmounts(out, row != NULL ? row->In : 0, row != NULL ? row->Out : 0);
            out->Add("}");
        }
        out->Add("\n      ]");
    }
    if (options.Months > 0) {
        out->Add(",\n      \"months\": [");
        int start = PeriodStart(data.Today, ViewMonths, data.BillingDay);
        for (int i = 0; i < options.Months; i++) {
            const PeriodRow* row = months.Find(start);
            char first[ISO_DATE_CHARS + 1], last[ISO_DATE_CHARS + 1];
            DateText(start, first);
            DateText(PeriodLast(start, ViewMonths, data.BillingDay), last);
            out->Print("%s\n        {\"first\": \"%s\", \"last\": \"%s\", ", i == 0 ? "" : ",",
                       first, last);
            JsonAmounts(out, row != NULL ? row->In : 0, row != NULL ? row->Out : 0);
            out->Add("}");
            start = PreviousPeriodStart(start, ViewMonths, data.BillingDay);
        }
        out->Add("\n      ]");
    }
    out->Add("\n    }");
}
