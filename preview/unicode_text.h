// Narrow text in the preview is UTF-8; the engine takes UTF-16.
#ifndef LXPREVIEW_UNICODE_TEXT_H
#define LXPREVIEW_UNICODE_TEXT_H

#include <string>

// Ill-formed bytes become U+FFFD, as the system's widening does.
std::u16string WidenText(const std::string& text);
// False when the text holds an unpaired surrogate.
bool NarrowText(const std::u16string& text, std::string& narrow);
// The key under which names compare without regard to case.
std::string CaseFoldedText(const std::string& text);
bool EqualsIgnoringCase(const std::string& a, const std::string& b);
std::string LowerCaseText(const std::string& text);
std::string UpperCaseText(const std::string& text);

#endif  // LXPREVIEW_UNICODE_TEXT_H
