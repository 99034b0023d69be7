#include "ipp/ipp_exchange.h"

namespace ipp {

namespace {
// The log's and /probe's English lines are ASCII.
std::string Ascii(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return out;
}
}  // namespace

bool IsUnsafe(Failure failure)
{
    switch (failure) {
    case Failure::UntrustedCertificate:
    case Failure::CertificateChanged:
    case Failure::CertificateUnreadable:
    case Failure::NeedsCredentials:
    case Failure::SignInRefused:
    case Failure::PasswordUnencrypted:
        return true;
    default:
        return false;
    }
}

std::string FailureText(const Answer& answer)
{
    const std::string& p = answer.printer;
    switch (answer.failure) {
    case Failure::None: return "IPP request to " + p + ": answered";
    case Failure::BadRequest: return "IPP request to " + p + ": the request could not be written";
    case Failure::CannotConnect: return "IPP request to " + p + ": no connection";
    case Failure::TimedOut: return "IPP request to " + p + ": no answer in time";
    case Failure::UntrustedCertificate:
        return "IPP request to " + p + ": Windows does not trust the printer's certificate, and only certificates "
               "Windows trusts are taken";
    case Failure::CertificateChanged:
        return "IPP request to " + p + ": the printer's certificate has changed: SHA-256 " +
               FingerprintText(answer.certificate ? answer.certificate->sha256 : std::string()) + " instead of " +
               FingerprintText(answer.pinnedSha256);
    case Failure::CertificateUnreadable: return "IPP request to " + p + ": the printer's certificate cannot be read";
    case Failure::SecureChannelFailed: return "IPP request to " + p + ": no secure connection";
    case Failure::ConnectionLost: return "IPP request to " + p + ": the connection broke";
    case Failure::NotHttp: return "IPP request to " + p + ": the answer is not HTTP";
    case Failure::HttpError: return "IPP request to " + p + ": HTTP status " + std::to_string(answer.httpStatus);
    case Failure::NeedsCredentials: return "IPP request to " + p + ": the printer asks for a user name and password";
    case Failure::SignInRefused: return "IPP request to " + p + ": the printer refused the sign-in for " + Ascii(answer.strRefusedUser);
    case Failure::PasswordUnencrypted:
        return "IPP request to " + p + ": the printer asks for a password, and would send your password unencrypted";
    case Failure::NotIpp: return "IPP request to " + p + ": the answer is not IPP";
    case Failure::Redirected: return "IPP request to " + p + ": redirected elsewhere, not followed";
    case Failure::TooLarge: return "IPP request to " + p + ": the answer is too large";
    case Failure::Malformed: return "IPP request to " + p + ": " + DecodeErrorText(answer.decodeError);
    case Failure::DocumentUnreadable: return "IPP request to " + p + ": the document could not be read";
    case Failure::Stopped: return "IPP request to " + p + ": stopped";
    case Failure::SystemError: return "IPP request to " + p + ": system error " + std::to_string(answer.systemError);
    }
    return "IPP request to " + p + ": failed";
}

}  // namespace ipp
