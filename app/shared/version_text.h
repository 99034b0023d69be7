#pragma once
// The version line of the splash window: "Version : 1.0.0.5:3", the minor part only
// when the version file gave one.
#include <string>

std::wstring ComposeVersionText(const std::wstring& strLabel, const std::wstring& strFileVersion,
                                const std::wstring& strMinor);
