// Shows a program's debug output on the console, as a debug-output viewer does:
// starts the program as its debugger and prints every debug string, one per line.
// Wine's own tracing shows only the ANSI calls; this shows both kinds, under Wine
// and on Windows.
//   lumeo_debug_log <program> [arguments...]     exit code: the program's
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
// The rest of this tool's own command line after its first token.
std::wstring CommandLineAfterFirstToken()
{
    const wchar_t* p = GetCommandLineW();
    const bool bQuoted = *p == L'"';
    for (++p; *p && (bQuoted ? *p != L'"' : *p != L' ' && *p != L'\t'); ++p) {
    }
    if (bQuoted && *p)
        ++p;
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

std::string DebugString(HANDLE hProcess, const OUTPUT_DEBUG_STRING_INFO& info)
{
    const size_t nChars = info.nDebugStringLength;
    const size_t nUnit = info.fUnicode ? sizeof(wchar_t) : 1;
    std::vector<char> bytes(nChars * nUnit + sizeof(wchar_t), 0);
    SIZE_T nRead = 0;
    ReadProcessMemory(hProcess, info.lpDebugStringData, bytes.data(), nChars * nUnit, &nRead);
    if (!info.fUnicode)
        return std::string(bytes.data());
    const wchar_t* pszWide = reinterpret_cast<const wchar_t*>(bytes.data());
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, pszWide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(nBytes > 0 ? nBytes - 1 : 0, '\0');
    if (nBytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, pszWide, -1, text.data(), nBytes, nullptr, nullptr);
    return text;
}
}  // namespace

int wmain()
{
    std::wstring strCommand = CommandLineAfterFirstToken();
    if (strCommand.empty()) {
        std::fprintf(stderr, "usage: lumeo_debug_log <program> [arguments...]\n");
        return 2;
    }
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, strCommand.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        nullptr, &si, &pi)) {
        std::fprintf(stderr, "lumeo_debug_log: cannot start the program (error %lu)\n", GetLastError());
        return 1;
    }
    DWORD dwExitCode = 1;
    DEBUG_EVENT event = {};
    while (WaitForDebugEvent(&event, INFINITE)) {
        DWORD dwContinue = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case OUTPUT_DEBUG_STRING_EVENT: {
            std::string text = DebugString(pi.hProcess, event.u.DebugString);
            // The program adds no line ends of its own; one line per string.
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            std::printf("%s\n", text.c_str());
            std::fflush(stdout);
            break;
        }
        case EXCEPTION_DEBUG_EVENT:
            // The program's own exceptions are its own to handle.
            if (event.u.Exception.dwFirstChance)
                dwContinue = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile)
                CloseHandle(event.u.LoadDll.hFile);
            break;
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile)
                CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            dwExitCode = event.u.ExitProcess.dwExitCode;
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, dwContinue);
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT)
            break;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(dwExitCode);
}
