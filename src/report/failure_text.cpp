#include "report/failure_text.h"

#include "learning/engine.h"

namespace corvel {
namespace {

constexpr const char* kContact = "the Corvel Duvu issue tracker";
// The failure carries no help file, so its name after the description is empty.
constexpr const char* kHelpFile = "";

}  // namespace

std::string FailureReportText(int code, const std::string& description) {
  if (code == kOutOfMemoryCode) {
    return "Out of memory error: \rPlease try closing some applications and retrying.\r";
  }
  return std::string("This version of the code has encountered an error.\r") +
         "It would be helpful if you could report this error to " + kContact + "\r" +
         "Please include the following error message as well as\r" +
         "where the error occured and what version of windows you are using:\r" + description +
         " " + kHelpFile;
}

}  // namespace corvel
