#include <doctest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/dialog_script.h"
#include "support/temp_folder.h"
#include "support/test_window.h"
#include "ui/folder_picker.h"

namespace {

bool Holds(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The scripted session maps Q: to a folder of its own.
const char kTestDrive[] = "Q:\\";

}  // namespace

TEST_CASE("BrowseForFolder gives the chosen folder's path, or nothing")
{
    OleInitialize(NULL);
    REQUIRE(GetDriveTypeA(kTestDrive) != DRIVE_NO_ROOT_DIR);
    TempFolder root;
    const std::string start = root.MakeFolder("起点");
    const std::string other = root.MakeFolder("开 始");
    const std::string reports = root.MakeFolder("报表 2020");
    const std::string blanks = root.MakeFolder("工具　");  // ends in an ideographic space
    TestWindow owner;

    struct Case {
        const char* name;
        std::string initial;
        std::string select;  // "": leave the selection
        bool ok;
        int csidl;  // a shell item to select instead, or -1
        std::string expected;
    } cases[] = {
        {"OK at once gives the initial folder", start, "", true, -1, start},
        {"another initial folder replaces the first", other, "", true, -1, other},
        {"a folder chosen in the tree", start, reports, true, -1, reports},
        {"a name that ends in blanks comes back trimmed", start, blanks, true, -1, root / "工具"},
        {"a drive's root folder", start, kTestDrive, true, -1, kTestDrive},
        {"Cancel", start, reports, false, -1, ""},
        {"an item without a file-system path (My Computer)", start, "", true, CSIDL_DRIVES, ""},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        const std::string title = std::string("请选择：") + c.name;
        DialogStep step;
        step.select = c.select;
        step.ok = c.ok;
        step.csidl = c.csidl;
        DialogScript script({step});
        SettleAccessTimes(c.initial);
        CHECK(BrowseForFolder(title, c.initial, owner.handle()) == c.expected);
        REQUIRE(script.seen().size() == 1);
        const DialogSeen& seen = script.seen()[0];
        CHECK(Holds(seen.texts, title));
        CHECK(seen.owner == owner.handle());
        CHECK(seen.editField);
        CHECK(seen.newFolderButton);
    }
    OleUninitialize();
}
