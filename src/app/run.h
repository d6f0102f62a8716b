// SPDX-License-Identifier: GPL-2.0-or-later
// The whole life of one run: from the map's path to the one outcome shown, then the common end.
#pragma once

#include "app/platform.h"

inline constexpr int kExitListed = 0;  // the listing was shown, complete or stopped at a marker
inline constexpr int kExitFailed = 1;  // a failure message ended the run, or the listing could not be shown

int RunVeldrin(MapPath* path);
