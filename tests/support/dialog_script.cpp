#include "support/dialog_script.h"

#include <shlobj.h>

#include "support/temp_folder.h"

namespace {

std::vector<DialogStep> steps;
std::vector<DialogSeen> seenDialogs;
std::vector<HWND> handled;
HWND pending = NULL;
HHOOK hook = NULL;

BOOL CALLBACK CollectStatic(HWND child, LPARAM lParam)
{
    char name[32] = "", text[512] = "";
    GetClassNameA(child, name, sizeof(name));
    if (lstrcmpiA(name, "Static") == 0) {
        GetWindowTextA(child, text, sizeof(text));
        reinterpret_cast<DialogSeen*>(lParam)->texts.push_back(text);
    }
    return TRUE;
}

DialogSeen Inspect(HWND dialog)
{
    DialogSeen seen;
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&seen));
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.editField = GetDlgItem(dialog, kFolderDialogEdit) != NULL;
    seen.newFolderButton = GetDlgItem(dialog, kFolderDialogNewFolder) != NULL;
    return seen;
}

void Select(HWND dialog, const DialogStep& step)
{
    if (step.csidl >= 0) {
        PIDLIST_ABSOLUTE item = NULL;
        if (SUCCEEDED(SHGetSpecialFolderLocation(NULL, step.csidl, &item))) {
            SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(item));
            CoTaskMemFree(item);
        }
    } else if (!step.select.empty()) {
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(step.select.c_str()));
    }
}

void CALLBACK Act(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    HWND dialog = pending;
    pending = NULL;
    if (dialog == NULL || !IsWindow(dialog))
        return;
    const size_t index = seenDialogs.size();
    seenDialogs.push_back(Inspect(dialog));
    DialogStep step;
    step.ok = false;
    if (index < steps.size())
        step = steps[index];
    Select(dialog, step);
    const int button = step.ok ? IDOK : IDCANCEL;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    // A later dialog may get the handle of one that has gone.
    if (code == HCBT_DESTROYWND) {
        for (HWND& h : handled) {
            if (h == window)
                h = NULL;
        }
    }
    char name[16] = "";
    if (code == HCBT_ACTIVATE && GetClassNameA(window, name, sizeof(name)) && lstrcmpA(name, "#32770") == 0) {
        bool known = false;
        for (HWND h : handled)
            known = known || h == window;
        if (!known) {
            handled.push_back(window);
            pending = window;
            // The dialog's own loop runs the timer once it is ready.
            SetTimer(NULL, 0, 100, Act);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

DialogScript::DialogScript(const std::vector<DialogStep>& script)
{
    steps = script;
    // The dialogs open at the test program's folder.
    SettleAccessTimes(TestProgramFolder());
    for (const DialogStep& step : steps) {
        if (!step.select.empty())
            SettleAccessTimes(step.select);
    }
    seenDialogs.clear();
    handled.clear();
    pending = NULL;
    hook = SetWindowsHookExA(WH_CBT, OnCbt, NULL, GetCurrentThreadId());
}

DialogScript::~DialogScript()
{
    UnhookWindowsHookEx(hook);
    hook = NULL;
}

const std::vector<DialogSeen>& DialogScript::seen() const
{
    return seenDialogs;
}
