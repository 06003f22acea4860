#include "preview/exceptions.h"

#include <boost/format.hpp>

namespace BrenlowSoftware {
namespace {

// The system's US-English texts for the codes the registry layer can give.
struct SystemMessage {
  long code;
  const char* text;
};
constexpr SystemMessage kSystemMessages[] = {
    {kErrorFileNotFound, "The system cannot find the file specified."},
    {kErrorInvalidData, "The data is invalid."},
    {kErrorBadPathname, "The specified path is invalid."},
};

std::string SystemMessageText(long code) {
  for (const SystemMessage& m : kSystemMessages) {
    if (m.code == code) return m.text;
  }
  return "Unknown Error";
}

// The operation's text is bounded as the gateway's fixed buffer bounds it.
constexpr size_t kMaxOperationText = 511;

}  // namespace

CRegKeyException::CRegKeyException(const std::string& operation, long code)
    : ExceptionBase((boost::format("%s, %d - %s") % operation.substr(0, kMaxOperationText) % code %
                     SystemMessageText(code))
                        .str()),
      code_(code) {}

}  // namespace BrenlowSoftware
