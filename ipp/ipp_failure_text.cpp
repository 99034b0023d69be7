#include "ipp/ipp_exchange.h"

namespace ipp {

std::string FailureText(const Answer& answer)
{
    const std::string& p = answer.printer;
    switch (answer.failure) {
    case Failure::None: return "IPP request to " + p + ": answered";
    case Failure::BadRequest: return "IPP request to " + p + ": the request could not be written";
    case Failure::CannotConnect: return "IPP request to " + p + ": no connection";
    case Failure::TimedOut: return "IPP request to " + p + ": no answer in time";
    case Failure::UntrustedCertificate: return "IPP request to " + p + ": the printer's certificate is not trusted";
    case Failure::SecureChannelFailed: return "IPP request to " + p + ": no secure connection";
    case Failure::ConnectionLost: return "IPP request to " + p + ": the connection broke";
    case Failure::NotHttp: return "IPP request to " + p + ": the answer is not HTTP";
    case Failure::HttpError: return "IPP request to " + p + ": HTTP status " + std::to_string(answer.httpStatus);
    case Failure::NeedsCredentials: return "IPP request to " + p + ": the printer asks for a password";
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
