#pragma once
// What the options of a job become when a file goes to a printer over IPP, each checked
// against what the printer lists as supported before anything is sent: an option the
// printer does not take refuses the file, naming it, rather than being dropped.
#include <string>
#include <string_view>
#include <vector>

#include "files/file_reason.h"
#include "ipp/ipp_message.h"
#include "job/settings/job_settings.h"

struct IppJobAttributes {
    ipp::AttributeGroup job{ipp::GroupTag::Job, {}};  // the job template attributes to send
    // Operation attributes beside the request's own: the PIN the job is held with.
    std::vector<ipp::Attribute> operation;
    // Sent when the printer takes them all; else OptionNotTaken ("sides=two-sided-long-edge")
    // or ZoomNotCarried (the zoom in percent), and nothing may be sent.
    FileReason refusal;
};

// The PWG self-describing name of a row of the paper-size table ("iso_a4_210x297mm"), or
// empty for "Original" and rows beyond the table.
const char* PwgMediaName(int nPaperSize);
// The media-type keyword of a row of the paper-type table ("cardstock"), or empty for
// "Default".
const char* PwgMediaType(int nPaperType);

// The printer attributes the road reads: each option's *-supported and the operations the
// printer takes. Asked by name, as `all` can bring a large printer's media database past
// the decoder's bound.
const std::vector<std::string>& IppRunPrinterAttributes();
// True for the name of a job template attribute the road may send ("sides").
bool IsJobOptionAttribute(std::string_view name);

// bPdf: page ranges are sent for PDF documents only, an image being one page. `printer`:
// the printer's answer to Get-Printer-Attributes with its *-supported attributes.
// bEncrypted: the connection is TLS, the only one a PIN may cross as it was typed; on any
// other it goes hashed, or not at all.
IppJobAttributes JobAttributesOverIpp(const JobSettings& settings, bool bPdf, const ipp::Message& printer,
                                      bool bEncrypted = false);
