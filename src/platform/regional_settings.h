#pragma once
// The user's regional settings for the report and progress texts, taken from the locale.

#include "report/formats.h"

namespace corvel {

// The settings of the locale the environment names (LC_ALL, LC_NUMERIC, LANG ...). The C and
// POSIX locales mean English (United States).
RegionalSettings SystemRegionalSettings();

}  // namespace corvel
