#pragma once
// Breaks a text into the lines a row of the window has room for, so a long reason is read
// to its last word that fits and a cut text says so with "…" instead of ending mid-word.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The width of a piece of text as it would be drawn (pixels, or any unit nWidth is in).
using TextMeasure = std::function<int(std::wstring_view)>;

// At most nLines lines, each no wider than nWidth: broken at spaces (and at line breaks of
// the text); a word wider than a whole line, or a text without spaces (Japanese), is broken
// between characters, never inside a surrogate pair. Where the rest does not fit, the last
// line ends with "…". An empty text gives no lines.
std::vector<std::wstring> FitTextLines(std::wstring_view text, const TextMeasure& measure, int nWidth, size_t nLines);
