// libFuzzer entry: any text given to the registrar script reader is parsed or refused,
// never crashes or recurses without bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "context_menu/registrar_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i)
        text += static_cast<wchar_t>(data[i]);
    RegistrarScript script;
    std::wstring error;
    ParseRegistrarScript(text, {{L"MODULE", L"C:\\Program Files\\Lumeo\\Koretta.dll"}}, script, error);
    return 0;
}
