#pragma once
// The options of the next job. All fields are 0 when CParamMngr is created;
// the main sheet's construction sets the defaults.
#include <cstdint>

#include "job/settings/job_ticket.h"

struct JobSettings {
    int32_t m_nPrintRange = 0;   // 0 all pages, 1 pages From..To
    int32_t m_nFromPage = 0;     // 0..9999
    int32_t m_nToPage = 0;       // 0..9999
    int32_t m_nCopies = 0;       // 1..99
    int32_t m_nOrientation = 0;  // 0 portrait, 1 landscape
    int32_t m_nPaperSize = 0;    // index into the paper-size table, 0..16
    int32_t m_nPaperType = 0;    // index into the paper-type table, 0..10
    int32_t m_nDuplex = 0;       // 0 none, 1 long edge, 2 short edge
    int32_t m_nColorMode = 0;    // 0 auto (colour), 1 black and white
    int32_t m_bFitToPage = 0;    // 1 fit to the paper (zoom unused)
    int32_t m_nZoom = 0;         // percent, 50..200
    JobTicket m_Ticket;          // tray, output bin, finishing, PIN: nothing unless chosen
};
