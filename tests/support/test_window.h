#pragma once
#include <windows.h>

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
