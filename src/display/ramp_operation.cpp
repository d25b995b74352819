#include "display/ramp_operation.h"

namespace lumenor::display {

bool ApplyOperation(GammaAdjuster& ramps, const RampOperation& operation) {
  switch (operation.kind) {
    case RampOperation::Kind::None:
      return true;
    case RampOperation::Kind::Brightness:
      return ramps.ApplyBrightness(operation.value);
    case RampOperation::Kind::Contrast:
      return ramps.ApplyContrast(operation.value);
    case RampOperation::Kind::Colours:
      return ramps.ApplyColours(operation.colours);
    case RampOperation::Kind::Reference:
      return ramps.ApplySaved();
  }
  return true;
}

}  // namespace lumenor::display
