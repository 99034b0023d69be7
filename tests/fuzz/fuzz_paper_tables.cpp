// A hostile UI string file overriding the paper tables: the tables keep their
// shape and the PJL header stays well-formed, whatever the file holds.
#include <cstdlib>

#include "common/ini_text.h"
#include "job/settings/paper_tables.h"
#include "job/spooler/pjl_envelope.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Even sizes are read as UTF-16, odd ones as 8-bit text, so both shapes get explored.
    CIniText ini(size % 2 == 0 ? WideFromUtf16Bytes(data, size) : WideFromBytes(data, size));
    SetUITextSource(&ini);
    const PaperSizeTable sizes = BuildPaperSizeTable(size % 3 == 0);
    const PaperTypeTable types = BuildPaperTypeTable();
    SetUITextSource(nullptr);

    for (const PaperSizeInfo& row : sizes)
        if (row.strPJL.size() > 259 || row.strName.size() > 259)
            std::abort();
    JobSettings settings;
    settings.m_nPaperSize = static_cast<int>(size % kPaperSizeCount);
    const std::wstring header = ComposeStartPJL(settings, sizes[settings.m_nPaperSize].strPJL,
                                                types[size % kPaperTypeCount].strPJL, 0, L"x.pdf");
    if (header.rfind(kUEL, 0) != 0 || header.size() < 2 || header.substr(header.size() - 2) != L"\r\n")
        std::abort();
    return 0;
}
