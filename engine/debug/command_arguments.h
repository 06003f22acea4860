// Numbers in command arguments. Anything but an unsigned number that fits
// in 32 bits is refused with RuntimeError "Invalid number: %s".
#ifndef LEXORA_ENGINE_DEBUG_COMMAND_ARGUMENTS_H
#define LEXORA_ENGINE_DEBUG_COMMAND_ARGUMENTS_H

#include <cstdint>
#include <string>
#include <vector>

namespace Nimbra::Lexora {

// A code address in hexadecimal, with or without "0x".
uint32_t HexArgument(const std::string& argument);
// The decimal numbers of an argument, separated by white space; at most
// `most` of them.
std::vector<uint32_t> DecimalArguments(const std::string& argument, size_t most);

}  // namespace Nimbra::Lexora

#endif  // LEXORA_ENGINE_DEBUG_COMMAND_ARGUMENTS_H
