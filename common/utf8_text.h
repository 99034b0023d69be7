#pragma once
// UTF-8 and UTF-16 text of one another, as the network and the printer's protocols carry
// it. Invalid sequences become U+FFFD. Windows build only.
#include <string>

std::string Utf8OfWide(const std::wstring& strText);
std::wstring WideOfUtf8(const std::string& text);
