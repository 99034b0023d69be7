#include "ipp/ipp_request.h"

namespace ipp {

const char* StatusKeyword(uint16_t statusCode)
{
    switch (statusCode) {
    case 0x0000: return "successful-ok";
    case 0x0001: return "successful-ok-ignored-or-substituted-attributes";
    case 0x0002: return "successful-ok-conflicting-attributes";
    case 0x0400: return "client-error-bad-request";
    case 0x0401: return "client-error-forbidden";
    case 0x0402: return "client-error-not-authenticated";
    case 0x0403: return "client-error-not-authorized";
    case 0x0404: return "client-error-not-possible";
    case 0x0405: return "client-error-timeout";
    case 0x0406: return "client-error-not-found";
    case 0x0407: return "client-error-gone";
    case 0x0408: return "client-error-request-entity-too-large";
    case 0x0409: return "client-error-request-value-too-long";
    case 0x040A: return "client-error-document-format-not-supported";
    case 0x040B: return "client-error-attributes-or-values-not-supported";
    case 0x040C: return "client-error-uri-scheme-not-supported";
    case 0x040D: return "client-error-charset-not-supported";
    case 0x040E: return "client-error-conflicting-attributes";
    case 0x040F: return "client-error-compression-not-supported";
    case 0x0410: return "client-error-compression-error";
    case 0x0411: return "client-error-document-format-error";
    case 0x0412: return "client-error-document-access-error";
    case 0x0500: return "server-error-internal-error";
    case 0x0501: return "server-error-operation-not-supported";
    case 0x0502: return "server-error-service-unavailable";
    case 0x0503: return "server-error-version-not-supported";
    case 0x0504: return "server-error-device-error";
    case 0x0505: return "server-error-temporary-error";
    case 0x0506: return "server-error-not-accepting-jobs";
    case 0x0507: return "server-error-busy";
    case 0x0508: return "server-error-job-canceled";
    case 0x0509: return "server-error-multiple-document-jobs-not-supported";
    default: return nullptr;
    }
}

Message NewRequest(Operation operation, int32_t requestId, const std::string& printerUri,
                   const std::string& userName, const std::string& naturalLanguage)
{
    Message request;
    request.code = static_cast<uint16_t>(operation);
    request.requestId = requestId;
    AttributeGroup& op = request.AddGroup(GroupTag::Operation);
    op.Add("attributes-charset", ValueTag::Charset, "utf-8");
    op.Add("attributes-natural-language", ValueTag::NaturalLanguage, naturalLanguage);
    op.Add("printer-uri", ValueTag::Uri, printerUri);
    if (!userName.empty())
        op.Add("requesting-user-name", ValueTag::Name, userName);
    return request;
}

Message GetPrinterAttributesRequest(int32_t requestId, const std::string& printerUri, const std::string& userName,
                                    const std::vector<std::string>& requestedAttributes)
{
    Message request = NewRequest(Operation::GetPrinterAttributes, requestId, printerUri, userName);
    if (!requestedAttributes.empty())
        OperationGroup(request).Add("requested-attributes", ValueTag::Keyword, requestedAttributes);
    return request;
}

AttributeGroup& OperationGroup(Message& request)
{
    for (AttributeGroup& g : request.groups)
        if (g.tag == GroupTag::Operation)
            return g;
    return request.AddGroup(GroupTag::Operation);
}

}  // namespace ipp
