#include "assets/gui/SyoukyakushisanShinkokusyoController.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/gui/OpenDocument.h"
#include "model/Wareki.h"
#include "platform/QtStrings.h"

namespace kivo {

SyoukyakushisanShinkokusyoController::SyoukyakushisanShinkokusyoController(OpenDocument* document, QWidget* parent)
    : SheetController(parent), document_(document)
{
  setWindowTitle(QStringLiteral("償却資産申告書"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("プリントする期間を選択してください。"), this));
  targetYearPopUp_ = new QComboBox(this);
  layout->addWidget(targetYearPopUp_);
  auto* buttons = new QHBoxLayout;
  pageSetupButton_ = new QPushButton(QStringLiteral("用紙設定..."), this);
  buttons->addWidget(pageSetupButton_);
  buttons->addStretch();
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
  okButton_ = new QPushButton(QStringLiteral("プリント..."), this);
  okButton_->setDefault(true);
  buttons->addWidget(cancelButton_);
  buttons->addWidget(okButton_);
  layout->addLayout(buttons);
  for (QPushButton* b : {okButton_, cancelButton_})
    connect(b, &QPushButton::clicked, this, [this, b] { endSheetWithSender(b); });
  connect(pageSetupButton_, &QPushButton::clicked, this, [this] {
    if (pageSetupHandler) pageSetupHandler();
  });
  updateUI();
}

QAbstractButton* SyoukyakushisanShinkokusyoController::okButton() const { return okButton_; }

void SyoukyakushisanShinkokusyoController::updateUI()
{
  const Kaisya& kaisya = document_->document().kaisya();
  const int selected = targetYearPopUp_->currentIndex();
  targetYearPopUp_->clear();
  if (kaisya.termStartDate().isNull() || kaisya.termEndDate().isNull()) return;
  firstYear_ = kaisya.termStartDate().year();
  for (int y = firstYear_; y <= kaisya.termEndDate().year(); ++y) {
    if (kaisya.doUseWareki())
      targetYearPopUp_->addItem(qs(Wareki::warekiDateStringWithJapaneseSeparater(Date(y, 1, 1), true) + "〜" +
                                   Wareki::warekiDateStringWithJapaneseSeparater(Date(y, 12, 31), true)));
    else
      targetYearPopUp_->addItem(QString::asprintf("%d年1月1日〜%d年12月31日", y, y));
  }
  targetYearPopUp_->setCurrentIndex(selected >= 0 && selected < targetYearPopUp_->count() ? selected : 0);
}

void SyoukyakushisanShinkokusyoController::storeChoice()
{
  targetYear_ = firstYear_ + std::max(0, targetYearPopUp_->currentIndex());
}

}  // namespace kivo
