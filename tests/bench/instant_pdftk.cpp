// Stands in for pdftk.exe in the benchmark: writes a small file at its last
// argument (the output of "cat output") and ends at once with 0, so that
// the merge run itself is what is measured.
#include <windows.h>
#include <shellapi.h>

int main()
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == NULL || count < 2)
        return 2;
    HANDLE file = CreateFileW(args[count - 1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    LocalFree(args);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, "%PDF-1.4\n", 9, &written, NULL);
    CloseHandle(file);
    return 0;
}
