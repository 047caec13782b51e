#include "app/main_window.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/folder_commands.h"
#include "app/program_end.h"
#include "jobs/folder_list.h"
#include "jobs/folder_scan.h"
#include "jobs/merge_queue.h"
#include "jobs/merge_rules.h"
#include "jobs/merge_run.h"
#include "sys/paths.h"

const char kMainWindowClass[] = "QuorvaneMainWindow";

namespace {

struct ControlLayout {
    int id;
    const char* className;  // NULL: the folder list
    const char* text;
    int x, y, width, height;
};

// In creation order, which is also the Tab order.
const ControlLayout kControls[] = {
    {编辑框1, "EDIT", "", 8, 6, 392, 32},
    {按钮1, "BUTTON", "选择文件目录", 408, 6, 80, 32},
    {编辑框2, "EDIT", "", 8, 46, 392, 32},
    {按钮3, "BUTTON", "设定存放目录", 408, 46, 80, 32},
    {超级列表框1, NULL, "", 8, 86, 480, 216},
    {按钮2, "BUTTON", "合并", 312, 310, 80, 32},
    {按钮4, "BUTTON", "退出", 408, 310, 80, 32},
};

const DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
// Plain push buttons: none is the default button, so Enter clicks none.
const DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

HWND CreateControl(HWND window, const ControlLayout& layout)
{
    if (layout.className == NULL)
        return CreateFolderList(window, layout.id, layout.x, layout.y, layout.width, layout.height);
    bool isEdit = lstrcmpA(layout.className, "EDIT") == 0;
    HWND control = CreateWindowExA(isEdit ? WS_EX_CLIENTEDGE : 0, layout.className, layout.text,
                                   isEdit ? kEditStyle : kButtonStyle, layout.x, layout.y, layout.width,
                                   layout.height, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                   GetModuleHandleA(NULL), NULL);
    if (control == NULL)
        return NULL;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // No limit of the box's own: a pasted path is never cut.
    if (isEdit)
        SendMessageA(control, EM_SETLIMITTEXT, 0, 0);
    return control;
}

// What the window keeps besides its controls.
struct WindowState {
    std::unique_ptr<MergeQueue> merges;
    bool reachingRows = false;  // MergeAll is going through the rows
    bool runAgain = false;      // 合并 was clicked meanwhile
    HWND focus = NULL;          // the control that had the focus when the window lost it
};

// In the window's user data: read on every notification of the list, so it
// must be cheap (a window property costs a server call under Wine).
WindowState* StateOf(HWND window)
{
    return reinterpret_cast<WindowState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

int LogicalProcessors()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return static_cast<int>(info.dwNumberOfProcessors);
}

LRESULT OnCreate(HWND window)
{
    WindowState* state = new WindowState;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    for (const ControlLayout& layout : kControls) {
        if (CreateControl(window, layout) == NULL)
            return -1;
    }
    state->merges = CreateMergeQueue(window, GetDlgItem(window, 超级列表框1), MergeSlots(LogicalProcessors()));
    return 0;
}

// The run handles the window's messages while it reaches the rows; a click
// on 合并 meanwhile is not nested inside it but starts the next run after it.
void RunMerge(HWND window)
{
    WindowState* state = StateOf(window);
    if (state->reachingRows) {
        state->runAgain = true;
        return;
    }
    do {
        state->runAgain = false;
        state->reachingRows = true;
        MergeAll(*state->merges, GetDlgItem(window, 编辑框2));
        state->reachingRows = false;
    } while (state->runAgain);
}

LRESULT OnCommand(HWND window, int id, int code)
{
    if (code != BN_CLICKED)
        return 0;
    switch (id) {
    case 按钮1: SelectSourceFolder(window); break;
    case 按钮3: SetOutputFolder(window); break;
    case 按钮2: RunMerge(window); break;
    case 按钮4: ExitProgram(); break;
    }
    return 0;
}

// A window that is not a dialog loses its control's focus on deactivation:
// keep the focused control and give it back, the first command button at
// first.
LRESULT OnActivate(HWND window, WPARAM state)
{
    WindowState* windowState = StateOf(window);
    if (windowState == NULL)
        return 0;
    if (LOWORD(state) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != NULL && IsChild(window, focus))
            windowState->focus = focus;
        return 0;
    }
    HWND saved = windowState->focus;
    SetFocus(saved != NULL && IsWindow(saved) ? saved : GetDlgItem(window, 按钮1));
    return 0;
}

// Closing the window while the run reaches the rows would destroy the list
// that the run reads: then the program ends at once, as 退出 ends it.
LRESULT OnClose(HWND window)
{
    if (StateOf(window)->reachingRows)
        ExitProgram();
    DestroyWindow(window);
    return 0;
}

// Merges that run go on by themselves; those that wait are never started.
LRESULT OnDestroy(HWND window)
{
    DestroyMergeQueue(StateOf(window)->merges);
    PostQuitMessage(0);
    return 0;
}

LRESULT OnNcDestroy(HWND window)
{
    delete StateOf(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return 0;
}

LRESULT OnMergeEndedMessage(HWND window, LPARAM id)
{
    if (StateOf(window)->merges)
        OnMergeEnded(*StateOf(window)->merges, id);
    return 0;
}

// The tip of a row that reads 处理失败 tells why; other rows keep the
// list's own tip.
void ShowFailureTip(const MergeQueue& merges, NMLVGETINFOTIPA& tip)
{
    const Text reason = FailureReason(merges, RowFromBottom(merges.list, tip.iItem));
    if (!reason.empty() && tip.pszText != NULL && tip.cchTextMax > 0)
        lstrcpynA(tip.pszText, reason.c_str(), tip.cchTextMax);
}

void ShowFailureTip(const MergeQueue& merges, NMLVGETINFOTIPW& tip)
{
    const std::wstring reason = ToWide(FailureReason(merges, RowFromBottom(merges.list, tip.iItem)));
    if (!reason.empty() && tip.pszText != NULL && tip.cchTextMax > 0)
        lstrcpynW(tip.pszText, reason.c_str(), tip.cchTextMax);
}

LRESULT OnNotify(HWND window, NMHDR* header)
{
    const bool tip = header->code == LVN_GETINFOTIPA || header->code == LVN_GETINFOTIPW;
    if (!tip || header->idFrom != 超级列表框1 || !StateOf(window)->merges)
        return 0;
    if (header->code == LVN_GETINFOTIPA)
        ShowFailureTip(*StateOf(window)->merges, *reinterpret_cast<NMLVGETINFOTIPA*>(header));
    else if (header->code == LVN_GETINFOTIPW)
        ShowFailureTip(*StateOf(window)->merges, *reinterpret_cast<NMLVGETINFOTIPW*>(header));
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_COMMAND: return OnCommand(window, LOWORD(wParam), HIWORD(wParam));
    case WM_ACTIVATE: return OnActivate(window, wParam);
    case WM_CLOSE: return OnClose(window);
    case WM_DESTROY: return OnDestroy(window);
    case WM_NCDESTROY: return OnNcDestroy(window);
    case WM_NOTIFY: return OnNotify(window, reinterpret_cast<NMHDR*>(lParam));
    case kMergeEndedMessage: return OnMergeEndedMessage(window, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void MoveFocus(HWND window, bool backward)
{
    HWND focus = GetFocus();
    if (focus == window)
        focus = NULL;
    HWND next = GetNextDlgTabItem(window, focus, backward);
    if (next == NULL)
        return;
    SetFocus(next);
    // As in a dialog: an edit box reached by Tab has its text selected.
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(next, EM_SETSEL, 0, -1);
}

}  // namespace

MergeQueue* MainWindowMerges(HWND window)
{
    WindowState* state = StateOf(window);
    return state != NULL ? state->merges.get() : NULL;
}

POINT CenteredOrigin(int screenWidth, int screenHeight)
{
    POINT origin = {(screenWidth - kMainWidth) / 2, (screenHeight - kMainHeight) / 2};
    return origin;
}

HWND CreateMainWindow(HINSTANCE instance)
{
    if (!RegisterMainWindowClass(instance))
        return NULL;
    POINT origin = CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    HWND window = CreateWindowExA(0, kMainWindowClass, "Quorvane", style, origin.x, origin.y,
                                  kMainWidth, kMainHeight, NULL, NULL, instance, NULL);
    if (window == NULL)
        return NULL;
    SetEventFilter(TranslateWindowKey);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

bool HandleWindowKey(HWND window, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || (msg.hwnd != window && !IsChild(window, msg.hwnd)))
        return false;
    switch (msg.wParam) {
    case VK_TAB:
        MoveFocus(window, GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_ESCAPE:
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    case VK_RETURN:
    case VK_F1:
        return true;
    }
    return false;
}

bool TranslateWindowKey(const MSG& msg)
{
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    char name[64] = "";
    if (root == NULL || GetClassNameA(root, name, sizeof(name)) == 0 ||
        lstrcmpA(name, kMainWindowClass) != 0)
        return false;
    return HandleWindowKey(root, msg);
}

Text ControlText(HWND window, int id)
{
    return WindowText(GetDlgItem(window, id));
}

void SetControlText(HWND window, int id, const Text& text)
{
    SetDlgItemTextA(window, id, text.c_str());
}

int RunMessageLoop(HWND window)
{
    MSG msg;
    BOOL result;
    while ((result = GetMessageA(&msg, NULL, 0, 0)) != 0) {
        if (result == -1)
            return 0;
        if (HandleWindowKey(window, msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
