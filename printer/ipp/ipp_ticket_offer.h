#pragma once
// What a printer's Get-Printer-Attributes answer offers a job beyond paper and sides:
// media-source-supported (with the paper of each source from media-col-ready),
// output-bin-supported, finishings-supported and job-password-supported.
#include <string>
#include <vector>

#include "ipp/ipp_message.h"
#include "printer/state/ticket_offer.h"

// The attributes the offer is read from, asked beside the state's details.
const std::vector<std::string>& IppTicketAttributes();

// bEncrypted: the connection is TLS. A PIN the printer takes only as typed would cross a
// plain connection readable by anyone on the way: PIN printing is then not offered.
TicketOffer TicketOfferOfIppAnswer(const ipp::Message& answer, bool bEncrypted);
