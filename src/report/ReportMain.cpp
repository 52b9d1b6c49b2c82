// brisvane-report.exe: a console program beside Brisvane.exe that prints what the tray program
// has saved and ends. A console program, so that cmd.exe and PowerShell wait for it, take its
// output in order and see its exit code; it reads the files only and never starts the tray
// program.
#include <windows.h>
#include <shellapi.h>

#include "BoundedText.h"
#include "DataFolder.h"
#include "GrowArray.h"
#include "LanguageResources.h"
#include "LanguageSetting.h"
#include "Platform.h"
#include "ReportText.h"
#include "Settings.h"
#include "UsageReport.h"
#include "Utf8Text.h"
#include "resource.h"

#define ARGUMENT_CHARS 1024
#define MODULE_PATH_CHARS 1024

// The arguments as UTF-8, whatever the console's code page.
static int ReadArguments(GrowArray<char*>* arguments, GrowArray<char>* storage)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == NULL)
        return 0;
    int ok = storage->Resize(count * ARGUMENT_CHARS) && arguments->Resize(count);
    for (int i = 0; ok && i < count; i++) {
        char* text = storage->Data() + (size_t)i * ARGUMENT_CHARS;
        WideToUtf8(wide[i], text, ARGUMENT_CHARS);
        (*arguments)[i] = text;
    }
    LocalFree(wide);
    return ok;
}

// The tray program this one belongs to: Brisvane.exe in the same folder.
static int TrayProgramPath(char* path, size_t size)
{
    char module[MODULE_PATH_CHARS];
    if (!Platform.ReadModuleFileName(module, sizeof(module)))
        return 0;
    size_t folder = FolderPartLength(module);
    return BoundedPrint(path, size, "%.*s%s", (int)folder, module, REPORT_PROGRAM_NAME) ==
           (int)(folder + sizeof(REPORT_PROGRAM_NAME) - 1);
}

int main()
{
    GrowArray<char*> arguments;
    GrowArray<char> storage;
    ReportText out, error;
    int code;
    char program[PATH_CHARS];
    if (!ReadArguments(&arguments, &storage) || arguments.Count() < 1) {
        error.AddText(IDS_REPORT_BAD_COMMAND_LINE);
        code = ReportUsageError;
    } else if (!TrayProgramPath(program, sizeof(program))) {
        error.AddText(IDS_REPORT_PATH_TOO_LONG);
        code = ReportUnreadable;
    } else {
        // The text in the tray program's language; the JSON stays as it is.
        LocateDataFolder(program);
        LanguageResources.Language = ProgramLanguage(IniPath);
        SYSTEMTIME now;
        GetLocalTime(&now);
        code = RunReport(arguments.Count() - 1, arguments.Data() + 1, program, now, &out, &error);
    }
    WriteReportText(GetStdHandle(STD_OUTPUT_HANDLE), out.Get(), out.Length());
    WriteReportText(GetStdHandle(STD_ERROR_HANDLE), error.Get(), error.Length());
    return code;
}
