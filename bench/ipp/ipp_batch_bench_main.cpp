// ipp_batch_bench <url> <file>...: the files to the printer by the IPP road as a print run sends
// them (SendFilesOverIpp: each file a job of its own, followed until the printer ends it).
// Prints the milliseconds the whole batch took; exit 1 when a file was not printed or the
// printer gave no job for it.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "ipp/ipp_sign_in.h"
#include "job/ipp/ipp_print_run.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    ipp::TrustShownCertificates(true);  // a TLS printer's certificate is made anew each run
    IppRunInput input;
    input.strUrl = argv[1];
    input.settings.m_nCopies = 1;
    input.settings.m_nZoom = 100;
    input.arrFiles.assign(argv + 2, argv + argc);
    input.nWaitSeconds = 60;  // each job followed until it ends, as a run does
    const auto start = std::chrono::steady_clock::now();
    const std::vector<IppFileEnd> ends = SendFilesOverIpp(input, nullptr);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    for (size_t i = 0; i < input.arrFiles.size(); ++i) {
        if (i >= ends.size() || ends[i].reason.outcome != FileOutcome::Sent || ends[i].nJobId <= 0) {
            std::fprintf(stderr, "ipp_batch_bench: %ls was not printed (outcome %d): %ls\n", input.arrFiles[i].c_str(),
                         i < ends.size() ? static_cast<int>(ends[i].reason.outcome) : -1,
                         i < ends.size() ? ends[i].reason.strDetail.c_str() : L"");
            return 1;
        }
    }
    std::printf("%.1f\n", ms);
    return 0;
}
