#include "common/url_password.h"

std::wstring WithoutUrlPassword(std::wstring_view text)
{
    const size_t nScheme = text.find(L"://");
    if (nScheme == std::wstring_view::npos)
        return std::wstring(text);
    const size_t nStart = nScheme + 3;
    const size_t nEnd = std::min(text.find_first_of(L"/?#", nStart), text.size());
    // The last '@' of the authority ends the user part: a password may hold '@' too.
    const size_t nAt = text.substr(0, nEnd).rfind(L'@');
    if (nAt == std::wstring_view::npos || nAt < nStart)
        return std::wstring(text);
    const size_t nColon = text.substr(0, nAt).find(L':', nStart);
    if (nColon == std::wstring_view::npos)
        return std::wstring(text);
    return std::wstring(text.substr(0, nColon + 1)) + L"***" + std::wstring(text.substr(nAt));
}
