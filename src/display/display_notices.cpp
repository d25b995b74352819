#include "display/display_notices.h"

#include <algorithm>

#include "display/display_choices.h"
#include "platform/notices.h"

namespace lumenor::display {

DisplayNotices::DisplayNotices(platform::Notices& notices) : notices_(notices) {}

void DisplayNotices::Tell(const OperationOutcome& outcome, std::size_t writtenCount) {
  // The refusal first, then each HDR display not told of before, one line each.
  std::string text;
  if (outcome.refused.empty()) {
    if (outcome.written > 0) refusalTold_ = false;
  } else if (!refusalTold_) {
    // A drag through a refused range refuses every step: one balloon for all of them.
    refusalTold_ = true;
    if (outcome.refused.size() == writtenCount) {
      text = kRampRefusedText;
    } else {
      text = DisplayNames(outcome.refused);
      text += kSomeRefusedTail;
    }
  }
  for (const OperationOutcome::Hdr& hdr : outcome.hdr) {
    if (std::find(hdrTold_.begin(), hdrTold_.end(), *hdr.identity) != hdrTold_.end()) continue;
    hdrTold_.push_back(*hdr.identity);
    if (!text.empty()) text += '\n';
    text += DisplayName(hdr.number);
    text += kHdrTail;
  }
  if (!text.empty()) notices_.Show(platform::kNoticeTitle, text);
}

void DisplayNotices::TellOverwritten(const std::vector<std::size_t>& numbers) {
  if (numbers.empty()) return;
  std::string text(kOverwrittenHead);
  text += DisplayNames(numbers);
  text += kOverwrittenTail;
  notices_.Show(platform::kNoticeTitle, text);
}

}  // namespace lumenor::display
