#pragma once
// Which items of an Explorer selection the "Lumeo" command takes, and the
// command line that hands them to Lumeo.exe.
#include <string>
#include <vector>

// The file name's part from its last dot, dot included; empty when the name has none.
std::wstring ExtensionOfFileName(const std::wstring& path);

// Only a whole ".pdf" extension, in any letter case, is admitted.
bool IsAdmittedExtension(const std::wstring& extension);

// For each path a blank and the path in double quotes: ` "a.pdf" "b.pdf"`.
std::wstring ComposeLumeoParameters(const std::vector<std::wstring>& files);
