#pragma once
// A job's tray, output bin, finishing and PIN as a script, a policy or the sheet names
// them, checked against what the printer offers on the road the job takes: a value it does
// not list is refused with the reason, never dropped and never sent.
#include <functional>
#include <string>

#include "job/settings/job_policy.h"

#include "job/settings/job_ticket.h"
#include "job/settings/paper_tables.h"
#include "printer/state/ticket_offer.h"

// What a script or a policy asks for, in words; empty leaves the choice to the printer.
struct TicketWords {
    std::wstring strTray;        // "auto", "bysize", a value the printer lists or its name in any letter case
    std::wstring strOutputBin;   // "auto", a value or its name
    std::wstring strFinishings;  // "none", or keywords separated by commas ("staple,punch-dual-left")
};

enum class TicketFault { None, NotOffered, NoTrayForSize, NoPinPrinting, PinRequired, BadPin };

struct TicketRefusal {
    TicketFault fault = TicketFault::None;
    std::wstring strOption;   // "/tray", "/bin", "/finish", "/pin"
    std::wstring strValue;    // as it was asked (never a PIN)
    std::wstring strOffered;  // what the printer offers instead, each name with its value; BadPin: the most digits
    explicit operator bool() const { return fault != TicketFault::None; }
};

// The offer as the road sees it: a printer heard on the other road offers this one nothing.
TicketOffer OfferOnRoad(const TicketOffer& offer, TicketRoad road);

// The words into `ticket` (tray, bin, finishings); bBySize when the tray is to be the one
// holding the job's paper (TrayBySize). The first value not offered refuses.
TicketRefusal TicketOfWords(const TicketWords& words, const TicketOffer& offer, JobTicket& ticket, bool& bBySize);

// The tray that holds the paper (within 2 mm, either way round) into strTray; the
// document's own size (row 0) leaves the choice to the printer, which feeds by the
// document's size anyway.
TicketRefusal TrayBySize(const TicketOffer& offer, int nPaperSize, const PaperSizeInfo& paper, std::string& strTray);

// A PIN of digits only, as long as the printer takes; bRequired: the administrator holds
// every job with one.
TicketRefusal CheckPin(const std::wstring& strPin, const TicketOffer& offer, bool bRequired, std::string& strDigits);
// A printer that cannot hold the job while the administrator requires it.
TicketRefusal PinRequiredRefusal(const TicketOffer& offer, bool bRequired);

// The ticket of a run without the sheet: the command line's words over the policies'
// defaults (a default the printer does not offer is left to the printer; a word of the
// command line it does not offer refuses), and the PIN fnPin reads when /pin asks for one
// or a policy requires it.
TicketRefusal TicketOfOptions(const JobOptions& options, const JobPolicy& policy, const TicketOffer& offer,
                              int nPaperSize, const PaperSizeInfo& paper, const std::function<std::wstring()>& fnPin,
                              JobTicket& ticket);
// True when the command line or the policies ask anything of the ticket: the printer's
// offer must then be read.
bool AsksForTicket(const JobOptions& options, const JobPolicy& policy);

// The reason in the user's language, naming the printer.
std::wstring TicketRefusalText(const TicketRefusal& refusal, const std::wstring& strPrinter);
