#include "app/shared/version_text.h"

#include "common/ui_text.h"
#include "common/wide_format.h"

std::wstring ComposeVersionText(const std::wstring& strLabel, const std::wstring& strFileVersion,
                                const std::wstring& strMinor)
{
    if (!strMinor.empty())
        return FormatWide(kTextChars, L"%s : %s:%s", strLabel.c_str(), strFileVersion.c_str(), strMinor.c_str());
    return FormatWide(kTextChars, L"%s : %s", strLabel.c_str(), strFileVersion.c_str());
}
