#pragma once
// Why a printer heard over IPP could not be reached safely, as every program says it: the
// sheet's status line and question, LumeoCmd's lines, exit code 7 and its /json keys.
// Nothing of a document or a password went to such a printer.
#include <string>

#include "ipp/ipp_certificate.h"
#include "ipp/ipp_exchange.h"

enum class IppSafety {
    Safe,
    CertificateChanged,
    CertificateNotTrusted,  // the policy takes Windows' trust alone
    CertificateUnreadable,
    SignInNeeded,
    SignInRefused,
    PasswordUnencrypted,
};

// What an IPP request learnt of it, kept for whoever tells it.
struct IppSafetyFacts {
    IppSafety safety = IppSafety::Safe;
    std::string shownSha256;   // CertificateChanged: the certificate shown now
    std::string pinnedSha256;  // and the one pinned
    std::wstring strUser;      // SignInRefused: the name refused
};

IppSafetyFacts SafetyOfAnswer(const ipp::Answer& answer);
// The /json key: "certificate-changed", "certificate-not-trusted", "certificate-unreadable",
// "sign-in-needed", "sign-in-refused", "password-unencrypted"; null for Safe.
const char* IppSafetyKey(IppSafety safety);
// "The printer could not be reached safely: its certificate has changed (SHA-256 … instead
// of …)"; bShort leaves the fingerprints out (a status line).
std::wstring IppSafetyText(const IppSafetyFacts& facts, bool bShort = false);
// The reason alone, without the sentence around it: a file's reason.
std::wstring IppSafetyWhy(const IppSafetyFacts& facts, bool bShort = false);
// "Certificate: SHA-256 AB:…, trusted on first use on 2026-12-09".
std::wstring CertificateLine(const ipp::Certificate& certificate);
// The question the sheet asks before a changed certificate is trusted, over several lines.
std::wstring CertificateQuestion(const IppSafetyFacts& facts);
