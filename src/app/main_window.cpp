#include "app/main_window.h"

#include <array>
#include <string>

#include "app/control_ranges.h"
#include "app/default_ramp_file.h"
#include "display/display_set.h"
#include "platform/dialogs.h"

namespace lumenor::app {
namespace {

constexpr std::array<Slider, 3> kColourSliders = {Slider::Red, Slider::Green, Slider::Blue};

constexpr std::string_view kMalformedDefaultsLead = "默认数据文件有误：";
constexpr std::string_view kMalformedDefaultsTail = "，只能恢复到本次调置前的状态！";

std::string Decimal(int value) {
  return std::to_string(value);
}

}  // namespace

MainWindow::MainWindow(MainWindowControls& controls, display::DisplaySet& displays,
                       dimming::DarknessRoad& road, platform::Dialogs& dialogs,
                       platform::ProgramFiles& programFiles)
    : controls_(controls),
      road_(road),
      dialogs_(dialogs),
      programFiles_(programFiles),
      displays_(displays) {
  road_.Attach(this);
}

MainWindow::~MainWindow() {
  road_.Attach(nullptr);
}

void MainWindow::ShowRoad(const dimming::RoadShown& shown) {
  std::optional<std::string> label;
  if (shown.applied) label = Decimal(*shown.applied);
  controls_.ShowDarkness(shown.darkness, shown.enhance,
                         label ? std::optional<std::string_view>(*label) : std::nullopt);
}

void MainWindow::Load() {
  displays_.ReadReferences();

  // Range first, then the value: a value outside the old range would otherwise be clamped.
  controls_.SetSliderRange(Slider::Brightness, kBrightnessRange.minimum, kBrightnessRange.maximum);
  controls_.SetSliderValue(Slider::Brightness, kBrightnessRange.neutral);
  controls_.SetSliderRange(Slider::Contrast, kContrastRange.minimum, kContrastRange.maximum);
  controls_.SetSliderValue(Slider::Contrast, kContrastRange.neutral);
  for (Slider colour : kColourSliders) {
    controls_.SetSliderRange(colour, kColourRange.minimum, kColourRange.maximum);
    controls_.SetSliderValue(colour, kColourRange.neutral);
  }

  controls_.SetLabel(ValueLabel::Brightness, Decimal(controls_.SliderValue(Slider::Brightness)));
  controls_.SetLabel(ValueLabel::Contrast, Decimal(controls_.SliderValue(Slider::Contrast)));

  controls_.SetDarknessRange(kDarknessRange.minimum, kDarknessRange.maximum);
  road_.Load();
}

void MainWindow::OnSliderScroll(Slider slider) {
  switch (slider) {
    case Slider::Brightness: {
      const int value = controls_.SliderValue(Slider::Brightness);
      controls_.SetLabel(ValueLabel::Brightness, Decimal(value));
      displays_.ApplyBrightness(static_cast<std::int16_t>(value));
      break;
    }
    case Slider::Contrast: {
      const int value = controls_.SliderValue(Slider::Contrast);
      controls_.SetLabel(ValueLabel::Contrast, Decimal(value));
      displays_.ApplyContrast(static_cast<std::int16_t>(value));
      break;
    }
    case Slider::Red:
    case Slider::Green:
    case Slider::Blue:
      // The colour sliders act on their change notification, which follows every move.
      break;
  }
}

void MainWindow::OnSliderChange(Slider slider) {
  switch (slider) {
    case Slider::Brightness:
    case Slider::Contrast:
      // These two act on scrolling only, so values set by the program do not reach the display.
      break;
    case Slider::Red:
    case Slider::Green:
    case Slider::Blue:
      // Whichever member changed, all three are read.
      displays_.ApplyColours({static_cast<std::int16_t>(controls_.SliderValue(Slider::Red)),
                           static_cast<std::int16_t>(controls_.SliderValue(Slider::Green)),
                           static_cast<std::int16_t>(controls_.SliderValue(Slider::Blue))});
      break;
  }
}

void MainWindow::OnHideClick() {
  controls_.HideWindow();
}

void MainWindow::RestoreDefaults() {
  // The sliders' own change reactions run as for any change of value: non-zero colour sliders
  // write their neutral ramp here, and the final write below decides what the display shows.
  controls_.SetSliderValue(Slider::Brightness, kBrightnessRange.neutral);
  controls_.SetSliderValue(Slider::Contrast, kContrastRange.neutral);
  for (Slider colour : kColourSliders) controls_.SetSliderValue(colour, kColourRange.neutral);

  controls_.SetLabel(ValueLabel::Brightness, Decimal(controls_.SliderValue(Slider::Brightness)));
  controls_.SetLabel(ValueLabel::Contrast, Decimal(controls_.SliderValue(Slider::Contrast)));

  // The bar at 0 with the overlay's update, and each backlight at the level first read from it.
  road_.Take({dimming::Request::Kind::Restore, 0, dimming::Source::Window});

  RestoreReferences(displays_, programFiles_, dialogs_);
}

void RestoreReferences(display::DisplaySet& displays, platform::ProgramFiles& programFiles,
                       platform::Dialogs& dialogs) {
  // Always beside the program, never the working directory. A file that reads becomes every
  // display's reference; without it each display gets its own reference back.
  RampFileOutcome outcome = LoadRampFile(programFiles);
  const GammaRamp* fileRamp = nullptr;
  switch (outcome.status) {
    case RampFileStatus::Read:
      fileRamp = &outcome.ramp;
      break;
    case RampFileStatus::Missing:
      dialogs.ShowMessage(kMissingDefaultsText, kSystemNoticeCaption,
                          platform::MessageIcon::Exclamation);
      break;
    case RampFileStatus::Malformed: {
      // A partly read file is not applied: every reference stays as it was.
      std::string text{kMalformedDefaultsLead};
      text += outcome.problem;
      text += kMalformedDefaultsTail;
      dialogs.ShowMessage(text, kSystemNoticeCaption, platform::MessageIcon::Exclamation);
      break;
    }
  }

  displays.RestoreReferences(fileRamp);
}

}  // namespace lumenor::app
