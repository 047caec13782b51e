#include "ui/folder_picker.h"

#include "sys/text.h"

namespace {

// The folder that the dialog selects when it opens; kept after each call.
Text PickerInitialFolder;

}  // namespace

void ReleasePickerInitialFolder()
{
    Text().swap(PickerInitialFolder);
}
