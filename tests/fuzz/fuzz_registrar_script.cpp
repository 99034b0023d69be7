// libFuzzer entry: any text given to the registrar script reader is parsed or refused,
// never crashes or recurses without bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "context_menu/registrar_script.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text = WideFromBytes(data, size);
    RegistrarScript script;
    std::wstring error;
    ParseRegistrarScript(text, {{L"MODULE", L"C:\\Program Files\\Lumeo\\Koretta.dll"}}, script, error);
    return 0;
}
