// Script text -> Compile, as plain text and in the enciphered form.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/input/transfer_encoding.h"
#include "fuzz/fuzz_support.h"
#include "lexora2/lexora2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static lexora_fuzz::Library library;
  std::u16string text = lexora_fuzz::AsUtf16(data, size);
  for (int pass = 0; pass < 2; ++pass) {
    std::u16string script = pass == 0 ? text : Nimbra::Lexora::EncodeTransfer(text);
    ILXScript* s = CreateLXScript();
    ILXStream* stream = CreateStringStream(script.data(), static_cast<uint32_t>(script.size()));
    if (s->Compile(stream)) {
      uint32_t count = s->GetExpressionCount();
      for (uint32_t i = 0; i <= count; ++i) {
        uint32_t length = 0;
        s->GetExpressionName(i, nullptr, &length);
      }
    } else {
      for (uint32_t i = 0; i < s->GetErrorCount(); ++i) std::u16string(s->GetError(i));
    }
    stream->Release();
    s->Release();
  }
  return 0;
}
