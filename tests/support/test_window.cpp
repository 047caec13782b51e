#include "support/test_window.h"

#include <commctrl.h>

#include "app/main_window.h"
#include "jobs/merge_queue.h"

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

bool WaitForMerges(HWND mainWindow, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const MergeQueue* merges = MainWindowMerges(mainWindow);
        if (merges == NULL || !MergesPending(*merges))
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
    }
}

std::string RowTip(HWND mainWindow, int row, const char* shown)
{
    char text[256];
    lstrcpynA(text, shown, sizeof(text));
    NMLVGETINFOTIPA tip = {};
    tip.hdr.hwndFrom = GetDlgItem(mainWindow, 超级列表框1);
    tip.hdr.idFrom = 超级列表框1;
    tip.hdr.code = LVN_GETINFOTIPA;
    tip.pszText = text;
    tip.cchTextMax = sizeof(text);
    tip.iItem = row;
    SendMessageA(mainWindow, WM_NOTIFY, 超级列表框1, reinterpret_cast<LPARAM>(&tip));
    return text;
}
