#include "preview/script_check.h"

#include "lexora2/lexora2.h"
#include "preview/exceptions.h"
#include "preview/unicode_text.h"

CScriptCheck::CScriptCheck() : script_(CreateLXScript()) {
  if (!script_) throw ExceptionBase("Unable to create a Lexora script object.");
}

CScriptCheck::~CScriptCheck() {
  script_->Release();
}

void CScriptCheck::AddLine(const std::u16string& line) {
  text_ += line;
  text_ += u"\r\n";
}

bool CScriptCheck::Compile(std::string& errors) {
  ILXStream* stream = CreateStringStream(text_.data(), static_cast<uint32_t>(text_.size()));
  if (!stream) throw ExceptionBase("Unable to create a Lexora script stream.");
  bool compiled = script_->Compile(stream);
  stream->Release();
  if (compiled) return true;
  std::u16string wide;
  for (uint32_t i = 0; i < script_->GetErrorCount(); ++i) {
    if (const char16_t* error = script_->GetError(i)) wide += error;
    wide += u"\r\n";
  }
  if (!NarrowText(wide, errors)) throw ExceptionBase("Unable convert parse errors from Unicode.");
  return false;
}
