// A minimal host: compiles a one-line script and scans a sentence with it.
// Prints the library's version and the score; exits 1 when anything fails.
#include <lexora2/lexora2.h>

#include <cstdio>
#include <string>

int main() {
  LXVersionInfo version{};
  LXGetVersionInfo(&version);
  std::printf("lexora2 %u.%u.%u.%u\n", version.major, version.minor, version.release,
              version.build);
  LXInitialize();
  const std::u16string rules = u"[SCORE=7] invoice NEAR=3 overdue";
  const std::u16string text = u"Your invoice is now overdue.";
  ILXScript* script = CreateLXScript();
  ILXStream* source = CreateStringStream(rules.data(), static_cast<uint32_t>(rules.size()));
  bool compiled = script->Compile(source);
  source->Release();
  int status = 1;
  if (compiled) {
    ILXRunner* runner = script->CreateRunner();
    ILXStream* input = CreateStringStream(text.data(), static_cast<uint32_t>(text.size()));
    if (runner->Run(input)) {
      std::printf("score %d\n", runner->GetScore());
      status = runner->GetScore() == 7 ? 0 : 1;
    }
    input->Release();
    runner->Release();
  }
  script->Release();
  LXCleanUp();
  return status;
}
