#include "setup/NewDocumentController.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "document/DocumentController.h"
#include "document/DocumentSession.h"

namespace kivo {

NewDocumentController::NewDocumentController(DocumentSession* document)
    : WindowController(document, Kind::NewDocument)
{
}

void NewDocumentController::windowDidLoad()
{
  auto* central = new QWidget(this);
  auto* heading = new QLabel(QStringLiteral("新規書類"), central);
  QFont big = heading->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  heading->setFont(big);
  auto* name = new QLabel(document()->displayName(), central);
  auto* note = new QLabel(QStringLiteral("この書類にはまだ会社が設定されていません。"), central);
  auto* closeButton = new QPushButton(QStringLiteral("閉じる"), central);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(28, 24, 28, 20);
  layout->setSpacing(8);
  layout->addWidget(heading);
  layout->addWidget(name);
  layout->addWidget(note);
  layout->addStretch();
  layout->addLayout(buttons);
  setCentralWidget(central);
  resize(480, 240);

  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect v = screen->availableGeometry();
    DocumentController* dc = DocumentController::sharedDocumentController();
    const int step = dc ? std::max(static_cast<int>(dc->documents().size()) - 1, 0) : 0;
    move(v.x() + 60 + 21 * step % 300, v.y() + 60 + 23 * step % 300);
  }
}

QString NewDocumentController::windowMenuTitle() const { return document()->displayName(); }

QString NewDocumentController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
  return QStringLiteral("新規書類 - ") + displayName;
}

}  // namespace kivo
