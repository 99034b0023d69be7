#pragma once
// What the program tells every IPP connection once, at start: the administrator's choice of
// certificates, the user's /trust, and who answers when a printer asks for a sign-in (the
// sheet's dialog, or LumeoCmd's /user with its password from the environment or the console).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "ipp/ipp_certificate.h"
#include "ipp/ipp_message.h"

namespace ipp {

// A user's sign-in at a printer. The password is wiped when the object goes; it is never
// written to a log, a URL or a file.
struct Credentials {
    std::wstring strUser;
    std::wstring strPassword;
    bool bRemember = false;  // keep it in Windows' Credential Manager once the printer took it

    Credentials() = default;
    Credentials(std::wstring user, std::wstring password, bool remember = false)
        : strUser(std::move(user)), strPassword(std::move(password)), bRemember(remember)
    {
    }
    Credentials(const Credentials&) = default;
    Credentials& operator=(const Credentials&) = default;
    ~Credentials();
};

struct SignInQuestion {
    std::string printer;       // PinName of the printer: "ipps://host:port"
    std::wstring strRefused;   // the user name the printer just refused; empty the first time
    int nAttempt = 1;          // 1, 2, 3
};

// Credentials to try, or nullopt when there are none to give (the user cancelled).
using SignInProvider = std::function<std::optional<Credentials>(const SignInQuestion&)>;

// A dialog asks at most this many times; a script, once.
constexpr int kMaxSignInAttempts = 3;

// True when a printer's attributes say it takes jobs at `url` only from a signed-in user:
// uri-authentication-supported "basic" or "digest" beside that URI in printer-uri-supported
// (or beside its only URI).
bool PrinterAsksForSignIn(const Message& printer, const PrinterUrl& url);

void SetCertificatePolicy(CertificatePolicy policy);
CertificatePolicy CurrentCertificatePolicy();
// /trust: whatever certificate a printer shows from now on replaces its pin.
void TrustShownCertificates(bool bTrust);
bool TrustingShownCertificates();
void SetSignInProvider(SignInProvider provider);
std::optional<Credentials> AskForSignIn(const SignInQuestion& question);

}  // namespace ipp
