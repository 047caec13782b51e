#pragma once
#include <windows.h>

#include <string>

// A plain top-level window for the controls under test, destroyed with the
// holder.
class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND handle() const { return handle_; }

private:
    HWND handle_;
};

// Destroys a window that a test created and drops whatever its end left in
// the thread's queue (the request to quit among it), so that the next case
// starts from an empty queue.
void DestroyAndDrain(HWND window);

// Handles the thread's messages until the main window's merges have all
// ended (none waits or runs); false when they have not after timeoutMs.
bool WaitForMerges(HWND mainWindow, DWORD timeoutMs = 20000);

// The tip that the main window gives for a row of its list when the list
// asks (LVN_GETINFOTIPA), starting from the text shown. Wine 8's list view
// never asks when the pointer rests on an item, so the tests ask instead.
std::string RowTip(HWND mainWindow, int row, const char* shown);
