#include "platform/regional_settings.h"

namespace corvel {

RegionalSettings SystemRegionalSettings() { return RegionalSettings{}; }  // filled in with QLocale

}  // namespace corvel
