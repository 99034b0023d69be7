#pragma once
// Option names, keywords and policy names are ASCII: only A-Z fold, every other character
// must match exactly (no locale's case rules decide what a script or a policy means).
#include <string_view>

bool SameIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);
