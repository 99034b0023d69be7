#pragma once
// How much of a spool file is mapped at a time while it is sent to the spooler.
#include <cstddef>

// A multiple of the system's allocation granularity; 64 MiB unless set otherwise.
size_t DocumentWindowBytes();
// Tests use small windows to send files in many windows; rounded up to the
// granularity; 0 restores the default.
void SetDocumentWindowBytes(size_t nBytes);
