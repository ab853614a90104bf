// The ledger print accessory of a document: the print panel's "ページ番号" tab when
// ledgers are printed from the information window or the ledger window (numbering per
// ledger or continuous, the start page). The document keeps one for its life; the
// ledger window and the ledger preview read and set its state before any printing
// shows it.
#pragma once

#include <QObject>
#include <QPointer>

class QRadioButton;
class QSpinBox;
class QWidget;

namespace kivo {

class OpenDocument;

class KanjyoumotocyouPrintAccessory : public QObject {
  Q_OBJECT
public:
  // The document's accessory, made on first use.
  static KanjyoumotocyouPrintAccessory* of(OpenDocument* document);
  ~KanjyoumotocyouPrintAccessory() override;

  QWidget* kanjyoumotocyouPrintAccessoryView() const { return view_; }
  // Numbering per ledger, start page 1.
  void resetKanjyoumotocyouPrintAccessoryView();
  bool doPrintContinuousPageNumberOnKanjyoumotocyou() const;
  void setDoPrintContinuousPageNumberOnKanjyoumotocyou(bool continuous);
  int startPrintPageNumberOnKanjyoumotocyou() const;
  void setStartPrintPageNumberOnKanjyoumotocyou(int number);
  // Row 0 numbering per ledger, row 1 continuous.
  void setKanjyoumotocyouPrintAccessoryViewOnStatePageNumberRadioButtonCellRow(int row, int startPageNumber);

private:
  KanjyoumotocyouPrintAccessory();

  QPointer<QWidget> view_;
  QRadioButton* perLedgerNumberingButton_ = nullptr;
  QRadioButton* continuousNumberingButton_ = nullptr;
  QSpinBox* startPageNumberField_ = nullptr;
};

}  // namespace kivo
