#pragma once
// What the Finishing page offers: one list each of trays, output bins, staple, punch and
// fold values, made from the printer's offer, and the job's ticket made from the entries
// chosen. Portable, so the lists and the preview's lines are tested without a window.
#include <string>
#include <vector>

#include "job/settings/ticket_choice.h"
#include "ui/info_preview_text.h"

// The entries of one list: what each shows and what it sends ("" first: automatic or none).
struct TicketChoiceList {
    std::vector<std::wstring> arrNames;
    std::vector<std::string> arrValues;
};
// The value of "By paper size": no printer keyword can be it.
inline constexpr char kBySizeValue[] = "\x01";

struct FinishingLists {
    TicketChoiceList trays, bins, staples, punches, folds;
};
FinishingLists ListsOfOffer(const TicketOffer& offer);

// The entry that sends `value`, 0 (automatic, none) when no entry does.
int EntryOfValue(const TicketChoiceList& list, const std::string& value);

// The chosen entry of each list, in the order of FinishingLists.
struct FinishingEntries {
    int nTray = 0, nBin = 0, nStaple = 0, nPunch = 0, nFold = 0;
};
// The entries the command line's presets, else the policies' defaults, name (what the
// printer does not offer stays automatic).
FinishingEntries EntriesOfOptions(const FinishingLists& lists, const JobOptions& options, const JobPolicy& policy,
                                  const TicketOffer& offer);
// The ticket of the entries; "By paper size" becomes the tray holding the paper, or refuses.
TicketRefusal TicketOfEntries(const FinishingLists& lists, const FinishingEntries& entries, const TicketOffer& offer,
                              int nPaperSize, const PaperSizeInfo& paper, JobTicket& ticket);

// The summary panel's lines: tray, output bin, finishing, PIN printing.
std::vector<LabelledText> TicketPreviewTexts(const FinishingLists& lists, const FinishingEntries& entries, bool bPin);
