#pragma once
// What Lumeo says about an option an administrator has locked, from section "POLICY" of
// the UI string file with English built in.
#include <string>

// "Set by your administrator"
std::wstring SetByAdministratorText();
// A locked group's caption: "Color (Set by your administrator)".
std::wstring LockedGroupCaption(const std::wstring& strCaption);
// The line of /print given a locked option: "Set by your administrator: /color".
std::wstring LockedOptionLine(const std::wstring& strOption);
