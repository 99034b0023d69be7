// Test-only stand-in for Lumeo.exe: records how it was started in lumeo_invocation.txt
// beside itself (UTF-16 lines: raw command line, working folder, then each argument).
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::wstring text = GetCommandLineW();
    text += L"\n";
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    text += folder;
    text += L"\n";
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv && i < argc; ++i) {
        text += argv[i];
        text += L"\n";
    }
    LocalFree(argv);

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring base(self);
    base.resize(base.rfind(L'\\') + 1);
    // Written under another name and renamed, so a reader never sees half a record.
    std::wstring partial = base + L"lumeo_invocation.part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return MoveFileExW(partial.c_str(), (base + L"lumeo_invocation.txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
