#include "job/policy/policy_texts.h"

#include "common/placeholders.h"
#include "common/ui_text.h"

std::wstring SetByAdministratorText()
{
    return GetUIText(L"POLICY", L"IDL_SET_BY_ADMIN", L"Set by your administrator");
}

std::wstring LockedGroupCaption(const std::wstring& strCaption)
{
    return FillPlaceholders(GetUIText(L"POLICY", L"IDL_LOCKED_GROUP", L"{1} ({2})"),
                            {strCaption, SetByAdministratorText()});
}

std::wstring LockedOptionLine(const std::wstring& strOption)
{
    return FillPlaceholders(GetUIText(L"POLICY", L"IDL_ERR_LOCKED", L"{1}: {2}"),
                            {SetByAdministratorText(), strOption});
}
