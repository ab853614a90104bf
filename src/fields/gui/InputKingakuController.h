// The amount input panel of a document: an amount from 0 to the input limit at the
// company's precision, read exactly into stored units.
#pragma once

#include <cstdint>

#include "fields/AmountFormatter.h"
#include "fields/gui/InputPanelController.h"

namespace kivo {

class InputKingakuController : public InputPanelController {
  Q_OBJECT
public:
  // decimalPrecision: the company's, fixed for the panel's life (a document whose
  // precision changed takes a new panel).
  explicit InputKingakuController(int32_t decimalPrecision, QWidget* parent = nullptr);

  int32_t decimalPrecision() const { return formatter_.decimalPrecision(); }
  // The accepted amount in stored units; -1 when none was accepted.
  int64_t kingaku() const { return kingaku_; }

protected:
  Formatter& formatter() override { return formatter_; }
  void clearValue() override { kingaku_ = -1; }
  void storeValue(const FieldValue& value) override { kingaku_ = value.amountValue(); }

private:
  AmountFormatter formatter_;
  int64_t kingaku_ = -1;
};

}  // namespace kivo
