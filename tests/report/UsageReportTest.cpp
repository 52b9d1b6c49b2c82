// The command-line report over a prepared INI and history file: its text, its JSON read back
// with a small parser, the adapter chosen by MAC or description, the day and month lists, the
// exit codes, and that it leaves the files as they were.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <stdlib.h>
#include <string>
#include <vector>

#include "ReportText.h"
#include "TestSupport.h"
#include "UsageReport.h"

namespace {

// A JSON value, as much of it as the report writes.
struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool flag = false;
    unsigned long long number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> members;

    const Json& operator[](const char* key) const
    {
        static const Json missing;
        auto found = members.find(key);
        return found != members.end() ? found->second : missing;
    }
    const Json& operator[](int index) const
    {
        static const Json missing;
        return index >= 0 && (size_t)index < items.size() ? items[index] : missing;
    }
};

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : text(text) {}
    bool Read(Json* value)
    {
        if (!Value(value))
            return false;
        Blanks();
        return at == text.size();
    }

private:
    void Blanks()
    {
        while (at < text.size() && strchr(" \t\r\n", text[at]) != NULL)
            at++;
    }
    bool Take(char c)
    {
        Blanks();
        if (at < text.size() && text[at] == c) {
            at++;
            return true;
        }
        return false;
    }
    bool Word(const char* word)
    {
        size_t length = strlen(word);
        if (text.compare(at, length, word) != 0)
            return false;
        at += length;
        return true;
    }
    bool StringValue(std::string* out)
    {
        if (!Take('"'))
            return false;
        while (at < text.size() && text[at] != '"') {
            unsigned char c = (unsigned char)text[at++];
            if (c < 0x20)
                return false;  // control characters must be escaped
            if (c != '\\') {
                out->push_back((char)c);
                continue;
            }
            if (at >= text.size())
                return false;
            char escape = text[at++];
            if (escape == 'u') {
                if (at + 4 > text.size())
                    return false;
                unsigned code = (unsigned)strtoul(text.substr(at, 4).c_str(), NULL, 16);
                at += 4;
                if (code >= 0x80)
                    return false;  // the report escapes only control characters
                out->push_back((char)code);
            } else if (escape == '"' || escape == '\\' || escape == '/') {
                out->push_back(escape);
            } else {
                return false;
            }
        }
        return Take('"');
    }
    bool Value(Json* value)
    {
        Blanks();
        if (at >= text.size())
            return false;
        char c = text[at];
        if (c == '{') {
            at++;
            value->kind = Json::Object;
            if (Take('}'))
                return true;
            do {
                std::string key;
                Json member;
                if (!StringValue(&key) || !Take(':') || !Value(&member))
                    return false;
                value->members[key] = member;
            } while (Take(','));
            return Take('}');
        }
        if (c == '[') {
            at++;
            value->kind = Json::Array;
            if (Take(']'))
                return true;
            do {
                Json item;
                if (!Value(&item))
                    return false;
                value->items.push_back(item);
            } while (Take(','));
            return Take(']');
        }
        if (c == '"') {
            value->kind = Json::String;
            return StringValue(&value->text);
        }
        if (c >= '0' && c <= '9') {
            value->kind = Json::Number;
            size_t start = at;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9')
                at++;
            value->number = strtoull(text.substr(start, at - start).c_str(), NULL, 10);
            return true;
        }
        if (Word("true") || Word("false")) {
            value->kind = Json::Bool;
            value->flag = text[at - 1] == 'e' && text[at - 2] == 'u';
            return true;
        }
        return Word("null");
    }

    const std::string& text;
    size_t at = 0;
};

const char MacA[] = "00-1A-2B-3C-4D-A1";
const char MacB[] = "00-1A-2B-3C-4D-B2";
const unsigned long long GB = 1000000000ULL;

// A line of the text report: the label, then IN, OUT and the total right-aligned in columns,
// then the dates.
std::string Row(const std::string& label, const std::string& in, const std::string& out,
                const std::string& total, const std::string& when)
{
    auto right = [](const std::string& text) { return std::string(12 - text.size(), ' ') + text; };
    return "  " + label + std::string(14 - label.size(), ' ') + " " + right(in) + " " +
           right(out) + " " + right(total) + "   " + when + "\n";
}

class UsageReportTest : public testing::Test {
protected:
    void SetUp() override
    {
        program = folder.Path("Brisvane.exe");
        Ini("[Settings]\r\nResetType=1\r\nResetDate=1\r\nAlertType=0\r\nLimitIN=50\r\n"
            "LimitOUT=0\r\nAlertPercent=100\r\n"
            "[00-1A-2B-3C-4D-A1]\r\nTotal_in=30000000000\r\nTotal_out=2000000000\r\n"
            "StartDay=2026-12-01 00:00:00\r\n"
            "[00-1A-2B-3C-4D-B2]\r\nTotal_in=5000\r\nTotal_out=100\r\n"
            "[History]\r\n2026-12-10 00-1A-2B-3C-4D-A1=1000000000,100000000,"
            "Adapter \"A\" \xC3\xA9\r\n");
        Write("Brisvane-history.csv",
              "Date,MAC,Description,Bytes in,Bytes out\r\n"
              "2026-11-30,00-1A-2B-3C-4D-A1,\"Adapter \"\"A\"\" \xC3\xA9\",7000000000,0\r\n"
              "2026-12-01,00-1A-2B-3C-4D-A1,\"Adapter \"\"A\"\" \xC3\xA9\",4000000000,400000000\r\n"
              "2026-12-05,00-1A-2B-3C-4D-A1,\"Adapter \"\"A\"\" \xC3\xA9\",5000000000,500000000\r\n"
              "2026-12-09,00-1A-2B-3C-4D-B2,\"Adapter B\",3000,50\r\n");
    }
    void Write(const char* name, const std::string& text)
    {
        ASSERT_TRUE(WriteFileText(folder.Path(name), text));
    }
    void Ini(const std::string& text) { Write("Brisvane.INI", text); }

    // Runs the report at now: noon on 10 December 2026 unless a test moves it.
    int Run(std::vector<const char*> arguments)
    {
        ReportText outText, errorText;
        int code = RunReport((int)arguments.size(), arguments.data(), program.c_str(), now,
                             &outText, &errorText);
        out = outText.Get();
        error = errorText.Get();
        return code;
    }
    Json RunJson(std::vector<const char*> arguments, int expectedCode = 0)
    {
        arguments.insert(arguments.begin(), "--json");
        EXPECT_EQ(expectedCode, Run(arguments)) << error;
        Json document;
        EXPECT_TRUE(JsonReader(out).Read(&document)) << out;
        return document;
    }

    TempFolder folder;
    SYSTEMTIME now = {2026, 12, 4, 10, 12, 0, 0, 0};
    std::string program;
    std::string out;
    std::string error;
};

}  // namespace

TEST_F(UsageReportTest, JsonHoldsEveryAdaptersFiguresInBytes)
{
    Json document = RunJson({});
    EXPECT_EQ("2026-12-10T12:00:00", document["generated"].text);
    EXPECT_EQ(folder.Root(), document["dataFolder"].text);
    EXPECT_EQ("monthly", document["resetType"].text);
    EXPECT_FALSE(document["limitPassed"].flag);
    ASSERT_EQ(2u, document["adapters"].items.size());
    const Json& a = document["adapters"][0];
    EXPECT_EQ(MacA, a["mac"].text);
    EXPECT_EQ("Adapter \"A\" \xC3\xA9", a["description"].text);
    EXPECT_EQ("2026-12-10", a["today"]["first"].text);
    EXPECT_EQ(1 * GB, a["today"]["in"].number);
    EXPECT_EQ(100000000u, a["today"]["out"].number);
    EXPECT_EQ(1100000000u, a["today"]["total"].number);
    EXPECT_EQ("2026-12-01", a["period"]["first"].text);
    EXPECT_EQ("2026-12-31", a["period"]["last"].text);
    EXPECT_EQ(10 * GB, a["period"]["in"].number);
    EXPECT_EQ(1 * GB, a["period"]["out"].number);
    // 9.5 days gave 10 GB: 21.5 more at that pace.
    EXPECT_EQ(32631578947ULL, a["forecast"]["in"].number);
    EXPECT_EQ(3263157895ULL, a["forecast"]["out"].number);
    EXPECT_EQ("IN+OUT", a["limit"]["name"].text);
    EXPECT_EQ(50 * GB, a["limit"]["bytes"].number);
    EXPECT_FALSE(a["limit"]["passesAtThisPace"].flag);
    EXPECT_EQ(10 * GB, a["month"]["in"].number);
    EXPECT_EQ("2026-01-01", a["year"]["first"].text);
    EXPECT_EQ(17 * GB, a["year"]["in"].number);
    EXPECT_EQ(30 * GB, a["sinceReset"]["in"].number);
    EXPECT_EQ(32 * GB, a["sinceReset"]["total"].number);
    EXPECT_EQ("2026-12-01T00:00:00", a["sinceReset"]["since"].text);
    EXPECT_EQ(Json::Null, a["days"].kind);  // only when asked for

    const Json& b = document["adapters"][1];
    EXPECT_EQ(MacB, b["mac"].text);
    EXPECT_EQ(0u, b["today"]["in"].number);
    EXPECT_EQ(3000u, b["period"]["in"].number);
    EXPECT_EQ(Json::Null, b["sinceReset"]["since"].kind);
    EXPECT_EQ(5000u, b["sinceReset"]["in"].number);
    EXPECT_EQ(folder.Path("Brisvane-history.csv"), document["historyFile"].text);
    EXPECT_EQ(Json::Number, document["historyUnreadableLines"].kind);
    EXPECT_EQ(0u, document["historyUnreadableLines"].number);

    // Stored numbers read as the program reads them: a negative one as 0, a "+" and a tab
    // before the digits taken.
    WritePrivateProfileStringA(MacB, "Total_in", "-5", folder.Path("Brisvane.INI").c_str());
    WritePrivateProfileStringA(MacB, "Total_out", "\"\t+7\"", folder.Path("Brisvane.INI").c_str());
    // Lines of the history file it cannot read are counted; the exit code stays.
    Write("Brisvane-history.csv", ReadFileText(folder.Path("Brisvane-history.csv")) +
                                      "garbage\r\n2026-12-0x,00-1A-2B-3C-4D-B2,\"B\",1,1\r\n");
    document = RunJson({});
    EXPECT_EQ(Json::Object, document["adapters"][1]["sinceReset"].kind);
    EXPECT_EQ(0u, document["adapters"][1]["sinceReset"]["in"].number);
    EXPECT_EQ(7u, document["adapters"][1]["sinceReset"]["out"].number);
    EXPECT_EQ(2u, document["historyUnreadableLines"].number);
    EXPECT_NE(std::string::npos, error.find("Brisvane-history.csv: 2 lines cannot be read"))
        << error;
}

TEST_F(UsageReportTest, ChosenAdapterWithItsLastDaysAndMonths)
{
    Json document = RunJson({"--adapter", "00:1a:2b:3c:4d:a1", "--days", "3", "--months", "2"});
    ASSERT_EQ(1u, document["adapters"].items.size());
    const Json& a = document["adapters"][0];
    EXPECT_EQ(MacA, a["mac"].text);
    ASSERT_EQ(3u, a["days"].items.size());
    EXPECT_EQ("2026-12-10", a["days"][0]["date"].text);
    EXPECT_EQ(1 * GB, a["days"][0]["in"].number);
    EXPECT_EQ("2026-12-08", a["days"][2]["date"].text);
    EXPECT_EQ(0u, a["days"][2]["in"].number);
    ASSERT_EQ(2u, a["months"].items.size());
    EXPECT_EQ("2026-12-01", a["months"][0]["first"].text);
    EXPECT_EQ(10 * GB, a["months"][0]["in"].number);
    EXPECT_EQ("2026-11-01", a["months"][1]["first"].text);
    EXPECT_EQ("2026-11-30", a["months"][1]["last"].text);
    EXPECT_EQ(7 * GB, a["months"][1]["in"].number);

    // By a part of the description, in any case.
    document = RunJson({"--adapter", "adapter b"});
    ASSERT_EQ(1u, document["adapters"].items.size());
    EXPECT_EQ(MacB, document["adapters"][0]["mac"].text);

    // On the calendar's last day a period that would end in the year 10000 ends with it.
    WritePrivateProfileStringA("Settings", "ResetDate", "31", folder.Path("Brisvane.INI").c_str());
    now.wYear = 9999;
    now.wMonth = 12;
    now.wDay = 31;
    document = RunJson({"--adapter", MacA, "--months", "1"});
    EXPECT_EQ("9999-12-31", document["adapters"][0]["period"]["last"].text);
    EXPECT_EQ("9999-12-31", document["adapters"][0]["months"][0]["last"].text);
}

TEST_F(UsageReportTest, TextShowsTheSameFiguresAsThePagesDo)
{
    ASSERT_EQ(0, Run({"--adapter", MacA, "--days", "2"})) << error;
    EXPECT_NE(std::string::npos, out.find("Adapter \"A\" \xC3\xA9 (00-1A-2B-3C-4D-A1)")) << out;
    EXPECT_EQ(std::string::npos, out.find(MacB)) << out;
    for (const std::string& line : {
             Row("Today", "1000 MB", "100 MB", "1.10 GB", "2026-12-10"),
             Row("This period", "10.00 GB", "1000 MB", "11.00 GB", "2026-12-01 to 2026-12-31"),
             Row("  at this pace", "32.63 GB", "3.26 GB", "35.89 GB", "by 31 Dec"),
             Row("This month", "10.00 GB", "1000 MB", "11.00 GB", "2026-12"),
             Row("This year", "17.00 GB", "1000 MB", "18.00 GB", "2026"),
             Row("Since reset", "30.00 GB", "2.00 GB", "32.00 GB", "since 2026-12-01T00:00:00"),
             Row("", "0 B", "0 B", "0 B", "2026-12-09"),
             std::string("    limit        IN+OUT 50.00 GB: about 1.81 GB a day left\n"),
         })
        EXPECT_NE(std::string::npos, out.find(line)) << line << out;
}

TEST_F(UsageReportTest, ExitCodesForALimitPassedAUsageErrorAndFilesThatCannotBeRead)
{
    // A limit passed, as the alert says it: IN 30 GB over 20 GB.
    WritePrivateProfileStringA("Settings", "LimitIN", "20", folder.Path("Brisvane.INI").c_str());
    Json document = RunJson({}, 1);
    EXPECT_TRUE(document["limitPassed"].flag);
    EXPECT_TRUE(document["adapters"][0]["limitPassed"].flag);
    EXPECT_FALSE(document["adapters"][1]["limitPassed"].flag);
    ASSERT_EQ(1, Run({})) << error;
    EXPECT_NE(std::string::npos, out.find("Alert: IN passed the limit")) << out;

    for (std::vector<const char*> wrong : std::vector<std::vector<const char*>>{
             {"--days"}, {"--days", "0"}, {"--days", "x"}, {"--months", "99999"}, {"--bogus"},
             {"--adapter"}, {"--adapter", "no such adapter"}}) {
        EXPECT_EQ(2, Run(wrong)) << wrong[0];
        EXPECT_EQ("", out);
        EXPECT_NE("", error);
    }
    EXPECT_EQ(0, Run({"--help"}));
    EXPECT_NE(std::string::npos, out.find("Usage:"));

    // A history file in no form it can read (UTF-16 without its mark, bytes that are no
    // text) cannot be read: no report, whatever the limits say.
    for (const std::string& foreign :
         {std::string("2\0" "0\0" "2\0", 6), std::string("\x01\0\xFF", 3)}) {
        Write("Brisvane-history.csv", foreign);
        EXPECT_EQ(3, Run({"--json"}));
        EXPECT_EQ("", out);
        EXPECT_NE(std::string::npos, error.find("Brisvane-history.csv cannot be read")) << error;
    }

    // The history file held by another program that lets nobody read it.
    HANDLE held = CreateFileA(folder.Path("Brisvane-history.csv").c_str(), GENERIC_READ, 0, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(3, Run({}));
    EXPECT_NE(std::string::npos, error.find("Brisvane-history.csv cannot be read")) << error;
    CloseHandle(held);
    // Nothing saved at all.
    TempFolder empty;
    program = empty.Path("Brisvane.exe");
    EXPECT_EQ(3, Run({"--json"}));
    EXPECT_EQ("", out);
    EXPECT_NE(std::string::npos, error.find("has saved nothing")) << error;
}

TEST_F(UsageReportTest, LeavesTheFilesAsTheyWere)
{
    std::string ini = ReadFileText(folder.Path("Brisvane.INI"));
    std::string history = ReadFileText(folder.Path("Brisvane-history.csv"));
    ASSERT_EQ(0, Run({"--days", "40", "--months", "3"}));
    ASSERT_EQ(0, Run({"--json"}));
    EXPECT_EQ(ini, ReadFileText(folder.Path("Brisvane.INI")));
    EXPECT_EQ(history, ReadFileText(folder.Path("Brisvane-history.csv")));
    int files = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.Path("*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
            files++;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(2, files);
}

TEST(ReportTextTest, JsonStringsAreEscapedAndStayUtf8)
{
    ReportText text;
    text.AddJsonString("a\"b\\c\x01\t\xC3\xA9\xFF");
    EXPECT_STREQ("\"a\\\"b\\\\c\\u0001\\u0009\xC3\xA9\xEF\xBF\xBD\"", text.Get());
    // A file or pipe gets the bytes as they are.
    TempFolder folder;
    std::string path = folder.Path("out.txt");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    EXPECT_EQ(1, WriteReportText(file, "\xC3\xA9\n", 3));
    CloseHandle(file);
    EXPECT_EQ("\xC3\xA9\n", ReadFileText(path));
}
