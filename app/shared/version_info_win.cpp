#include "app/shared/version_info.h"

#include <memory>

#include "app/shared/version_text.h"
#include "common/debug_log.h"
#include "common/ui_text.h"
#include "i18n/lang_manager.h"

namespace {
constexpr int kVersionChars = 260;
constexpr int kMinorChars = 10;
}  // namespace

std::wstring ReadFileVersion(HMODULE hModule)
{
    wchar_t szPath[MAX_PATH] = {};
    if (!GetModuleFileNameW(hModule, szPath, MAX_PATH))
        return {};
    DWORD dwHandle = 0;
    const DWORD cbInfo = GetFileVersionInfoSizeW(szPath, &dwHandle);
    if (cbInfo == 0)
        return {};
    std::unique_ptr<BYTE[]> info(new BYTE[cbInfo]);
    if (!GetFileVersionInfoW(szPath, 0, cbInfo, info.get()))
        return {};
    wchar_t* pszValue = nullptr;
    UINT nChars = 0;
    if (!VerQueryValueW(info.get(), L"\\StringFileInfo\\040904B0\\FileVersion", reinterpret_cast<void**>(&pszValue),
                        &nChars) ||
        !pszValue)
        return {};
    std::wstring strVersion(pszValue);
    if (strVersion.size() > static_cast<size_t>(kVersionChars - 1))
        strVersion.resize(kVersionChars - 1);
    return strVersion;
}

std::wstring ReadMinorVersion(const std::wstring& strFolder)
{
    if (strFolder.empty())
        return {};
    const std::wstring strFile = strFolder + L"Lumeo.Ver";
    wchar_t szMinor[kMinorChars] = {};
    GetPrivateProfileStringW(L"VERSION", L"Minor", L"", szMinor, kMinorChars, strFile.c_str());
    return szMinor;
}

std::wstring ComposeSheetVersionText()
{
    const std::wstring strFileVersion = ReadFileVersion(nullptr);
    wchar_t szFolder[kTextChars] = {};
    std::wstring strMinor;
    if (CLangManager().GetCurrentPath(szFolder, kTextChars) > 0) {
        strMinor = ReadMinorVersion(szFolder);
        DebugLog(L"PropSheetCallback : Minor:/ %s Support: %d", strMinor.c_str(), static_cast<int>(strMinor.size()));
    }
    const std::wstring strLabel = GetUIText(L"UI_SHEET", L"IDL_VERSION", L"Version");
    return ComposeVersionText(strLabel, strFileVersion, strMinor);
}
