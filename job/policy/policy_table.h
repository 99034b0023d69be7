// The policies Lumeo reads under Software\Policies\Lumeo (the machine's key first, then the
// user's): rows for job/lumeo_policies.cpp, which defines LUMEO_POLICY before it
// includes them (no include guard). tools/gen-policy-templates.py reads the same rows to
// write the administrative templates, so keep one row per line in this form:
//
//   LUMEO_POLICY(name, kind, low, high, "keywords", what it sets)
//
//   Text     REG_SZ of low to high characters, no control characters ("text")
//   Keyword  REG_SZ, one of the blank-separated keywords in any letter case ("value" is its
//            position, "text" the keyword as listed); @PaperSizes and @PaperTypes stand for
//            the keywords of the paper tables, which the command line takes too
//   Number   REG_DWORD from low to high ("value")
//   Switch   REG_DWORD 0 or 1 ("value")
LUMEO_POLICY(DefaultPrinter, Text, 1, 249, "", strPrinter = text)
LUMEO_POLICY(Copies, Number, 1, 99, "", job.defaults.nCopies = value)
LUMEO_POLICY(Duplex, Keyword, 0, 0, "none long short", job.defaults.nDuplex = value)
LUMEO_POLICY(Color, Keyword, 0, 0, "auto bw", job.defaults.nColorMode = value)
LUMEO_POLICY(Paper, Keyword, 0, 0, "@PaperSizes", job.defaults.nPaperSize = value)
LUMEO_POLICY(PaperType, Keyword, 0, 0, "@PaperTypes", job.defaults.nPaperType = value)
LUMEO_POLICY(FitToPage, Switch, 0, 1, "", job.defaults.bFitToPage = value != 0)
LUMEO_POLICY(Language, Keyword, 0, 0, "EN FN GR JP KR", strLanguage = text)
LUMEO_POLICY(LockColor, Switch, 0, 1, "", job.bLockColor = value != 0)
LUMEO_POLICY(LockDuplex, Switch, 0, 1, "", job.bLockDuplex = value != 0)
LUMEO_POLICY(LockPaper, Switch, 0, 1, "", job.bLockPaper = value != 0)
LUMEO_POLICY(IppCertificates, Keyword, 0, 0, "first-use system", bSystemCertificatesOnly = value == 1)
LUMEO_POLICY(Tray, Text, 1, 127, "", job.defaults.strTray = text)
LUMEO_POLICY(OutputBin, Text, 1, 127, "", job.defaults.strOutputBin = text)
LUMEO_POLICY(Finishing, Text, 1, 127, "", job.defaults.strFinishings = text)
LUMEO_POLICY(RequirePin, Switch, 0, 1, "", job.bRequirePin = value != 0)
