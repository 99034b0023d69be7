#include "common/user_language.h"

#include <cwchar>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
int g_nLanguageIdOverride = 0;
}

void SetUserLanguageIdForTesting(int languageId) { g_nLanguageIdOverride = languageId; }

int GetUserDefaultLanguageId()
{
    if (g_nLanguageIdOverride != 0)
        return g_nLanguageIdOverride;
#ifdef _WIN32
    wchar_t text[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTLANGUAGE, text, 16);
    return static_cast<int>(std::wcstol(text, nullptr, 16));
#else
    return 0x0409;
#endif
}

int GetUserPrimaryLanguage() { return GetUserDefaultLanguageId() & 0x3FF; }
