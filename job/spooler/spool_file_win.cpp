#include "job/spooler/spool_file.h"

#include <ntsecapi.h>

#include <string>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "common/wide_format.h"
#include "printer/queue/prt_control.h"

namespace {
// A name of 64 random bits that is taken anyway was planted: a few more are tried.
constexpr int kNameTries = 4;

SpoolFileCreator g_pSpoolFileCreator = nullptr;

// "<temp>KVQ<16 hex digits>.tmp"; empty when the system gives no temporary folder or no
// random number.
std::wstring RandomSpoolPath()
{
    wchar_t szTempPath[kTextChars] = {};
    const DWORD nTempChars = GetTempPathW(kTextChars, szTempPath);
    unsigned long long nRandom = 0;
    if (nTempChars == 0 || nTempChars >= static_cast<DWORD>(kTextChars) || !RtlGenRandom(&nRandom, sizeof(nRandom)))
        return {};
    const std::wstring strPath = FormatWide(kTextChars + 1, L"%sKVQ%08X%08X.tmp", szTempPath,
                                            static_cast<unsigned>(nRandom >> 32), static_cast<unsigned>(nRandom));
    return strPath.size() < static_cast<size_t>(kTextChars) ? strPath : std::wstring();
}
}  // namespace

HANDLE CreateNewSpoolFile(const wchar_t* pszPath)
{
    return CreateFileW(pszPath, GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

void SetSpoolFileCreator(SpoolFileCreator creator) { g_pSpoolFileCreator = creator; }

CSpoolFile::~CSpoolFile()
{
    m_prtControl.ReleaseDocument();
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
}

bool CSpoolFile::Create()
{
    for (int i = 0; i < kNameTries && m_hFile == INVALID_HANDLE_VALUE; ++i) {
        const std::wstring strPath = RandomSpoolPath();
        if (strPath.empty())
            return false;
        m_hFile = (g_pSpoolFileCreator ? g_pSpoolFileCreator : CreateNewSpoolFile)(strPath.c_str());
        if (m_hFile != INVALID_HANDLE_VALUE)
            DebugLog(L"SendDataToDevice / szTempName : %s", strPath.c_str());
        else if (GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return m_hFile != INVALID_HANDLE_VALUE;
}

bool CSpoolFile::Map() { return m_prtControl.MapDocument(m_hFile) != 0; }
