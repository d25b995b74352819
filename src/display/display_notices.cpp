#include "display/display_notices.h"

#include <algorithm>

#include "display/display_choices.h"
#include "platform/notices.h"

namespace lumenor::display {

DisplayNotices::DisplayNotices(platform::Notices& notices) : notices_(notices) {}

void DisplayNotices::Tell(const OperationOutcome& outcome, std::size_t writtenCount) {
  std::vector<std::string> told;
  for (const OperationOutcome::Hdr& hdr : outcome.hdr) {
    if (std::find(hdrTold_.begin(), hdrTold_.end(), hdr.identity) != hdrTold_.end()) continue;
    hdrTold_.push_back(hdr.identity);
    told.push_back(DisplayName(hdr.number) + std::string(kHdrTail));
  }
  if (outcome.refused.empty()) {
    if (outcome.written > 0) refusalTold_ = false;
  } else if (!refusalTold_) {
    // A drag through a refused range refuses every step: one balloon for all of them.
    refusalTold_ = true;
    told.insert(told.begin(), outcome.refused.size() == writtenCount
                                  ? std::string(kRampRefusedText)
                                  : DisplayNames(outcome.refused) + std::string(kSomeRefusedTail));
  }
  if (told.empty()) return;
  std::string text = told.front();
  for (std::size_t k = 1; k < told.size(); ++k) text += "\n" + told[k];
  notices_.Show(platform::kNoticeTitle, text);
}

void DisplayNotices::TellOverwritten(const std::vector<std::size_t>& numbers) {
  if (numbers.empty()) return;
  notices_.Show(platform::kNoticeTitle, std::string(kOverwrittenHead) + DisplayNames(numbers) +
                                            std::string(kOverwrittenTail));
}

}  // namespace lumenor::display
