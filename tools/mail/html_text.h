// The text a mail reader shows for an HTML part.
#ifndef LEXORA_TOOLS_MAIL_HTML_TEXT_H
#define LEXORA_TOOLS_MAIL_HTML_TEXT_H

#include <string>
#include <string_view>

namespace lexora_mail {

// Tags dropped, block elements and <br> as line breaks, table cells apart,
// entities decoded, white space outside <pre> collapsed; the head, scripts and
// style sheets left out. Malformed markup is read as a browser would recover it.
std::string HtmlText(std::string_view utf8Html);

}  // namespace lexora_mail

#endif  // LEXORA_TOOLS_MAIL_HTML_TEXT_H
