// The grid of the transfer-voucher window; keys typed on it while no cell is edited
// are posted as "KIVOFurikaedenpyouViewKeyDown".
#pragma once

#include "entry/gui/EntryGridView.h"

namespace kivo {

class FurikaedenpyouView : public EntryGridView {
public:
  static constexpr const char* kKeyDownNotification = "KIVOFurikaedenpyouViewKeyDown";
  explicit FurikaedenpyouView(QWidget* parent = nullptr) : EntryGridView(kKeyDownNotification, parent) {}
};

}  // namespace kivo
