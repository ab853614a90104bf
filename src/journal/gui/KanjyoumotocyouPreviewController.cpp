#include "journal/gui/KanjyoumotocyouPreviewController.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "document/gui/OpenDocument.h"
#include "journal/gui/KanjyoumotocyouPrintAccessory.h"
#include "journal/gui/KanjyoumotocyouPrintView.h"
#include "platform/AlertSheet.h"
#include "platform/ModalSession.h"
#include "platform/PrintPreviewView.h"
#include "platform/QtStrings.h"

namespace kivo {

KanjyoumotocyouPreviewController::KanjyoumotocyouPreviewController(OpenDocument* document)
    : QDialog(nullptr), document_(document)
{
  setWindowTitle(qs("簡易プレビュー"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  pageUpButton_ = new QPushButton(qs("◀ 前のページ"), this);
  pageDownButton_ = new QPushButton(qs("次のページ ▶"), this);
  pageNoField_ = new QSpinBox(this);
  pageNoField_->setButtonSymbols(QAbstractSpinBox::NoButtons);
  pageNoField_->setAlignment(Qt::AlignRight);
  pageNoField_->setMinimumWidth(60);
  pagesField_ = new QLabel(this);
  perLedgerButton_ = new QRadioButton(qs("元帳ごとにページ番号を付ける"), this);
  continuousButton_ = new QRadioButton(qs("通しでページ番号を付ける"), this);
  auto* group = new QButtonGroup(this);
  group->addButton(perLedgerButton_, 0);
  group->addButton(continuousButton_, 1);
  startPageNumberField_ = new QSpinBox(this);
  startPageNumberField_->setRange(1, 99999);
  startPageNumberField_->setButtonSymbols(QAbstractSpinBox::NoButtons);
  startPageNumberField_->setAlignment(Qt::AlignRight);
  startPageNumberField_->setMinimumWidth(70);
  closeButton_ = new QPushButton(qs("閉じる"), this);
  for (QPushButton* b : {pageUpButton_, pageDownButton_, closeButton_}) b->setAutoDefault(false);

  previewView_ = new PrintPreviewView();
  scrollView_ = new QScrollArea(this);
  scrollView_->setWidget(previewView_);
  scrollView_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  scrollView_->setBackgroundRole(QPalette::Dark);
  QPalette dark = scrollView_->palette();
  dark.setColor(QPalette::Dark, QColor(80, 80, 80));
  scrollView_->setPalette(dark);

  auto* strip = new QHBoxLayout();
  strip->addWidget(pageUpButton_);
  strip->addWidget(pageDownButton_);
  strip->addSpacing(8);
  strip->addWidget(new QLabel(qs("ページ"), this));
  strip->addWidget(pageNoField_);
  strip->addWidget(pagesField_);
  strip->addSpacing(16);
  strip->addWidget(perLedgerButton_);
  strip->addWidget(continuousButton_);
  strip->addSpacing(8);
  strip->addWidget(new QLabel(qs("開始ページ番号:"), this));
  strip->addWidget(startPageNumberField_);
  strip->addStretch();
  strip->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addLayout(strip);
  layout->addWidget(scrollView_, 1);

  connect(pageUpButton_, &QPushButton::clicked, this, &KanjyoumotocyouPreviewController::pageUp);
  connect(pageDownButton_, &QPushButton::clicked, this, &KanjyoumotocyouPreviewController::pageDown);
  connect(closeButton_, &QPushButton::clicked, this,
          &KanjyoumotocyouPreviewController::endKanjyoumotocyouPreviewWindow);
  connect(group, &QButtonGroup::idClicked, this, [this](int) { handleClickPageNumberRadioButton(); });
  connect(startPageNumberField_, &QSpinBox::editingFinished, this,
          &KanjyoumotocyouPreviewController::handleStartPageNumberEdited);
  connect(pageNoField_, &QSpinBox::editingFinished, this, &KanjyoumotocyouPreviewController::handlePageNoEdited);
}

KanjyoumotocyouPreviewController::~KanjyoumotocyouPreviewController() = default;

KanjyoumotocyouPreviewController* KanjyoumotocyouPreviewController::previewControllerOfDocument(OpenDocument* document)
{
  using Owned = OpenDocument::OwnedController;
  auto* preview = document->ownedControllerAs<KanjyoumotocyouPreviewController>(Owned::KanjyoumotocyouPreview);
  if (!preview) {
    preview = new KanjyoumotocyouPreviewController(document);
    document->setOwnedController(Owned::KanjyoumotocyouPreview, preview);
  }
  return preview;
}

KanjyoumotocyouPrintAccessory* KanjyoumotocyouPreviewController::accessory() const
{
  return KanjyoumotocyouPrintAccessory::of(document_);
}

int KanjyoumotocyouPreviewController::pageCount() const { return printView_ ? printView_->pageCount() : 0; }

void KanjyoumotocyouPreviewController::runModalForPrintView(KanjyoumotocyouPrintView* printView)
{
  setPrintView(printView);
  {
    ModalSession session(this);
    session_ = &session;
    session.run();
    session_ = nullptr;
  }
  previewView_->setPrintout(nullptr, QSizeF());
  printView_ = nullptr;
}

void KanjyoumotocyouPreviewController::setPrintView(KanjyoumotocyouPrintView* printView)
{
  printView_ = printView;
  updateUI();
}

void KanjyoumotocyouPreviewController::updateUI()
{
  const KanjyoumotocyouPrintAccessory* info = accessory();
  const bool continuous = info->doPrintContinuousPageNumberOnKanjyoumotocyou();
  (continuous ? continuousButton_ : perLedgerButton_)->setChecked(true);
  startPageNumberField_->setValue(info->startPrintPageNumberOnKanjyoumotocyou());
  const int pages = pageCount();
  pagesField_->setText(qs("of %1").arg(pages));
  pageNoField_->setRange(1, std::max(pages, 1));

  previewView_->setZoom(kZoom);
  previewView_->setPrintout(printView_, printView_ ? printView_->paperSize() : QSizeF());

  // As large as the page at 140 %, within the screen, centred.
  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect visible = screen->availableGeometry();
    const QSize view = previewView_->size();
    const int frameW = scrollView_->frameWidth() * 2 + scrollView_->verticalScrollBar()->sizeHint().width();
    const QSize extra = sizeHint() - scrollView_->sizeHint();
    const int width = std::min(view.width() + frameW + std::max(extra.width(), 16), visible.width());
    const int height = std::min(view.height() + frameW + std::max(extra.height(), 60), visible.height() - 40);
    resize(width, height);
    move(visible.x() + (visible.width() - width) / 2, visible.y() + (visible.height() - height) / 2);
  }
  updateUIForPage(1);
  scrollView_->verticalScrollBar()->setValue(0);
}

void KanjyoumotocyouPreviewController::updateUIForPage(int pageNo)
{
  pageNo_ = pageNo;
  pageNoField_->setValue(pageNo);
  previewView_->setPage(pageNo - 1);
}

void KanjyoumotocyouPreviewController::pageUp()
{
  if (pageNo_ <= 1) {
    AlertSheet::beep();
    return;
  }
  updateUIForPage(pageNo_ - 1);
}

void KanjyoumotocyouPreviewController::pageDown()
{
  if (pageNo_ >= pageCount()) {
    AlertSheet::beep();
    return;
  }
  updateUIForPage(pageNo_ + 1);
}

void KanjyoumotocyouPreviewController::handleClickPageNumberRadioButton()
{
  accessory()->setDoPrintContinuousPageNumberOnKanjyoumotocyou(!perLedgerButton_->isChecked());
  updateUIForPage(pageNo_);
}

void KanjyoumotocyouPreviewController::handleStartPageNumberEdited()
{
  KanjyoumotocyouPrintAccessory* info = accessory();
  if (startPageNumberField_->value() == info->startPrintPageNumberOnKanjyoumotocyou()) return;
  info->setStartPrintPageNumberOnKanjyoumotocyou(startPageNumberField_->value());
  updateUIForPage(pageNo_);
}

void KanjyoumotocyouPreviewController::handlePageNoEdited()
{
  const int page = pageNoField_->value();
  if (page != pageNo_ && page >= 1 && page <= pageCount()) updateUIForPage(page);
}

void KanjyoumotocyouPreviewController::endKanjyoumotocyouPreviewWindow()
{
  // Hiding the window ends its modal run.
  hide();
}

void KanjyoumotocyouPreviewController::reject() { endKanjyoumotocyouPreviewWindow(); }

void KanjyoumotocyouPreviewController::closeEvent(QCloseEvent* event)
{
  event->accept();
  endKanjyoumotocyouPreviewWindow();
}

}  // namespace kivo
