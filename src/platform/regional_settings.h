#pragma once
// The user's regional settings for the report and progress texts, taken from the locale.

#include "report/formats.h"

namespace corvel {

// The settings of the system locale as Qt reads it from the environment (LC_ALL, else
// LANG; Qt 6.4 does not look at LC_NUMERIC or LC_TIME alone). The C and POSIX locales mean
// English (United States): ".", ",", "M/d/yyyy", "h:mm:ss AP". Other locales give their own
// separators, their short date pattern with a two-digit year widened to four digits, and
// their long time pattern without its time-zone part.
RegionalSettings SystemRegionalSettings();

}  // namespace corvel
