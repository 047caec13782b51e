#include "app/main_window.h"

#include "app/folder_commands.h"
#include "app/program_end.h"
#include "jobs/folder_list.h"
#include "jobs/merge_run.h"

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

LRESULT OnCreate(HWND window)
{
    for (const ControlLayout& layout : kControls) {
        if (CreateControl(window, layout) == NULL)
            return -1;
    }
    return 0;
}

// Set on the window while a merge run goes on.
const char kMergeRunProperty[] = "QuorvaneMergeRun";

bool MergeRunning(HWND window)
{
    return GetPropA(window, kMergeRunProperty) != NULL;
}

void RunMerge(HWND window)
{
    SetPropA(window, kMergeRunProperty, reinterpret_cast<HANDLE>(1));
    MergeAll(window);
    RemovePropA(window, kMergeRunProperty);
}

LRESULT OnCommand(HWND window, int id, int code)
{
    if (code != BN_CLICKED)
        return 0;
    // The run handles the window's messages while it collects files: a scan
    // then would shift the rows under it, a second run would nest inside it.
    if ((id == 按钮1 || id == 按钮2) && MergeRunning(window))
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
    if (LOWORD(state) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != NULL && IsChild(window, focus))
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(focus));
        return 0;
    }
    HWND saved = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA));
    SetFocus(saved != NULL && IsWindow(saved) ? saved : GetDlgItem(window, 按钮1));
    return 0;
}

// Closing the window under a running merge would destroy the list that the
// run reads: then the program ends at once, as 退出 ends it.
LRESULT OnClose(HWND window)
{
    if (MergeRunning(window))
        ExitProgram();
    DestroyWindow(window);
    return 0;
}

LRESULT OnDestroy()
{
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_COMMAND: return OnCommand(window, LOWORD(wParam), HIWORD(wParam));
    case WM_ACTIVATE: return OnActivate(window, wParam);
    case WM_CLOSE: return OnClose(window);
    case WM_DESTROY: return OnDestroy();
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
    HWND control = GetDlgItem(window, id);
    int length = GetWindowTextLengthA(control);
    if (length <= 0)
        return Text();
    Text text(length + 1, '\0');
    text.resize(GetWindowTextA(control, &text[0], length + 1));
    return text;
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
