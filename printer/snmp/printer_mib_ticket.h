#pragma once
// The trays and output bins a job may choose on the spooler road, from the Printer MIB's
// input and output tables: only those whose names say a PJL keyword unmistakably.
#include "printer/snmp/printer_mib_state.h"
#include "printer/state/ticket_offer.h"

// A printer whose tables name nothing offers nothing; two names that make one keyword
// offer neither, as the printer could take either for it.
TicketOffer TicketOfferOfPrinterMib(const PrinterMibValues& values);
