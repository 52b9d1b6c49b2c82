// Helpers shared by the tests: a private temporary folder and message pumping.
#ifndef BRISVANE_TESTSUPPORT_H
#define BRISVANE_TESTSUPPORT_H

#include <windows.h>
#include <functional>
#include <string>

// A fresh, empty folder under the temporary directory, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string Path(const char* name) const;
    const std::string& Root() const { return root; }

private:
    std::string root;
};

// Dispatches every waiting message of this thread.
void PumpMessages();
// Reads a whole file (its path in UTF-8); empty when it does not exist.
std::string ReadFileText(const std::string& path);
// Writes a whole file (its path in UTF-8), bytes as given; false when it cannot be written.
bool WriteFileText(const std::string& path, const std::string& text);
// A log's text: the file without the byte-order mark a new log starts with.
std::string ReadLogText(const std::string& path);
bool FileExists(const std::string& path);
// How often part occurs in text.
int CountOf(const std::string& text, const std::string& part);
// The text of a window.
std::string WindowText(HWND window);

// Runs this test program again for the one (disabled) test named by filter, with the variable
// BRISVANE_CHILD_FOLDER set to folder and BRISVANE_CHILD_READY naming an event; waits until the
// child sets that event, then runs beforeKill and kills the child. False when the child could not
// start or ended before it was ready.
bool RunChildUntilReady(const std::string& filter, const std::string& folder,
                        const std::function<void()>& beforeKill = std::function<void()>());

#endif
