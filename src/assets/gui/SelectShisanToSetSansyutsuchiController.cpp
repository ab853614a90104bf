#include "assets/gui/SelectShisanToSetSansyutsuchiController.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "assets/SelectShisanToSetSansyutsuchi.h"
#include "document/gui/OpenDocument.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {

SelectShisanToSetSansyutsuchiController::SelectShisanToSetSansyutsuchiController(OpenDocument* document,
                                                                                 QWidget* parent)
    : SheetController(parent), document_(document)
{
  setWindowTitle(QStringLiteral("算出値の設定"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral("2007年3月31日以前に取得した定額法・定率法の資産の普通償却費に、算出した償却費を設定します。"),
      this));
  onlyZeroFutsuuSyoukyakuhiCheckbox_ = new QCheckBox(QStringLiteral("普通償却費が 0 の資産だけに設定する"), this);
  layout->addWidget(onlyZeroFutsuuSyoukyakuhiCheckbox_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setDefault(true);
  buttons->addWidget(cancelButton_);
  buttons->addWidget(okButton_);
  layout->addLayout(buttons);
  for (QPushButton* b : {okButton_, cancelButton_})
    connect(b, &QPushButton::clicked, this, [this, b] { endSelectShisanToSetSansyutsuchiWindow(b); });
  updateUI();
}

QAbstractButton* SelectShisanToSetSansyutsuchiController::okButton() const { return okButton_; }

void SelectShisanToSetSansyutsuchiController::updateUI() { onlyZeroFutsuuSyoukyakuhiCheckbox_->setChecked(true); }

void SelectShisanToSetSansyutsuchiController::storeChoice()
{
  MyDocument& doc = document_->document();
  const auto rounding =
      static_cast<int32_t>(UserDefaults::standardUserDefaults().integerForKey(KIVOGankasyoukyakuhiRoundingTypeKey));
  const int changed = SelectShisanToSetSansyutsuchi::setSansyutsuchi(doc.genkasyoukyakuShisanArray(),
                                                                     SyoukyakuKikan(doc.kaisya(), rounding),
                                                                     onlyZeroFutsuuSyoukyakuhiCheckbox_->isChecked());
  for (int i = 0; i < changed; ++i) doc.updateChangeCount(MyDocument::ChangeType::Done);
}

}  // namespace kivo
