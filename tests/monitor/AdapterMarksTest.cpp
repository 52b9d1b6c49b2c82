// An adapter's marks in its INI section: a missing mark takes the rule's verdict at first sight,
// a set one wins, and a value that is neither "1" nor "0" is ignored and kept.
#include <gtest/gtest.h>
#include <string.h>

#include "AdapterMarks.h"
#include "InterfaceMonitor.h"
#include "TestSupport.h"

TEST(AdapterMarksTest, MissingTakesTheRuleSetWinsUnreadableIsKept)
{
    TempFolder folder;
    std::string path = folder.Path("marks.ini");
    ASSERT_TRUE(WriteFileText(path, "[A]\r\nCountInAll=1\r\nHidden=1\r\n"
                                    "[B]\r\nCountInAll=yes\r\nHidden= 2\r\n"
                                    "[C]\r\nTotal_in=5\r\n"));
    IniDocument document;
    ASSERT_TRUE(document.Read(path.c_str()));
    struct Case {
        const char* Section;
        bool Counts;
        bool Hidden;
    } cases[] = {
        {"A", true, true},     // the user's "count" over a tunnel
        {"B", false, false},   // unreadable: the rule, nothing hidden
        {"C", false, false},   // missing: the rule
    };
    for (const Case& c : cases) {
        InterfaceMonitor tunnel("10.8.0.2");
        tunnel.Hardware = 0;
        tunnel.IfRow.dwType = IF_TYPE_TUNNEL;
        tunnel.LoadMarks(document, c.Section);
        EXPECT_EQ(c.Counts, tunnel.CountsInAll()) << c.Section;
        EXPECT_EQ(c.Hidden, tunnel.Hidden()) << c.Section;
        StoreAdapterMarks(tunnel.Marks, document, c.Section);
    }
    char text[32];
    // The rule's verdict is recorded where there was none; the unreadable values stay.
    ASSERT_TRUE(document.Get("C", CountInAllKey, text, sizeof(text)));
    EXPECT_STREQ("0", text);
    ASSERT_TRUE(document.Get("B", CountInAllKey, text, sizeof(text)));
    EXPECT_STREQ("yes", text);
    ASSERT_TRUE(document.Get("B", HiddenKey, text, sizeof(text)));
    EXPECT_STREQ("2", text);
    EXPECT_FALSE(document.Get("C", HiddenKey, text, sizeof(text)));

    // The user's change replaces an unreadable value.
    InterfaceMonitor changed("10.8.0.3");
    changed.LoadMarks(document, "B");
    changed.SetHidden(true);
    changed.SetCountsInAll(true);
    EXPECT_TRUE(changed.SaveWanted);
    StoreAdapterMarks(changed.Marks, document, "B");
    ASSERT_TRUE(document.Get("B", HiddenKey, text, sizeof(text)));
    EXPECT_STREQ("1", text);
    ASSERT_TRUE(document.Get("B", CountInAllKey, text, sizeof(text)));
    EXPECT_STREQ("1", text);
}
