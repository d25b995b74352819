#include "display/reset_rewrites.h"

namespace lumenor::display {

ResetRewrites::ResetRewrites(platform::Timer& timer) : timer_(timer) {}

void ResetRewrites::Start() {
  due_ = Due::First;
  timer_.Start(kFirstRewriteDelayMs);
}

bool ResetRewrites::OnTimer() {
  switch (due_) {
    case Due::None:
      timer_.Stop();
      return false;
    case Due::First:
      due_ = Due::Second;
      timer_.Start(kSecondRewriteDelayMs);
      return true;
    case Due::Second:
      due_ = Due::None;
      timer_.Stop();
      return true;
  }
  return false;
}

}  // namespace lumenor::display
