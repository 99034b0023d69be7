#pragma once
// A URL may arrive holding "user:password@" (a port, a command line, a redirect). It is
// refused, but it is also shown, logged and written to /json: the password never is.
#include <string>
#include <string_view>

// The text with the password of a URL's "user:password@" replaced by "***"; anything
// else (no scheme, no user, a user alone) as it was.
std::wstring WithoutUrlPassword(std::wstring_view text);
