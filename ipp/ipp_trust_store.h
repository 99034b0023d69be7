#pragma once
// Where a user's trust in printers is kept. Pins: one value per printer under
// HKCU\Software\Lumeo\CertificatePins, named by PinName; a value that is not a pin is
// ignored and logged. Sign-ins the user asked to remember: Windows' Credential Manager, a
// generic credential "Lumeo:<PinName>", never the registry or a file. Windows build only.
#include <optional>
#include <string>

#include "ipp/ipp_certificate.h"
#include "ipp/ipp_sign_in.h"

namespace ipp {

std::optional<Pin> ReadPin(const std::string& printer);
bool WritePin(const std::string& printer, const std::string& sha256);
// Today, as a pin keeps it: "2026-12-09".
std::string PinDayToday();

std::optional<Credentials> ReadRememberedSignIn(const std::string& printer);
bool RememberSignIn(const std::string& printer, const Credentials& credentials);
void ForgetSignIn(const std::string& printer);

}  // namespace ipp
