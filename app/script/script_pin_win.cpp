#include "app/script/script_pin.h"

#include <windows.h>

#include "common/ui_text.h"

namespace {
// Longer than any printer takes: what is cut off would only be refused anyway.
constexpr DWORD kMaxPinChars = 64;

std::wstring FromEnvironment()
{
    wchar_t szPin[kMaxPinChars + 2] = {};
    const DWORD nChars = GetEnvironmentVariableW(L"LUMEO_PIN", szPin, kMaxPinChars + 2);
    if (nChars == 0)
        return {};
    // One character more than the bound tells a PIN too long, which is refused.
    const std::wstring strPin = nChars <= kMaxPinChars + 1 ? std::wstring(szPin, nChars) : std::wstring(kMaxPinChars + 1, L'x');
    SecureZeroMemory(szPin, sizeof(szPin));
    return strPin;
}

std::wstring FromConsole()
{
    // Only someone at a console window can type: a console without one (a scheduled task,
    // a program started hidden) would wait for ever.
    HANDLE hIn = GetStdHandle(STD_INPUT_HANDLE);
    DWORD nMode = 0;
    if (!GetConsoleWindow() || hIn == INVALID_HANDLE_VALUE || !hIn || !GetConsoleMode(hIn, &nMode))
        return {};
    HANDLE hErr = GetStdHandle(STD_ERROR_HANDLE);
    const std::wstring strPrompt = GetUIText(L"TICKET", L"IDL_PIN_PROMPT", L"PIN:") + L" ";
    DWORD nWritten = 0;
    WriteConsoleW(hErr, strPrompt.c_str(), static_cast<DWORD>(strPrompt.size()), &nWritten, nullptr);
    SetConsoleMode(hIn, (nMode | ENABLE_LINE_INPUT) & ~ENABLE_ECHO_INPUT);
    wchar_t szPin[kMaxPinChars + 3] = {};
    DWORD nRead = 0;
    const BOOL bRead = ReadConsoleW(hIn, szPin, kMaxPinChars + 2, &nRead, nullptr);
    SetConsoleMode(hIn, nMode);
    WriteConsoleW(hErr, L"\r\n", 2, &nWritten, nullptr);
    std::wstring strPin = bRead ? std::wstring(szPin, nRead) : std::wstring();
    SecureZeroMemory(szPin, sizeof(szPin));
    while (!strPin.empty() && (strPin.back() == L'\n' || strPin.back() == L'\r'))
        strPin.pop_back();
    return strPin;
}
}  // namespace

std::wstring ReadScriptPin()
{
    std::wstring strPin = FromEnvironment();
    return strPin.empty() ? FromConsole() : strPin;
}
