#include "tools/lexora/mail_arguments.h"

namespace lexora_cli {

bool TakeMailArgument(const Arguments& args, size_t& i, MailArguments& mail, std::string& problem) {
  const std::string& a = args[i];
  if (a == "--mail") {
    mail.mail = true;
  } else if (a == "--attachments") {
    mail.options.attachments = true;
  } else if (a == "--header") {
    if (i + 1 == args.size()) {
      problem = "--header needs a name";
    } else {
      mail.options.headers.push_back(args[++i]);
    }
  } else {
    return false;
  }
  return true;
}

std::string MailArgumentsProblem(const MailArguments& mail, const std::string& encoding) {
  if (!mail.mail && (mail.options.attachments || !mail.options.headers.empty())) {
    return "--header and --attachments need --mail";
  }
  if (mail.mail && !encoding.empty()) {
    return "--encoding does not apply to --mail, whose parts name their charsets";
  }
  return std::string();
}

}  // namespace lexora_cli
