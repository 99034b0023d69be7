#pragma once
// The names the user reads for what a printer offers (section "TICKET" of the UI string
// file, English built in): a standard keyword in the user's language ("tray-2" reads
// "Tray 2"), a printer's own name or keyword as it is.
#include <cstdint>
#include <string>
#include <vector>

#include "printer/state/ticket_offer.h"

std::wstring TrayName(const OfferedTray& tray);
std::wstring BinName(const OfferedBin& bin);
std::wstring FinishingName(int32_t nValue);
// "Automatic", "By paper size", "None": the choices that send nothing (or a tray found later).
std::wstring TicketAutomaticText();
std::wstring TicketBySizeText();
std::wstring TicketNoneText();

// "Tray 2 (tray-2), Bypass tray (by-pass-tray)": the values of an offer a script may name,
// each after its name; "(none)" when there is none.
std::wstring OfferedTraysText(const TicketOffer& offer);
std::wstring OfferedBinsText(const TicketOffer& offer);
std::wstring OfferedFinishingsText(const TicketOffer& offer);

// What /probe says of an offer: the trays, bins and finishings a script may name, and PIN
// printing; nothing for a printer whose offer was not read.
std::vector<std::wstring> TicketOfferLines(const TicketOffer& offer);
