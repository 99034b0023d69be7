#pragma once
// Operation and status codes, and the requests this client sends.
#include <cstdint>
#include <string>
#include <vector>

#include "ipp/ipp_message.h"

namespace ipp {

enum class Operation : uint16_t {
    PrintJob = 0x0002,
    ValidateJob = 0x0004,
    CreateJob = 0x0005,
    SendDocument = 0x0006,
    CancelJob = 0x0008,
    GetJobAttributes = 0x0009,
    GetJobs = 0x000A,
    GetPrinterAttributes = 0x000B,
};

namespace status {
constexpr uint16_t kOk = 0x0000;
constexpr uint16_t kOkIgnoredOrSubstituted = 0x0001;
constexpr uint16_t kOkConflicting = 0x0002;
constexpr uint16_t kClientBadRequest = 0x0400;
constexpr uint16_t kClientNotAuthenticated = 0x0402;
constexpr uint16_t kClientNotFound = 0x0406;
constexpr uint16_t kClientDocumentFormatNotSupported = 0x040A;
constexpr uint16_t kClientAttributesOrValuesNotSupported = 0x040B;
constexpr uint16_t kServerOperationNotSupported = 0x0501;
constexpr uint16_t kServerVersionNotSupported = 0x0503;
constexpr uint16_t kServerBusy = 0x0507;
}  // namespace status

// The successful-ok range: the operation was done, perhaps with attributes changed.
inline bool IsSuccess(uint16_t statusCode)
{
    return statusCode < 0x0100;
}

// The status code's keyword ("client-error-not-found"), or null for a code this client
// does not know.
const char* StatusKeyword(uint16_t statusCode);

// A request with the operation attributes every request begins with: attributes-charset
// utf-8, attributes-natural-language, printer-uri and, when given, requesting-user-name.
// Strings are UTF-8. Version 2.0; a caller that meets a 1.1 printer sets versionMinor/Major.
Message NewRequest(Operation operation, int32_t requestId, const std::string& printerUri,
                   const std::string& userName, const std::string& naturalLanguage = "en");

// Get-Printer-Attributes for the attributes named (all of them when the list is empty).
Message GetPrinterAttributesRequest(int32_t requestId, const std::string& printerUri, const std::string& userName,
                                    const std::vector<std::string>& requestedAttributes);

// The operation group of a request made by NewRequest, to add further attributes to.
AttributeGroup& OperationGroup(Message& request);

}  // namespace ipp
