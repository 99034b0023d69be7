#pragma once
// Text that came from outside (a printer, the registry) made safe to show and to write
// to a log or a console: a control character could end a line early, start a terminal
// command or turn the text's direction, so that what is shown is not what was sent.
#include <string>

// True for the characters that control rather than show: C0 and C1 controls and DEL,
// the line and paragraph separators, and the marks, embeddings, overrides and isolates
// that change the direction of text.
bool IsControlCharacter(wchar_t c);

// The text with every control character replaced by U+FFFD, the replacement character.
std::wstring PrintableText(std::wstring strText);
