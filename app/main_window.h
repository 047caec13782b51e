#pragma once
#include <windows.h>

#include "jobs/merge_queue.h"
#include "sys/text.h"

// The controls of the main window, by the names of its form.
enum ControlId {
    编辑框1 = 101,      // source folder box
    按钮1 = 102,        // 选择文件目录
    编辑框2 = 103,      // output folder box
    按钮3 = 104,        // 设定存放目录
    超级列表框1 = 105,  // the folder list
    按钮2 = 106,        // 合并
    按钮4 = 107,        // 退出
};

const int kMainWidth = 500;
const int kMainHeight = 372;
extern const char kMainWindowClass[];

// The top-left corner that centres a window of the main window's size on a
// screen of the given size.
POINT CenteredOrigin(int screenWidth, int screenHeight);

// The merges that the window keeps (NULL before it is created).
MergeQueue* MainWindowMerges(HWND window);

// Creates the main window with all its controls, centred on the primary
// screen, and shows it; NULL when it cannot be created.
HWND CreateMainWindow(HINSTANCE instance);

// Handles the keys that the window itself owns, whichever control has the
// focus: Tab and Shift+Tab move the focus, Esc closes the window, Enter and
// F1 do nothing. True when the message was taken.
bool HandleWindowKey(HWND window, const MSG& msg);

// The same for a message taken off the queue anywhere else, as during a
// merge run: the keys of whichever main window the message is for.
bool TranslateWindowKey(const MSG& msg);

// The whole text of a control of the main window, and setting it.
Text ControlText(HWND window, int id);
void SetControlText(HWND window, int id, const Text& text);

// Runs the message loop until the window has gone; the loop's exit code.
int RunMessageLoop(HWND window);
