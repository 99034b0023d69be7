#pragma once
// Access keys in label texts: "&Print" underlines P and Alt+P presses the button;
// "&&" shows one ampersand. Languages that write no Latin letters append the key,
// "印刷(&P)". Texts that show a label elsewhere (the summary panel) show it without.
#include <string>

// The access key of a text, upper-cased: the character after a single "&" that is
// neither a blank nor another "&"; 0 when the text has none.
wchar_t AccessKeyOf(const std::wstring& strText);

// The text as it reads: an appended "(&X)" dropped, "&&" as "&", a lone "&" gone.
std::wstring WithoutAccessKey(const std::wstring& strText);

// The text as a label draws it ("&&" as "&", the "&" of the key gone) and the place of
// its key letter there, std::wstring::npos without one: for drawing the underline ourselves.
struct ShownLabel {
    std::wstring strText;
    size_t nKey = std::wstring::npos;
};
ShownLabel ShownWithAccessKey(const std::wstring& strText);

// A label that may hold an ampersand as a character ("Black & White"): with an access
// key the text is taken as written, without one every "&" shows as itself.
std::wstring LabelWithAmpersands(const std::wstring& strText);
