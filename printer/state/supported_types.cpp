#include "printer/state/supported_types.h"

#include "common/debug_log.h"

namespace {
bool Names(const std::wstring& field, const wchar_t* lower, const wchar_t* upper)
{
    return field.find(lower) != std::wstring::npos || field.find(upper) != std::wstring::npos;
}
}  // namespace

int SupportedTypesFromDeviceID(const std::wstring& strDeviceID)
{
    // IEEE 1284 names the field by its short key or its long one.
    size_t start = strDeviceID.find(L"CMD:");
    if (start == std::wstring::npos)
        start = strDeviceID.find(L"COMMAND SET:");
    size_t end = start == std::wstring::npos ? std::wstring::npos : strDeviceID.find(L';', start);
    int nStart = start == std::wstring::npos ? -1 : static_cast<int>(start);
    int nEnd = end == std::wstring::npos ? -1 : static_cast<int>(end);
    DebugLog(L"CheckSupportedTypes : /Start : %d / End : %d", nStart, nEnd);

    std::wstring field;
    if (start != std::wstring::npos && end != std::wstring::npos)
        field = strDeviceID.substr(start, end - start);
    DebugLog(L"CheckSupportedTypes : CMD : %s", field.c_str());

    int nMask = 0;
    if (Names(field, L"pdf", L"PDF"))
        nMask += 1;
    if (Names(field, L"jpeg", L"JPEG"))
        nMask += 2;
    if (Names(field, L"bmp", L"BMP"))
        nMask += 16;
    if (Names(field, L"png", L"PNG"))
        nMask += 8;
    if (Names(field, L"tiff", L"TIFF"))
        nMask += 4;
    DebugLog(L"Check Result is %d", nMask);
    return nMask;
}

int SupportedTypesOfLookup(int nLookupResult, bool bUnsupportedPort, const std::wstring& strDeviceID)
{
    if (nLookupResult != 1)
        return bUnsupportedPort ? 0 : -1;
    return SupportedTypesFromDeviceID(strDeviceID);
}
