#include <doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/main_window.h"

namespace {

// The main window of the tool, created in this process; its end leaves no
// request to quit behind for the next case.
struct MainWindowFixture {
    HWND window = CreateMainWindow(GetModuleHandleA(NULL));
    ~MainWindowFixture()
    {
        if (IsWindow(window))
            DestroyWindow(window);
        MSG msg;
        while (PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    HWND Control(int id) const { return GetDlgItem(window, id); }
    bool Key(WPARAM key)
    {
        MSG msg = {};
        msg.hwnd = GetFocus();
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        return HandleWindowKey(window, msg);
    }
};

void SetShift(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::string WindowText(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// Button clicks that reach the main window, recorded instead of run.
std::vector<int> clicked;
WNDPROC mainProc = NULL;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        clicked.push_back(LOWORD(wParam));
        return 0;
    }
    return CallWindowProcA(mainProc, window, message, wParam, lParam);
}

void CALLBACK QuitLoop(HWND, UINT, UINT_PTR, DWORD)
{
    PostQuitMessage(99);
}

}  // namespace

TEST_CASE("the main window is centred by rounding toward zero")
{
    struct Case {
        int screenWidth, screenHeight, left, top;
    } cases[] = {
        {1024, 768, 262, 198},
        {1366, 768, 433, 198},
        {1920, 1080, 710, 354},
        {501, 373, 0, 0},
        {499, 371, 0, 0},
        {400, 300, -50, -36},
    };
    for (const Case& c : cases) {
        CAPTURE(c.screenWidth);
        CAPTURE(c.screenHeight);
        POINT origin = CenteredOrigin(c.screenWidth, c.screenHeight);
        CHECK(origin.x == c.left);
        CHECK(origin.y == c.top);
    }
}

TEST_CASE_FIXTURE(MainWindowFixture, "the main window: caption, size, place and frame")
{
    REQUIRE(window != NULL);
    CHECK(WindowText(window) == "Quorvane");
    CHECK(IsWindowVisible(window));
    CHECK(GetParent(window) == NULL);
    CHECK(GetWindow(window, GW_OWNER) == NULL);
    CHECK(GetMenu(window) == NULL);
    // The first thing to do is to choose the root folder.
    CHECK(GetForegroundWindow() == window);
    CHECK(GetFocus() == Control(按钮1));

    RECT frame;
    GetWindowRect(window, &frame);
    CHECK(frame.right - frame.left == 500);
    CHECK(frame.bottom - frame.top == 372);
    POINT origin = CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    CHECK(frame.left == origin.x);
    CHECK(frame.top == origin.y);

    LONG style = GetWindowLongA(window, GWL_STYLE);
    CHECK((style & WS_CAPTION) == WS_CAPTION);
    CHECK((style & WS_SYSMENU) != 0);
    CHECK((style & WS_MINIMIZEBOX) != 0);
    CHECK((style & WS_CLIPCHILDREN) != 0);
    CHECK((style & (WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
    CHECK((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);
    CHECK(GetClassLongPtrA(window, GCLP_HBRBACKGROUND) == COLOR_BTNFACE + 1);
}

TEST_CASE_FIXTURE(MainWindowFixture, "the seven controls stand where the form puts them")
{
    REQUIRE(window != NULL);
    struct Case {
        const char* name;
        int id;
        const char* className;
        const char* text;
        int left, top, width, height;
    } cases[] = {
        {"编辑框1", 编辑框1, "Edit", "", 8, 6, 392, 32},
        {"按钮1", 按钮1, "Button", "选择文件目录", 408, 6, 80, 32},
        {"编辑框2", 编辑框2, "Edit", "", 8, 46, 392, 32},
        {"按钮3", 按钮3, "Button", "设定存放目录", 408, 46, 80, 32},
        {"超级列表框1", 超级列表框1, WC_LISTVIEWA, "", 8, 86, 480, 216},
        {"按钮2", 按钮2, "Button", "合并", 312, 310, 80, 32},
        {"按钮4", 按钮4, "Button", "退出", 408, 310, 80, 32},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        HWND control = Control(c.id);
        REQUIRE(control != NULL);
        CHECK(lstrcmpiA(ClassOf(control).c_str(), c.className) == 0);
        CHECK(WindowText(control) == c.text);
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&place), 2);
        CHECK(place.left == c.left);
        CHECK(place.top == c.top);
        CHECK(place.right - place.left == c.width);
        CHECK(place.bottom - place.top == c.height);
        LONG style = GetWindowLongA(control, GWL_STYLE);
        CHECK((style & (WS_VISIBLE | WS_TABSTOP)) == (WS_VISIBLE | WS_TABSTOP));
        CHECK((style & WS_DISABLED) == 0);
        CHECK(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)) == GetStockObject(DEFAULT_GUI_FONT));

        LONG exStyle = GetWindowLongA(control, GWL_EXSTYLE);
        if (lstrcmpiA(c.className, "Edit") == 0) {
            CHECK((style & ES_AUTOHSCROLL) != 0);
            CHECK((style & (ES_READONLY | ES_PASSWORD | ES_NOHIDESEL | ES_MULTILINE | ES_CENTER | ES_RIGHT)) == 0);
            CHECK((exStyle & WS_EX_CLIENTEDGE) != 0);
            CHECK(SendMessageA(control, EM_GETLIMITTEXT, 0, 0) >= 0x7FFFFFFE);
        } else if (lstrcmpiA(c.className, "Button") == 0) {
            CHECK((style & BS_TYPEMASK) == BS_PUSHBUTTON);
            CHECK((SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) == 0);
        }
    }
}

TEST_CASE_FIXTURE(MainWindowFixture, "Tab and Shift+Tab move through the seven controls")
{
    REQUIRE(window != NULL);
    const int order[] = {编辑框1, 按钮1, 编辑框2, 按钮3, 超级列表框1, 按钮2, 按钮4};
    const int n = sizeof(order) / sizeof(order[0]);

    SetForegroundWindow(window);
    SetFocus(Control(编辑框1));
    SetShift(false);
    for (int step = 1; step <= n; ++step) {
        CAPTURE(step);
        CHECK(Key(VK_TAB));
        CHECK(GetFocus() == Control(order[step % n]));
    }
    SetShift(true);
    for (int step = 1; step <= n; ++step) {
        CAPTURE(step);
        CHECK(Key(VK_TAB));
        CHECK(GetFocus() == Control(order[(n - step) % n]));
    }
    SetShift(false);
}

TEST_CASE_FIXTURE(MainWindowFixture, "Tab into an edit box selects its text")
{
    REQUIRE(window != NULL);
    SetWindowTextA(Control(编辑框2), "D:\\out");
    SetForegroundWindow(window);
    SetFocus(Control(按钮1));
    SetShift(false);
    Key(VK_TAB);
    REQUIRE(GetFocus() == Control(编辑框2));
    DWORD start = 0, end = 0;
    SendMessageA(Control(编辑框2), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    CHECK(start == 0);
    CHECK(end == 6);
}

TEST_CASE_FIXTURE(MainWindowFixture, "Enter and F1 click no button; Space still does")
{
    REQUIRE(window != NULL);
    mainProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    SetForegroundWindow(window);
    for (int id : {按钮1, 按钮2, 按钮4, 编辑框1}) {
        CAPTURE(id);
        clicked.clear();
        SetFocus(Control(id));
        CHECK(Key(VK_RETURN));
        CHECK(Key(VK_F1));
        CHECK(clicked.empty());
        CHECK(GetFocus() == Control(id));
        CHECK(IsWindow(window));
    }

    // The recorder sees a real click: Space on the focused button.
    clicked.clear();
    SetFocus(Control(按钮2));
    CHECK_FALSE(Key(VK_SPACE));
    SendMessageA(Control(按钮2), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(Control(按钮2), WM_KEYUP, VK_SPACE, 0xC0000001);
    CHECK(clicked == std::vector<int>{按钮2});
}

TEST_CASE("Esc closes the main window from any control")
{
    for (int id : {编辑框1, 按钮1, 编辑框2, 超级列表框1, 按钮4}) {
        CAPTURE(id);
        MainWindowFixture main;
        REQUIRE(main.window != NULL);
        SetForegroundWindow(main.window);
        SetFocus(main.Control(id));
        CHECK(main.Key(VK_ESCAPE));
        CHECK_FALSE(IsWindow(main.window));
        MSG msg;
        REQUIRE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
        CHECK(msg.wParam == 0);
    }
}

TEST_CASE_FIXTURE(MainWindowFixture, "the message loop ends with code 0 once the window is closed")
{
    REQUIRE(window != NULL);
    PostMessageA(Control(编辑框1), WM_KEYDOWN, VK_ESCAPE, 0);
    // Should the key be lost, the timer ends the loop with another code.
    UINT_PTR timer = SetTimer(NULL, 0, 10000, QuitLoop);
    int code = RunMessageLoop(window);
    KillTimer(NULL, timer);
    CHECK(code == 0);
    CHECK_FALSE(IsWindow(window));
}
