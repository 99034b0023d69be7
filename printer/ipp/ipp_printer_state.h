#pragma once
// What a printer's Get-Printer-Attributes answer says of it: its device ID (or one made of
// the document formats it takes) and its state, alerts, supplies and trays, in the same
// protocol-neutral form the Printer MIB fills. Portable: the route only does the exchange.
#include <string>
#include <vector>

#include "ipp/ipp_message.h"
#include "printer/state/printer_state.h"

// The attributes the route asks for: the ID and formats, or the state with its details.
const std::vector<std::string>& IppDeviceIdAttributes();
const std::vector<std::string>& IppStateAttributes(bool bDetails);

// printer-device-id as sent; without one, "CMD:" and the direct-print types among
// document-format-supported ("CMD:PDF,JPEG;"), judged by the same rule as any ID. Empty
// when the printer names neither (application/octet-stream alone names no type).
std::wstring DeviceIdOfIppAnswer(const ipp::Message& answer);

// printer-state, printer-state-reasons with their suffixes, the printer's own words
// (printer-state-message, printer-alert-description), printer-supply or marker-levels,
// and printer-input-tray or media-col-ready. Every printer string is cleaned.
PrinterState StateOfIppAnswer(const ipp::Message& answer);
