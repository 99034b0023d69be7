// Writes one file wrapped in the PJL envelope with the default job options,
// exactly as the spool file holds it: lumeo_envelope <input> <output>.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "common/ansi_text.h"
#include "job/settings/param_mngr.h"
#include "job/spooler/pjl_envelope.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: lumeo_envelope <input> <output>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "cannot open " << argv[1] << "\n";
        return 1;
    }
    CParamMngr* pParam = CreateParamMngr();
    pParam->SetPageRange(1, 1);
    pParam->SetCopies(1);
    pParam->SetZoom(100);
    const std::wstring path = FromAnsi(argv[1]);
    std::ofstream out(argv[2], std::ios::binary);
    out << ToThreadAnsi(SendStartPJLCommand(path)) << in.rdbuf() << ToThreadAnsi(SendEndPJLCommand());
    DestroyParamMngr();
    return out ? 0 : 1;
}
