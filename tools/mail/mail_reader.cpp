#include "tools/mail/mail_reader.h"

#include <fcntl.h>
#include <gmime/gmime.h>
#include <libxml/parser.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

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

// Options without a warning callback: given one, the parser decodes and checks
// every header field of every part, Received lines and all, which cost more
// than the rest of the parse. Never changed once made, so shared by threads.
GMimeParserOptions* QuietOptions() {
  static GMimeParserOptions* const options = g_mime_parser_options_new();
  return options;
}

// Options whose warnings tell whether the parser went past its nesting limit.
struct NestingWatch {
  NestingWatch() { g_mime_parser_options_set_warning_callback(options, Warn, this); }
  ~NestingWatch() { g_mime_parser_options_free(options); }
  NestingWatch(const NestingWatch&) = delete;
  NestingWatch& operator=(const NestingWatch&) = delete;

  static void Warn(gint64, GMimeParserWarning warning, const gchar*, gpointer self) {
    if (warning == GMIME_CRIT_NESTING_OVERFLOW) static_cast<NestingWatch*>(self)->tooDeep = true;
  }

  GMimeParserOptions* options = g_mime_parser_options_new();
  bool tooDeep = false;
};

// Levels below `root`, a nested message and its body counted apart.
size_t TreeDepth(GMimeObject* root) {
  size_t deepest = 0;
  std::vector<std::pair<GMimeObject*, size_t>> pending{{root, 0}};
  while (!pending.empty()) {
    auto [object, depth] = pending.back();
    pending.pop_back();
    if (object == nullptr) continue;
    deepest = std::max(deepest, depth);
    if (GMIME_IS_MESSAGE(object)) {
      pending.emplace_back(g_mime_message_get_mime_part(GMIME_MESSAGE(object)), depth + 1);
    } else if (GMIME_IS_MESSAGE_PART(object)) {
      pending.emplace_back(
          GMIME_OBJECT(g_mime_message_part_get_message(GMIME_MESSAGE_PART(object))), depth + 1);
    } else if (GMIME_IS_MULTIPART(object)) {
      GMimeMultipart* multipart = GMIME_MULTIPART(object);
      for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i) {
        pending.emplace_back(g_mime_multipart_get_part(multipart, i), depth + 1);
      }
    }
  }
  return deepest;
}

// Past its nesting limit the parser drops the deeper parts: the text would
// lack them without a word said. It counts no more levels than TreeDepth and
// its limit lies far below this, so only a tree this deep can have lost parts;
// only such a message is parsed again, with the warnings on, to learn whether.
constexpr size_t kSuspectDepth = 256;

bool NestingOverflows(GMimeStream* stream, gint64 start, gint64 end, GMimeFormat format) {
  GObjectHandle<GMimeStream> piece(g_mime_stream_substream(stream, start, end));
  GObjectHandle<GMimeParser> parser(g_mime_parser_new_with_stream(piece.get()));
  g_mime_parser_set_format(parser.get(), format);
  NestingWatch watch;
  GObjectHandle<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), watch.options));
  return watch.tooDeep;
}

// The next message of the parser, which reads `stream`; `found` tells whether
// the parser made one.
MailMessage ParseMessage(GMimeParser* parser, GMimeStream* stream, GMimeFormat format,
                         std::string label, const MailOptions& options, bool& found) {
  MailMessage m;
  m.label = std::move(label);
  gint64 start = g_mime_parser_tell(parser);
  GObjectHandle<GMimeMessage> message(g_mime_parser_construct_message(parser, QuietOptions()));
  found = message != nullptr;
  if (!message) {
    m.error = "no mail message at byte " + std::to_string(start);
    return m;
  }
  if (TreeDepth(GMIME_OBJECT(message.get())) >= kSuspectDepth &&
      NestingOverflows(stream, start, g_mime_parser_tell(parser), format)) {
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

// Making a parser costs more than reading a short message's headers, so each
// thread keeps one for the files it reads. A sink that reads mail itself
// finds the thread's parser taken and gets one of its own.
class ParserLease {
 public:
  explicit ParserLease(GMimeStream* stream) : parser_(std::move(Spare())) {
    if (!parser_) parser_.reset(g_mime_parser_new());
    g_mime_parser_init_with_stream(parser_.get(), stream);
  }
  ~ParserLease() {
    // Drops the parser's hold on the file, which would stay open and mapped.
    thread_local GObjectHandle<GMimeStream> nothing(g_mime_stream_null_new());
    g_mime_parser_init_with_stream(parser_.get(), nothing.get());
    if (!Spare()) Spare() = std::move(parser_);
  }
  ParserLease(const ParserLease&) = delete;
  ParserLease& operator=(const ParserLease&) = delete;

  GMimeParser* get() const { return parser_.get(); }

 private:
  static GObjectHandle<GMimeParser>& Spare() {
    thread_local GObjectHandle<GMimeParser> spare;
    return spare;
  }

  GObjectHandle<GMimeParser> parser_;
};

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
  ParserLease parser(stream);
  bool found = false;
  if (!mbox) {
    g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MESSAGE);
    sink(ParseMessage(parser.get(), stream, GMIME_FORMAT_MESSAGE, name, options, found));
    return;
  }
  g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MBOX);
  for (size_t ordinal = 1; !g_mime_parser_eos(parser.get()); ++ordinal) {
    gint64 before = g_mime_parser_tell(parser.get());
    sink(ParseMessage(parser.get(), stream, GMIME_FORMAT_MBOX, name + ":" + std::to_string(ordinal),
                      options, found));
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

// Files up to this size are read whole, with one call: a mapping costs a page
// fault per page and, when it goes, a TLB flush, together more than the parse
// of a short message. Larger files are mapped, so that memory stays bounded;
// so are those that show no size (kernel files show none, whatever they hold).
constexpr off_t kReadWhole = 64 << 20;

// The first `size` bytes of the file, or fewer if it shrank meanwhile, in a
// memory stream; null on a read error.
GMimeStream* ReadWhole(int fd, size_t size) {
  GByteArray* bytes = g_byte_array_sized_new(static_cast<guint>(size));
  g_byte_array_set_size(bytes, static_cast<guint>(size));
  size_t have = 0;
  while (have < size) {
    ssize_t got = read(fd, bytes->data + have, size - have);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      g_byte_array_unref(bytes);
      return nullptr;
    }
    if (got == 0) break;
    have += static_cast<size_t>(got);
  }
  g_byte_array_set_size(bytes, static_cast<guint>(have));
  return g_mime_stream_mem_new_with_byte_array(bytes);  // the stream owns the bytes
}

// A stream over the file open as `fd`, which the stream (or this) closes;
// null when the file cannot be read.
GMimeStream* FileStream(int fd) {
  struct stat status;
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
      status.st_size <= kReadWhole) {
    GMimeStream* stream = ReadWhole(fd, static_cast<size_t>(status.st_size));
    close(fd);
    return stream;
  }
  // Mapped: the parser and the parts' content then read without a system call
  // each, and the pages stay the kernel's to drop. What maps nothing is read.
  GMimeStream* stream = g_mime_stream_mmap_new(fd, PROT_READ, MAP_PRIVATE);
  return stream != nullptr ? stream : g_mime_stream_fs_new(fd);
}

}  // namespace

void ReadMailFile(const std::string& path, const MailOptions& options, const MessageSink& sink) {
  InitLibraries();
  int fd = open(path.c_str(), O_RDONLY);
  GObjectHandle<GMimeStream> stream(fd < 0 ? nullptr : FileStream(fd));
  if (!stream) {
    MailMessage m;
    m.label = path;
    m.error = fd < 0 ? "cannot open" : "cannot read";
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
