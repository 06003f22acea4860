// The preview's failures: every one carries the narrow message the main flow
// prints.
#ifndef LXPREVIEW_EXCEPTIONS_H
#define LXPREVIEW_EXCEPTIONS_H

#include <stdexcept>
#include <string>

class ExceptionBase : public std::runtime_error {
 public:
  explicit ExceptionBase(const std::string& message) : std::runtime_error(message) {}
};

class CPropBagException : public ExceptionBase {
 public:
  CPropBagException() : ExceptionBase("Property type mismatch.") {}
};

namespace BrenlowSoftware {

// Windows error codes the registry layer reports, as the real calls give them.
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorInvalidData = 13;
constexpr long kErrorBadPathname = 161;

// "OPERATION, CODE - SYSTEM TEXT"
class CRegKeyException : public ExceptionBase {
 public:
  CRegKeyException(const std::string& operation, long code);
  long Code() const { return code_; }

 private:
  long code_;
};

// libxml2 gives no failure codes, so none is carried.
class CXMLException : public ExceptionBase {
 public:
  explicit CXMLException(const std::string& message) : ExceptionBase(message) {}
};

}  // namespace BrenlowSoftware

#endif  // LXPREVIEW_EXCEPTIONS_H
