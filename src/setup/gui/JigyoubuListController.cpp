#include "setup/gui/JigyoubuListController.h"

#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTableView>
#include <QVBoxLayout>

#include "document/gui/OpenDocument.h"
#include "platform/AlertSheet.h"
#include "platform/QtStrings.h"
#include "setup/gui/JigyoubuListModel.h"

namespace kivo {

JigyoubuListController::JigyoubuListController(OpenDocument* document)
    : ListSheetController(document), editor_(std::make_unique<JigyoubuListEditor>(document->document()))
{
  setWindowTitle(qs("事業部"));
  auto* heading = new QLabel(qs("事業部"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.25);
  heading->setFont(bold);
  auto* note = new QLabel(
      qs("使う事業部に印を付けて、名前を入力してください。事業部を使うと、開始残高は事業部ごとに入力します。"), this);
  note->setWordWrap(true);

  model_ = new JigyoubuListModel(*editor_, this);
  tableView_ = new QTableView(this);
  tableView_->setModel(model_);
  tableView_->setAlternatingRowColors(true);
  tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
  tableView_->verticalHeader()->setVisible(false);
  tableView_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
  tableView_->horizontalHeader()->setSectionResizeMode(JigyoubuListModel::NameColumn, QHeaderView::Stretch);
  tableView_->setColumnWidth(JigyoubuListModel::CodeColumn, 64);
  tableView_->setColumnWidth(JigyoubuListModel::ActiveColumn, 52);
  tableView_->setColumnWidth(JigyoubuListModel::KanaColumn, 170);
  connect(model_, &JigyoubuListModel::refused, this,
          [this](const QString& title, const QString& message) { showRefusal(title, message); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 16);
  layout->setSpacing(10);
  layout->addWidget(heading);
  layout->addWidget(note);
  layout->addWidget(tableView_, 1);
  layout->addLayout(makeButtonRow());
  resize(560, 560);
}

JigyoubuListController::~JigyoubuListController() = default;

bool JigyoubuListController::validateChoice()
{
  const JigyoubuListEditor::Refusal refusal = editor_->validate();
  if (!refusal.isRefused()) return true;
  const QModelIndex idx = model_->index(refusal.slot, JigyoubuListModel::NameColumn);
  tableView_->setCurrentIndex(idx);
  tableView_->scrollTo(idx);
  showRefusal(qs(JigyoubuListEditor::kInvalidTitle), QString::fromStdString(refusal.message));
  return false;
}

void JigyoubuListController::storeChoice()
{
  OpenDocument* doc = document();
  const int32_t moved = editor_->writeBack(doc->document());
  documentDidChangeMasterList();
  if (moved >= 0) {
    // Said once this sheet has gone.
    JigyoubuPtr j = doc->document().matchJigyoubuCode(QString::asprintf("%02d", moved).toStdString());
    const QString message = qs("これまでの開始残高を、事業部「%1」の開始残高にしました。")
                                .arg(j ? QString::fromStdString(j->name()) : QString::number(moved));
    QPointer<QWidget> window = sheetWindow();
    QMetaObject::invokeMethod(
        doc, [window, message] { AlertSheet::beginAlertSheet(window, qs("開始残高"), message); }, Qt::QueuedConnection);
  }
}

}  // namespace kivo
