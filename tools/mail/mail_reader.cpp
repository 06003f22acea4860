#include "tools/mail/mail_reader.h"

#include <fcntl.h>
#include <gmime/gmime.h>
#include <libxml/parser.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>

#include "tools/mail/gobject_handle.h"
#include "tools/mail/message_text.h"

namespace lexora_mail {
namespace {

void InitLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_mime_init();
    xmlInitParser();
  });
}

struct ParserOptions {
  ParserOptions() { g_mime_parser_options_set_warning_callback(options, Warn, this); }
  ~ParserOptions() { g_mime_parser_options_free(options); }
  ParserOptions(const ParserOptions&) = delete;
  ParserOptions& operator=(const ParserOptions&) = delete;

  static void Warn(gint64, GMimeParserWarning warning, const gchar*, gpointer self) {
    // Past its nesting limit the parser drops the deeper parts: the text
    // would lack them without a word said.
    if (warning == GMIME_CRIT_NESTING_OVERFLOW) static_cast<ParserOptions*>(self)->tooDeep = true;
  }

  GMimeParserOptions* options = g_mime_parser_options_new();
  bool tooDeep = false;
};

// The next message of the parser; `found` tells whether the parser made one.
MailMessage ParseMessage(GMimeParser* parser, ParserOptions& parserOptions, std::string label,
                         const MailOptions& options, bool& found) {
  MailMessage m;
  m.label = std::move(label);
  parserOptions.tooDeep = false;
  gint64 start = g_mime_parser_tell(parser);
  GObjectHandle<GMimeMessage> message(
      g_mime_parser_construct_message(parser, parserOptions.options));
  found = message != nullptr;
  if (!message) {
    m.error = "no mail message at byte " + std::to_string(start);
    return m;
  }
  if (parserOptions.tooDeep) {
    m.error = "MIME parts nested too deeply";
    return m;
  }
  m.text = MessageText(message.get(), options);
  // A string stream counts its text in 32 bits.
  if (m.text.size() > std::numeric_limits<uint32_t>::max()) {
    m.text.clear();
    m.error = "message text too long";
    return m;
  }
  m.ok = true;
  return m;
}

void ReadMailStream(GMimeStream* stream, const std::string& name, const MailOptions& options,
                    const MessageSink& sink) {
  char head[5];
  bool mbox = g_mime_stream_read(stream, head, sizeof head) == sizeof head &&
              std::memcmp(head, "From ", sizeof head) == 0;
  if (g_mime_stream_reset(stream) != 0) {
    MailMessage m;
    m.label = name;
    m.error = "cannot read";
    sink(std::move(m));
    return;
  }
  GObjectHandle<GMimeParser> parser(g_mime_parser_new_with_stream(stream));
  ParserOptions parserOptions;
  bool found = false;
  if (!mbox) {
    sink(ParseMessage(parser.get(), parserOptions, name, options, found));
    return;
  }
  g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MBOX);
  for (size_t ordinal = 1; !g_mime_parser_eos(parser.get()); ++ordinal) {
    gint64 before = g_mime_parser_tell(parser.get());
    sink(ParseMessage(parser.get(), parserOptions, name + ":" + std::to_string(ordinal), options,
                      found));
    gint64 after = g_mime_parser_tell(parser.get());
    // A parser that no longer moves would report the same failure forever;
    // the failure just reported names where the unread rest begins.
    if (after <= before) break;
    // After a piece that is no message (a "From " line in a body, no header
    // after it) the parser reads no further message: start it afresh there.
    if (!found) {
      g_mime_stream_seek(stream, after, GMIME_STREAM_SEEK_SET);
      g_mime_parser_init_with_stream(parser.get(), stream);
    }
  }
}

}  // namespace

void ReadMailFile(const std::string& path, const MailOptions& options, const MessageSink& sink) {
  InitLibraries();
  // Mapped rather than read: the parser and the parts' content then read
  // without a system call each, and the pages stay the kernel's to drop.
  int fd = open(path.c_str(), O_RDONLY);
  GObjectHandle<GMimeStream> stream(fd < 0 ? nullptr
                                           : g_mime_stream_mmap_new(fd, PROT_READ, MAP_PRIVATE));
  if (!stream && fd >= 0) stream.reset(g_mime_stream_fs_new(fd));  // an empty file maps nothing
  if (!stream) {
    MailMessage m;
    m.label = path;
    m.error = "cannot open";
    sink(std::move(m));
    return;
  }
  ReadMailStream(stream.get(), path, options, sink);
}

void ReadMailBytes(std::string_view bytes, const std::string& name, const MailOptions& options,
                   const MessageSink& sink) {
  InitLibraries();
  GObjectHandle<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
  ReadMailStream(stream.get(), name, options, sink);
}

}  // namespace lexora_mail
