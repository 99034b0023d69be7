#include "app/script/script_sign_in.h"

#include <windows.h>

#include "common/placeholders.h"
#include "ipp/ipp_sign_in.h"

namespace {
constexpr UIText kPrompt{L"IDL_PASSWORD_PROMPT", L"Password for {1} at {2}: "};
constexpr size_t kMaxPasswordChars = 256;

// The password typed at the console, echo off; nullopt without a console.
std::optional<std::wstring> TypedPassword(const std::wstring& strUser, const std::string& printer)
{
    const HANDLE hIn = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    const HANDLE hOut = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD nMode = 0;
    std::optional<std::wstring> password;
    if (hIn != INVALID_HANDLE_VALUE && hOut != INVALID_HANDLE_VALUE && GetConsoleMode(hIn, &nMode)) {
        const std::wstring strPrompt =
            FilledUIText(L"COMMAND_LINE", kPrompt, {strUser, std::wstring(printer.begin(), printer.end())});
        DWORD nDone = 0;
        WriteConsoleW(hOut, strPrompt.c_str(), static_cast<DWORD>(strPrompt.size()), &nDone, nullptr);
        SetConsoleMode(hIn, (nMode | ENABLE_LINE_INPUT) & ~ENABLE_ECHO_INPUT);
        wchar_t szTyped[kMaxPasswordChars + 2] = {};
        DWORD nRead = 0;
        if (ReadConsoleW(hIn, szTyped, static_cast<DWORD>(kMaxPasswordChars + 1), &nRead, nullptr)) {
            std::wstring strTyped(szTyped, nRead);
            while (!strTyped.empty() && (strTyped.back() == L'\n' || strTyped.back() == L'\r'))
                strTyped.pop_back();
            password = strTyped;
            SecureZeroMemory(strTyped.data(), strTyped.size() * sizeof(wchar_t));
        }
        SecureZeroMemory(szTyped, sizeof(szTyped));
        SetConsoleMode(hIn, nMode);
        WriteConsoleW(hOut, L"\r\n", 2, &nDone, nullptr);
    }
    if (hIn != INVALID_HANDLE_VALUE)
        CloseHandle(hIn);
    if (hOut != INVALID_HANDLE_VALUE)
        CloseHandle(hOut);
    return password;
}

std::optional<std::wstring> PasswordFromEnvironment()
{
    wchar_t szValue[kMaxPasswordChars + 2] = {};
    const DWORD nChars = GetEnvironmentVariableW(L"LUMEO_PASSWORD", szValue, static_cast<DWORD>(std::size(szValue)));
    if (nChars == 0 || nChars > kMaxPasswordChars)
        return std::nullopt;  // unset, or longer than any password taken
    std::wstring strPassword(szValue, nChars);
    SecureZeroMemory(szValue, sizeof(szValue));
    return strPassword;
}
}  // namespace

void PrepareScriptSignIn(const CommandLine& cmd)
{
    const std::wstring strUser = cmd.strUser;
    ipp::SetSignInProvider([strUser](const ipp::SignInQuestion& question) -> std::optional<ipp::Credentials> {
        // A script has no one to ask again: a refusal ends its run.
        if (strUser.empty() || !question.strRefused.empty())
            return std::nullopt;
        std::optional<std::wstring> password = PasswordFromEnvironment();
        if (!password)
            password = TypedPassword(strUser, question.printer);
        if (!password)
            return std::nullopt;
        ipp::Credentials credentials(strUser, *password);
        SecureZeroMemory(password->data(), password->size() * sizeof(wchar_t));
        return credentials;
    });
}
