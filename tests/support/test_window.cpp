#include "support/test_window.h"

namespace {
const char kTestWindowClass[] = "QuorvaneTestWindow";
}

TestWindow::TestWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = kTestWindowClass;
    RegisterClassA(&windowClass);
    handle_ = CreateWindowExA(0, kTestWindowClass, "test", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                              NULL, NULL, GetModuleHandleA(NULL), NULL);
}

TestWindow::~TestWindow()
{
    DestroyWindow(handle_);
}

void DestroyAndDrain(HWND window)
{
    DestroyWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
}
