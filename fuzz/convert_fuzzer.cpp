// LXConvertLine with random lines, scores, weightings and buffer sizes,
// too small ones included.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static lexora_fuzz::Library library;
  if (size < 12) return 0;
  int32_t score, weighting;
  uint16_t outputSize, messageSize;
  std::memcpy(&score, data, 4);
  std::memcpy(&weighting, data + 4, 4);
  std::memcpy(&outputSize, data + 8, 2);
  std::memcpy(&messageSize, data + 10, 2);
  std::u16string line = lexora_fuzz::AsUtf16(data + 12, size - 12);
  line.push_back(0);
  std::vector<char16_t> output(outputSize % 512), message(messageSize % 512);
  uint32_t outputLength = static_cast<uint32_t>(output.size());
  uint32_t messageLength = static_cast<uint32_t>(message.size());
  int32_t result =
      LXConvertLine(line.c_str(), score, weighting % 6, output.empty() ? nullptr : output.data(),
                    &outputLength, message.empty() ? nullptr : message.data(), &messageLength);
  if (result < 0 || result > 3) __builtin_trap();
  if (result == 3) {
    output.assign(outputLength + 1, 0);
    message.assign(messageLength + 1, 0);
    outputLength = static_cast<uint32_t>(output.size());
    messageLength = static_cast<uint32_t>(message.size());
    result = LXConvertLine(line.c_str(), score, weighting % 6, output.data(), &outputLength,
                           message.data(), &messageLength);
    if (result == 3) __builtin_trap();  // the sizes it asked for must do
  }
  return 0;
}
