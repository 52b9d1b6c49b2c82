// One adapter's part of the report, as text or as JSON.
#include "ReportOutput.h"

#include "AddHeld.h"
#include "BoundedText.h"
#include "DateValue.h"
#include "ByteAmountText.h"
#include "HistoryCalendar.h"
#include "LanguageResources.h"
#include "PeriodForecast.h"
#include "TrafficAlert.h"
#include "Utf8Text.h"
#include "resource.h"

#define AMOUNT_CHARS 32
// The label column of the text: as wide as the longest English label; a longer one pushes its
// row's figures right.
#define LABEL_COLUMNS 14
#define LABEL_CHARS 128
#define AMOUNT_COLUMNS 12

static void DateText(int day, char* buffer)
{
    FormatIsoDate(day, buffer, ISO_DATE_CHARS + 1);
}

static void SinceText(DATE date, char* buffer, size_t size)
{
    SYSTEMTIME time;
    if (!DateToTime(date, &time)) {
        CopyText(buffer, size, "");
        return;
    }
    BoundedPrint(buffer, size, "%04u-%02u-%02uT%02u:%02u:%02u", time.wYear, time.wMonth,
                 time.wDay, time.wHour, time.wMinute, time.wSecond);
}

// ---- text ----

// The columns a text takes on a console: two for the wide characters of Chinese and Japanese,
// one for any other.
static int ConsoleColumns(const char* text)
{
    int columns = 0;
    wchar_t wide[REPORT_PIECE_CHARS];
    Utf8ToWide(text, wide, REPORT_PIECE_CHARS);
    for (const wchar_t* c = wide; *c != 0; c++) {
        bool isWide = (*c >= 0x1100 && *c <= 0x115F) || (*c >= 0x2E80 && *c <= 0xA4CF) ||
                      (*c >= 0xAC00 && *c <= 0xD7A3) || (*c >= 0xF900 && *c <= 0xFAFF) ||
                      (*c >= 0xFE30 && *c <= 0xFE4F) || (*c >= 0xFF00 && *c <= 0xFF60) ||
                      (*c >= 0xFFE0 && *c <= 0xFFE6);
        columns += isWide ? 2 : 1;
    }
    return columns;
}

// The text followed by blanks up to columns on a console (a longer text as it is).
static void PadText(const char* text, int columns, char* buffer, size_t size)
{
    int blanks = columns - ConsoleColumns(text);
    BoundedPrint(buffer, size, "%s%*s", text, blanks > 0 ? blanks : 0, "");
}

// The text after blanks up to columns on a console (a longer text as it is).
static void RightText(const char* text, int columns, char* buffer, size_t size)
{
    int blanks = columns - ConsoleColumns(text);
    BoundedPrint(buffer, size, "%*s%s", blanks > 0 ? blanks : 0, "", text);
}

// A heading with a count: "  Last 7 days:".
static void PrintCountLine(ReportText* out, UINT id, int count)
{
    char figure[16], line[LABEL_CHARS];
    BoundedPrint(figure, sizeof(figure), "%d", count);
    const char* parts[] = {figure};
    FormatText(line, sizeof(line), id, parts, 1);
    out->Print("  %s\n", line);
}

// A label of the program's texts, indented by two blanks when it belongs to the row above.
static void LabelText(UINT id, int indented, char* buffer, size_t size)
{
    char text[LABEL_CHARS];
    LoadText(id, text, sizeof(text));
    BoundedPrint(buffer, size, "%s%s", indented ? "  " : "", text);
}

static void TextRow(ReportText* out, const char* label, unsigned __int64 in, unsigned __int64 out_,
                    const char* when)
{
    char padded[LABEL_CHARS];
    PadText(label, LABEL_COLUMNS, padded, sizeof(padded));
    char inText[AMOUNT_CHARS], outText[AMOUNT_CHARS], total[AMOUNT_CHARS];
    FormatByteAmount(in, "B", inText, sizeof(inText));
    FormatByteAmount(out_, "B", outText, sizeof(outText));
    FormatByteAmount(AddHeld(in, out_), "B", total, sizeof(total));
    out->Print("  %s %12s %12s %12s   %s\n", padded, inText, outText, total, when);
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
        {
            const char* parts[] = {first, last};
            FormatText(when, sizeof(when), IDS_PERIOD_RANGE, parts, 2);
        }
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
    char in[LABEL_CHARS], outName[LABEL_CHARS], total[LABEL_CHARS], blank[LABEL_CHARS];
    LoadFlowName("IN", in, sizeof(in));
    LoadFlowName("OUT", outName, sizeof(outName));
    LoadText(IDS_REPORT_TOTAL, total, sizeof(total));
    PadText("", LABEL_COLUMNS, blank, sizeof(blank));
    char inRight[LABEL_CHARS], outRight[LABEL_CHARS], totalRight[LABEL_CHARS];
    RightText(in, AMOUNT_COLUMNS, inRight, sizeof(inRight));
    RightText(outName, AMOUNT_COLUMNS, outRight, sizeof(outRight));
    RightText(total, AMOUNT_COLUMNS, totalRight, sizeof(totalRight));
    out->Print("  %s %s %s %s\n", blank, inRight, outRight, totalRight);
    char label[LABEL_CHARS];
    LabelText(IDS_REPORT_TODAY, 0, label, sizeof(label));
    TextStretch(out, label, figures.Today, -1, 1);
    LabelText(IDS_REPORT_THIS_PERIOD, 0, label, sizeof(label));
    TextStretch(out, label, figures.Period, -1, 1);
    if (figures.HasForecast) {
        char date[SHORT_DATE_CHARS];
        FormatShortDate(figures.Forecast.Span.Last, date, sizeof(date));
        char by[LABEL_CHARS];
        const char* parts[] = {date};
        FormatText(by, sizeof(by), IDS_REPORT_BY, parts, 1);
        LabelText(IDS_REPORT_AT_THIS_PACE, 1, label, sizeof(label));
        TextRow(out, label, figures.Forecast.AtEndIn, figures.Forecast.AtEndOut, by);
    }
    if (figures.HasLimit) {
        char limit[AMOUNT_CHARS], allowance[AMOUNT_CHARS] = "", name[LABEL_CHARS];
        FormatByteAmount(figures.Pick.Limit, "B", limit, sizeof(limit));
        LoadFlowName(figures.Pick.Name, name, sizeof(name));
        UINT id = IDS_REPORT_LIMIT_REACHED;
        if (figures.Pick.SoFar < figures.Pick.Limit) {
            FormatByteAmount(DailyAllowance(figures.Pick, figures.Forecast.RemainingSeconds),
                             "B", allowance, sizeof(allowance));
            id = figures.Pick.Passes ? IDS_REPORT_LIMIT_LEFT_PASSES : IDS_REPORT_LIMIT_LEFT;
        }
        const char* parts[] = {name, limit, allowance};
        char line[REPORT_PIECE_CHARS];
        FormatText(line, sizeof(line), id, parts, 3);
        LabelText(IDS_REPORT_LIMIT, 1, label, sizeof(label));
        PadText(label, LABEL_COLUMNS, blank, sizeof(blank));
        out->Print("  %s %s\n", blank, line);
    }
    LabelText(IDS_REPORT_THIS_MONTH, 0, label, sizeof(label));
    TextStretch(out, label, figures.Month, ViewMonths, 1);
    LabelText(IDS_REPORT_THIS_YEAR, 0, label, sizeof(label));
    TextStretch(out, label, figures.Year, ViewYears, 1);
    if (adapter.HasTotals) {
        char since[STAMP_CHARS] = "";
        if (adapter.HasSince)
            SinceText(adapter.Since, since, sizeof(since));
        char when[LABEL_CHARS] = "";
        const char* parts[] = {since};
        if (since[0] != 0)
            FormatText(when, sizeof(when), IDS_REPORT_SINCE, parts, 1);
        LabelText(IDS_REPORT_SINCE_RESET, 0, label, sizeof(label));
        TextRow(out, label, adapter.TotalIn, adapter.TotalOut, when);
    }
    UINT verdict = AlertVerdictTextId(figures.Verdict);
    if (LimitPassed(figures.Verdict) && verdict != 0) {
        char verdictText[LABEL_CHARS];
        LoadText(verdict, verdictText, sizeof(verdictText));
        const char* parts[] = {verdictText};
        char line[REPORT_PIECE_CHARS];
        FormatText(line, sizeof(line), IDS_REPORT_ALERT, parts, 1);
        out->Print("  %s\n", line);
    }
    if (options.Days > 0) {
        PrintCountLine(out, IDS_REPORT_LAST_DAYS, options.Days);
        for (int i = 0; i < options.Days; i++) {
            int day = data.Today - i;
            const PeriodRow* row = days.Find(day);
            char date[ISO_DATE_CHARS + 1];
            DateText(day, date);
            TextRow(out, "", row != NULL ? row->In : 0, row != NULL ? row->Out : 0, date);
        }
    }
    if (options.Months > 0) {
        PrintCountLine(out, IDS_REPORT_LAST_MONTHS, options.Months);
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
