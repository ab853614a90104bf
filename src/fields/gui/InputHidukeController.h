// The date input panel of a document: a month/day of the term (also "13/00" and the
// regular-type voucher date "00/00"), read by the document's date formatter.
#pragma once

#include <optional>

#include "fields/HidukeFormatter.h"
#include "fields/gui/InputPanelController.h"

namespace kivo {

class InputHidukeController : public InputPanelController {
  Q_OBJECT
public:
  explicit InputHidukeController(const MyDocument& document, QWidget* parent = nullptr);

  // The accepted date; nullopt after a reset, when cancelled and when Tab or
  // Back-tab closed an empty panel.
  std::optional<Date> hiduke() const { return hiduke_; }

protected:
  Formatter& formatter() override { return formatter_; }
  void clearValue() override { hiduke_.reset(); }
  void storeValue(const FieldValue& value) override { hiduke_ = value.dateValue(); }

private:
  HidukeFormatter formatter_;
  std::optional<Date> hiduke_;
};

}  // namespace kivo
