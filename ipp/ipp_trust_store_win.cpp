#include "ipp/ipp_trust_store.h"

#include <windows.h>
#include <wincred.h>

#include <cstdio>
#include <vector>

#include "ipp/ipp_log.h"

namespace ipp {

namespace {
constexpr wchar_t kPinKey[] = L"Software\\Lumeo\\CertificatePins";

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring TargetOf(const std::string& printer) { return L"Lumeo:" + Wide(printer); }
}  // namespace

std::optional<Pin> ReadPin(const std::string& printer)
{
    wchar_t szValue[128] = {};
    DWORD nType = 0;
    DWORD nBytes = sizeof(szValue) - sizeof(wchar_t);
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, kPinKey, Wide(printer).c_str(),
                                        RRF_RT_ANY | RRF_NOEXPAND, &nType, szValue, &nBytes);
    if (status == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    std::optional<Pin> pin;
    if (status == ERROR_SUCCESS && nType == REG_SZ) {
        std::string text;
        for (const wchar_t* p = szValue; *p; ++p)
            text += *p < 0x80 ? static_cast<char>(*p) : '?';
        pin = ParsePin(text);
    }
    if (!pin)
        Log(L"[IppTrust] the pin of " + Wide(printer) + L" is not a fingerprint with its day: ignored");
    return pin;
}

bool WritePin(const std::string& printer, const std::string& sha256)
{
    const std::wstring value = Wide(PinValue({sha256, PinDayToday()}));
    const LSTATUS status =
        RegSetKeyValueW(HKEY_CURRENT_USER, kPinKey, Wide(printer).c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    Log(L"[IppTrust] pinned " + Wide(sha256) + L" for " + Wide(printer) + L": " + std::to_wstring(status));
    return status == ERROR_SUCCESS;
}

std::string PinDayToday()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char szDay[16] = {};
    snprintf(szDay, sizeof(szDay), "%04u-%02u-%02u", now.wYear % 10000u, now.wMonth % 100u, now.wDay % 100u);
    return szDay;
}

std::optional<Credentials> ReadRememberedSignIn(const std::string& printer)
{
    PCREDENTIALW pCredential = nullptr;
    if (!CredReadW(TargetOf(printer).c_str(), CRED_TYPE_GENERIC, 0, &pCredential))
        return std::nullopt;
    std::optional<Credentials> credentials;
    const DWORD nBytes = pCredential->CredentialBlobSize;
    if (pCredential->UserName && nBytes % sizeof(wchar_t) == 0 && nBytes <= 512 && (nBytes == 0 || pCredential->CredentialBlob)) {
        std::wstring strPassword(reinterpret_cast<const wchar_t*>(pCredential->CredentialBlob), nBytes / sizeof(wchar_t));
        credentials = Credentials(pCredential->UserName, strPassword);
        SecureZeroMemory(strPassword.data(), strPassword.size() * sizeof(wchar_t));
    }
    if (nBytes && pCredential->CredentialBlob)
        SecureZeroMemory(pCredential->CredentialBlob, nBytes);
    CredFree(pCredential);
    if (!credentials || credentials->strUser.empty() || credentials->strUser.size() > 256)
        return std::nullopt;
    return credentials;
}

bool RememberSignIn(const std::string& printer, const Credentials& credentials)
{
    std::wstring strTarget = TargetOf(printer);
    std::wstring strUser = credentials.strUser;
    std::vector<wchar_t> blob(credentials.strPassword.begin(), credentials.strPassword.end());
    CREDENTIALW credential = {};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = strTarget.data();
    credential.UserName = strUser.data();
    credential.CredentialBlob = reinterpret_cast<BYTE*>(blob.data());
    credential.CredentialBlobSize = static_cast<DWORD>(blob.size() * sizeof(wchar_t));
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    const BOOL bWritten = CredWriteW(&credential, 0);
    SecureZeroMemory(blob.data(), blob.size() * sizeof(wchar_t));
    Log(L"[IppTrust] sign-in for " + strTarget + L" remembered: " + std::to_wstring(bWritten));
    return bWritten != FALSE;
}

void ForgetSignIn(const std::string& printer) { CredDeleteW(TargetOf(printer).c_str(), CRED_TYPE_GENERIC, 0); }

}  // namespace ipp
