// The grid of a cash-book window; keys typed on it while no cell is edited are
// posted as "KIVOSuitoucyouViewKeyDown".
#pragma once

#include "entry/gui/EntryGridView.h"

namespace kivo {

class SuitoucyouView : public EntryGridView {
public:
  static constexpr const char* kKeyDownNotification = "KIVOSuitoucyouViewKeyDown";
  explicit SuitoucyouView(QWidget* parent = nullptr) : EntryGridView(kKeyDownNotification, parent) {}
};

}  // namespace kivo
