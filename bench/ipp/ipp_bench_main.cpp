// ipp_bench <url> <count> <rounds> <device-ID part> [kept]: <count> Get-Printer-Attributes of
// printer-device-id, document-format-supported and printer-state, each a whole check on a
// connection of its own, best of <rounds>; with "kept", all of a round on one Connection, as a
// print run asks its printer. Every answer must be successful and hold the device-ID part;
// exit 1 otherwise. A TLS printer's certificate is taken as shown: it is made anew each run.
// Prints two figures of the best round: ms per request over all of them, and ms per request
// after the first, which also carries what the process sets up once (Wine's TLS and its
// certificate store: about 0.2 s).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ipp/ipp_exchange.h"
#include "ipp/ipp_request.h"
#include "ipp/ipp_sign_in.h"

int main(int argc, char** argv)
{
    if (argc != 5 && !(argc == 6 && std::string(argv[5]) == "kept"))
        return 2;
    const bool bKept = argc == 6;
    ipp::TrustShownCertificates(true);
    const auto url = ipp::ParsePrinterUrl(argv[1]);
    const int count = std::atoi(argv[2]);
    const int rounds = std::atoi(argv[3]);
    const std::string want = argv[4];
    if (!url || count <= 0 || rounds <= 0)
        return 2;
    ipp::ExchangeOptions options;
    options.budgetMs = 10000;
    double best = 1e30, bestAfterFirst = 1e30;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        auto afterFirst = start;
        ipp::Connection kept(*url, true);
        const std::vector<std::string> asked = {"printer-device-id", "document-format-supported", "printer-state"};
        for (int i = 0; i < count; ++i) {
            const ipp::Answer a = bKept ? ipp::GetPrinterAttributes(kept, "bench", asked, options)
                                        : ipp::GetPrinterAttributes(*url, "bench", asked, options);
            const ipp::Attribute* id = a.Ok() ? a.message.Find(ipp::GroupTag::Printer, "printer-device-id") : nullptr;
            if (!a.Ok() || !ipp::IsSuccess(a.message.code) || !id || !id->Text() ||
                id->Text()->find(want) == std::string::npos ||
                !a.message.Find(ipp::GroupTag::Printer, "printer-state")) {
                std::fprintf(stderr, "ipp_bench: request %d failed: %s\n", i, ipp::FailureText(a).c_str());
                return 1;
            }
            if (i == 0)
                afterFirst = std::chrono::steady_clock::now();
        }
        const auto end = std::chrono::steady_clock::now();
        const double ms = std::chrono::duration<double, std::milli>(end - start).count();
        const double rest = std::chrono::duration<double, std::milli>(end - afterFirst).count();
        best = ms < best ? ms : best;
        bestAfterFirst = rest < bestAfterFirst ? rest : bestAfterFirst;
    }
    std::printf("%.3f %.3f\n", best / count, count > 1 ? bestAfterFirst / (count - 1) : best);
    return 0;
}
