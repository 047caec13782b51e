#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the test does in the next folder dialog that opens on its thread.
struct DialogStep {
    std::string select;  // a path to select before pressing a button; "" leaves the selection
    bool ok = true;      // OK, or else Cancel
    int csidl = -1;      // or a shell item without a file-system path to select
};

// What the test found in a folder dialog.
struct DialogSeen {
    std::vector<std::string> texts;  // the texts of its static controls
    HWND owner = NULL;
    bool editField = false;        // the field for typing a folder name
    bool newFolderButton = false;  // the button that makes a new folder
};

// Plays the steps, one per folder dialog opened on this thread, while the
// holder lives: the dialog is caught by a CBT hook when it is activated and
// handled from a timer inside its own modal loop. A dialog beyond the steps
// is cancelled.
class DialogScript {
public:
    explicit DialogScript(const std::vector<DialogStep>& steps);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;
    const std::vector<DialogSeen>& seen() const;
};

// The ids that the shell's folder dialog gives its controls.
const int kFolderDialogEdit = 14149;
const int kFolderDialogNewFolder = 14150;
