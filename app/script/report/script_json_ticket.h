#pragma once
// What /json says of a printer's offer of trays, bins, finishing and PIN printing.
#include <span>

#include <nlohmann/json.hpp>

#include "printer/state/ticket_offer.h"

// null for a printer whose offer was not read; values are what /tray, /bin and /finish take.
nlohmann::ordered_json TicketOfferJson(const TicketOffer& offer);
// The keys of a refused /tray, /bin, /finish or /pin: what the README's table is checked against.
std::span<const char* const> TicketFaultKeys();
