#pragma once

// Releases the initial folder that the folder dialog keeps between calls.
void ReleasePickerInitialFolder();
