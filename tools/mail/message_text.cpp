#include "tools/mail/message_text.h"

#include <string_view>
#include <vector>

#include "engine/base/utf.h"
#include "tools/mail/gobject_handle.h"
#include "tools/mail/html_text.h"
#include "tools/mail/part_decoder.h"

namespace lexora_mail {
namespace {

using Nimbra::Lexora::Utf16ToUtf8;
using Nimbra::Lexora::Utf8ToUtf16;

class TextBuilder {
 public:
  static constexpr char16_t kBlanks[] = u" \t\r\n";

  // Adds a piece without the blank lines and spaces around it.
  void Add(std::u16string_view piece) {
    size_t first = piece.find_first_not_of(kBlanks);
    if (first == std::u16string_view::npos) return;
    piece = piece.substr(first, piece.find_last_not_of(kBlanks) + 1 - first);
    if (!text_.empty()) text_ += kPieceSeparator;
    text_ += piece;
  }
  void AddUtf8(const char* piece) {
    if (piece != nullptr) Add(Utf8ToUtf16(piece));
  }
  std::u16string Take() { return std::move(text_); }

 private:
  std::u16string text_;
};

void AddHeaders(GMimeMessage* message, const MailOptions& options, TextBuilder& text) {
  text.AddUtf8(g_mime_message_get_subject(message));
  GMimeHeaderList* headers = g_mime_object_get_header_list(GMIME_OBJECT(message));
  int count = g_mime_header_list_get_count(headers);
  for (const std::string& name : options.headers) {
    for (int i = 0; i < count; ++i) {
      GMimeHeader* header = g_mime_header_list_get_header_at(headers, i);
      if (g_ascii_strcasecmp(g_mime_header_get_name(header), name.c_str()) == 0) {
        text.AddUtf8(g_mime_header_get_value(header));
      }
    }
  }
}

// Attachments whose content is text a person could read.
bool TextLike(GMimeContentType* type) {
  auto lower = [](const char* name) {
    std::string text = name != nullptr ? name : "";
    for (char& c : text) c = g_ascii_tolower(c);
    return text;
  };
  std::string media = lower(g_mime_content_type_get_media_type(type));
  std::string sub = lower(g_mime_content_type_get_media_subtype(type));
  if (media == "text" || media == "message") return true;  // message/*: reports, not messages
  return media == "application" && (sub == "json" || sub == "xml" || sub == "javascript" ||
                                    sub.ends_with("+xml") || sub.ends_with("+json"));
}

std::string PartBytes(GMimePart* part) {
  GMimeDataWrapper* content = g_mime_part_get_content(part);
  if (content == nullptr) return std::string();
  GObjectHandle<GMimeStream> memory(g_mime_stream_mem_new());
  g_mime_data_wrapper_write_to_stream(content, memory.get());
  GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory.get()));
  return std::string(reinterpret_cast<const char*>(bytes->data), bytes->len);
}

void AddPart(GMimePart* part, const MailOptions& options, TextBuilder& text) {
  GMimeContentType* type = g_mime_object_get_content_type(GMIME_OBJECT(part));
  bool html = g_mime_content_type_is_type(type, "text", "html");
  if (!html && !g_mime_content_type_is_type(type, "text", "plain") &&
      !(options.attachments && TextLike(type))) {
    return;
  }
  std::string bytes = PartBytes(part);
  const char* charset = g_mime_content_type_get_parameter(type, "charset");
  DecodedPart decoded = DecodePart(bytes, charset);
  if (html) {
    text.Add(Utf8ToUtf16(HtmlText(Utf16ToUtf8(decoded.text))));
  } else {
    text.Add(decoded.text);
  }
}

}  // namespace

std::u16string MessageText(GMimeMessage* message, const MailOptions& options) {
  TextBuilder text;
  // Depth first in message order, with a stack rather than recursion: a
  // hostile message may nest parts as deep as the parser allows.
  std::vector<GMimeObject*> pending{GMIME_OBJECT(message)};
  while (!pending.empty()) {
    GMimeObject* object = pending.back();
    pending.pop_back();
    if (object == nullptr) continue;
    if (GMIME_IS_MESSAGE(object)) {
      AddHeaders(GMIME_MESSAGE(object), options, text);
      pending.push_back(g_mime_message_get_mime_part(GMIME_MESSAGE(object)));
    } else if (GMIME_IS_MESSAGE_PART(object)) {
      pending.push_back(GMIME_OBJECT(g_mime_message_part_get_message(GMIME_MESSAGE_PART(object))));
    } else if (GMIME_IS_MULTIPART(object)) {
      GMimeMultipart* multipart = GMIME_MULTIPART(object);
      for (int i = g_mime_multipart_get_count(multipart); i-- > 0;) {
        pending.push_back(g_mime_multipart_get_part(multipart, i));
      }
    } else if (GMIME_IS_PART(object)) {
      AddPart(GMIME_PART(object), options, text);
    }
  }
  return text.Take();
}

}  // namespace lexora_mail
