#pragma once
// What a caller may ask and learn while one file is sent, on any road; both are optional.
#include <functional>

struct SendControl {
    // Asked between blocks: true stops the file. Before its first byte left nothing is
    // sent; afterwards the job is aborted (the spooler's) or cut short (the printer's).
    std::function<bool()> fnStopRequested;
    // Work done on this file so far, out of twice its size: the spooler road counts its
    // copy into the spool file once and the hand-over to the spooler once more.
    std::function<void(unsigned long long nDone)> fnProgress;
};
