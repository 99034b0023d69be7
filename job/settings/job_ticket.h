#pragma once
// What a job asks of the printer beyond paper and sides: the tray it is fed from, the bin
// it goes to, its finishing and the PIN it is held with. Every value is one the printer
// offered (printer/state/ticket_offer.h), in the form its road sends it.
#include <cstdint>
#include <string>
#include <vector>

struct JobTicket {
    std::string strTray;                 // empty: the printer chooses
    std::string strOutputBin;            // empty: the printer chooses
    std::vector<int32_t> arrFinishings;  // IPP finishings values; empty: none
    std::string strPin;                  // its digits; empty: the job is not held

    bool Any() const { return !strTray.empty() || !strOutputBin.empty() || !arrFinishings.empty() || !strPin.empty(); }
};
