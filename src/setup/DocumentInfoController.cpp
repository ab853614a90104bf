#include "setup/DocumentInfoController.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "document/DocumentController.h"
#include "document/DocumentSession.h"

namespace kivo {

DocumentInfoController::DocumentInfoController(DocumentSession* document)
    : WindowController(document, Kind::DocumentInfo)
{
}

void DocumentInfoController::windowDidLoad()
{
  auto* central = new QWidget(this);
  auto* caption = new QLabel(QStringLiteral("会社名"), central);
  companyField_ = new QLabel(central);
  QFont big = companyField_->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  companyField_->setFont(big);
  termField_ = new QLabel(central);
  auto* closeButton = new QPushButton(QStringLiteral("閉じる"), central);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(28, 24, 28, 20);
  layout->setSpacing(8);
  layout->addWidget(caption);
  layout->addWidget(companyField_);
  layout->addWidget(termField_);
  layout->addStretch();
  layout->addLayout(buttons);
  setCentralWidget(central);
  resize(480, 240);

  // Each document's hub starts a step further down and right than the one before.
  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect v = screen->availableGeometry();
    DocumentController* dc = DocumentController::sharedDocumentController();
    const int step = dc ? static_cast<int>(dc->documents().size()) - 1 : 0;
    move(v.x() + 60 + 21 * std::max(step, 0) % 300, v.y() + 60 + 23 * std::max(step, 0) % 300);
  }
  recomputeUI();
}

QString DocumentInfoController::windowMenuTitle() const { return document()->displayName(); }

void DocumentInfoController::recomputeUI()
{
  if (!companyField_) return;
  const Kaisya& kaisya = document()->document().kaisya();
  companyField_->setText(QString::fromStdString(kaisya.name()));
  termField_->setText(kaisya.isHoujin() ? QStringLiteral("法人") : QStringLiteral("個人"));
}

}  // namespace kivo
