#pragma once
// Reads the policies of HKLM\Software\Policies\Lumeo, then of HKCU\Software\Policies\Lumeo:
// a valid machine value wins over the user's. Every value that is unknown or not valid
// is ignored and written to the debug log. Windows build only.
#include "job/policy/lumeo_policies.h"

LumeoPolicies ReadLumeoPolicies();
