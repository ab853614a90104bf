// The amount input panel of a document: an amount from 0 to the input limit at the
// company's precision, read exactly into stored units. Tab or Back-tab on an empty
// or unreadable field closes the panel without an amount (kingaku -1).
#pragma once

#include <cstdint>
#include <memory>

#include "fields/AmountFormatter.h"
#include "fields/gui/InputPanelController.h"

namespace kivo {

class MyDocument;

class InputKingakuController : public InputPanelController {
  Q_OBJECT
public:
  explicit InputKingakuController(const MyDocument& document, QWidget* parent = nullptr);

  // The accepted amount in stored units; -1 when none was accepted.
  int64_t kingaku() const { return kingaku_; }

protected:
  Formatter& formatter() override { return *formatter_; }
  // The company's precision may have changed since the last use.
  void prepareFormatter() override;
  void clearValue() override { kingaku_ = -1; }
  void storeValue(const FieldValue& value) override { kingaku_ = value.amountValue(); }
  bool closesWithoutValueOnUnreadableTab() const override { return true; }

private:
  const MyDocument* document_;
  std::unique_ptr<AmountFormatter> formatter_;
  int64_t kingaku_ = -1;
};

}  // namespace kivo
