#include "engine/debug/command_arguments.h"

#include <charconv>
#include <sstream>
#include <string_view>

#include "engine/base/exceptions.h"

namespace Nimbra::Lexora {
namespace {

uint32_t ParseNumber(std::string_view digits, int base, const std::string& word) {
  uint32_t value = 0;
  const char* end = digits.data() + digits.size();
  auto [stop, error] = std::from_chars(digits.data(), end, value, base);
  if (digits.empty() || error != std::errc() || stop != end) {
    throw RuntimeError(u"Invalid number: %s", word);
  }
  return value;
}

std::vector<std::string> Words(const std::string& argument) {
  std::istringstream in(argument);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

}  // namespace

uint32_t HexArgument(const std::string& argument) {
  std::vector<std::string> words = Words(argument);
  if (words.size() != 1) throw RuntimeError(u"Invalid number: %s", argument);
  std::string_view digits = words[0];
  if (digits.starts_with("0x") || digits.starts_with("0X")) digits.remove_prefix(2);
  return ParseNumber(digits, 16, words[0]);
}

std::vector<uint32_t> DecimalArguments(const std::string& argument, size_t most) {
  std::vector<std::string> words = Words(argument);
  if (words.size() > most) throw RuntimeError(u"Invalid number: %s", argument);
  std::vector<uint32_t> numbers;
  for (const std::string& word : words) numbers.push_back(ParseNumber(word, 10, word));
  return numbers;
}

}  // namespace Nimbra::Lexora
