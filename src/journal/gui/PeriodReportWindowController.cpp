#include "journal/gui/PeriodReportWindowController.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QProgressBar>
#include <QToolButton>
#include <algorithm>

#include "document/MyDocument.h"
#include "document/gui/OpenDocument.h"
#include "fields/gui/InputHidukeController.h"
#include "journal/gui/CyouhyouTableView.h"
#include "journal/gui/PeriodController.h"
#include "platform/AlertSheet.h"
#include "platform/KeyCharacter.h"
#include "platform/QtStrings.h"

namespace kivo {

PeriodReportWindowController::PeriodReportWindowController(OpenDocument* document, Kind kind)
    : DocumentWindowController(document, kind)
{
  displayPeriodToMonthArrayIndex_ = static_cast<int32_t>(document->document().kaisya().monthArray().size());
  keyDownConnection_ = connect(&NotificationCenter::defaultCenter(), &NotificationCenter::notificationPosted, this,
                               [this](const NotificationCenter::Notification& n) { handleTableViewKeyDown(n); });
  setMinimumSize(480, 240);
}

PeriodReportWindowController::~PeriodReportWindowController() { stopTableViewKeyDown(); }

void PeriodReportWindowController::stopTableViewKeyDown() { disconnect(keyDownConnection_); }

void PeriodReportWindowController::moveWindowToInitialPositionWithDisplay(bool display)
{
  loadWindowIfNeeded();
  WindowController::moveWindowToInitialPositionWithDisplay(display);
}

// --- "機能" menu

QAction* PeriodReportWindowController::functionMenuAction(const QString& title)
{
  for (QAction* a : functionMenuActions())
    if (a && a->text() == title) return a;
  return nullptr;
}

QAction* PeriodReportWindowController::addFunctionMenuAction(const char* title, std::function<void()> run,
                                                             const QKeySequence& shortcut)
{
  auto* a = new QAction(qs(title), this);
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  a->setShortcutContext(Qt::WindowShortcut);
  connect(a, &QAction::triggered, this, [this, a, run = std::move(run)] {
    validateMenuItems();
    if (!a->isEnabled()) {
      AlertSheet::beep();
      return;
    }
    run();
  });
  functionActions_.push_back(a);
  return a;
}

void PeriodReportWindowController::fillFunctionMenu(QMenu* menu)
{
  for (QAction* a : functionMenuActions()) {
    if (a)
      menu->addAction(a);
    else
      menu->addSeparator();
  }
  connect(menu, &QMenu::aboutToShow, this, &PeriodReportWindowController::validateMenuItems, Qt::UniqueConnection);
  validateMenuItems();
}

// --- building the strip

QLineEdit* PeriodReportWindowController::makeSelectionField(QWidget* parent, int characters)
{
  auto* field = new QLineEdit(parent);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  field->setFixedWidth(parent->fontMetrics().averageCharWidth() * characters);
  return field;
}

QToolButton* PeriodReportWindowController::makeSelectButton(QWidget* parent, const QString& tip)
{
  auto* b = new QToolButton(parent);
  b->setText(QStringLiteral("…"));
  b->setToolTip(tip);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

void PeriodReportWindowController::makePeriodStripWidgets(QWidget* stripView, int fieldCharacters)
{
  displayingPeriodFromField_ = makeSelectionField(stripView, fieldCharacters);
  displayingPeriodToField_ = makeSelectionField(stripView, fieldCharacters);
  selectDisplayingPeriodButton_ = makeSelectButton(stripView, QStringLiteral("表示する期間を選ぶ"));
  progressIndicator_ = new QProgressBar(stripView);
  progressIndicator_->setRange(0, 0);
  progressIndicator_->setTextVisible(false);
  progressIndicator_->setFixedSize(60, 10);
  progressIndicator_->hide();
}

void PeriodReportWindowController::addPeriodStripWidgets(QHBoxLayout* strip, QWidget* stripView)
{
  strip->addWidget(new QLabel(QStringLiteral("期間:"), stripView));
  strip->addWidget(displayingPeriodFromField_);
  strip->addWidget(new QLabel(QStringLiteral("〜"), stripView));
  strip->addWidget(displayingPeriodToField_);
  strip->addWidget(selectDisplayingPeriodButton_);
  strip->addStretch(1);
  strip->addWidget(progressIndicator_);
}

void PeriodReportWindowController::watchStripFields(std::initializer_list<QLineEdit*> fields)
{
  for (QLineEdit* f : fields) {
    f->installEventFilter(this);
    stripFields_.push_back(f);
  }
}

// --- the strip's fields

QColor PeriodReportWindowController::selectedTextBackgroundColor() { return QColor(181, 213, 255); }

void PeriodReportWindowController::paintTextFieldHighlight(bool active)
{
  for (QLineEdit* f : stripFields_) {
    QPalette p = f->palette();
    p.setColor(QPalette::Base, active && f == selectedTextField() ? selectedTextBackgroundColor() : QColor(Qt::white));
    f->setPalette(p);
  }
}

QLineEdit* PeriodReportWindowController::selectedTextField() const
{
  if (indexOfSelectedTextField_ < 0 || indexOfSelectedTextField_ >= static_cast<int>(textFieldArray_.size()))
    return nullptr;
  return textFieldArray_[static_cast<size_t>(indexOfSelectedTextField_)];
}

void PeriodReportWindowController::selectTextField(QLineEdit* field)
{
  const auto it = std::find(textFieldArray_.begin(), textFieldArray_.end(), field);
  if (it == textFieldArray_.end() || field == selectedTextField()) return;
  indexOfSelectedTextField_ = static_cast<int>(it - textFieldArray_.begin());
  paintTextFieldHighlight(true);
}

void PeriodReportWindowController::setDisplayingPeriodFieldValue()
{
  const std::vector<Month>& months = document()->document().kaisya().monthArray();
  const int32_t count = static_cast<int32_t>(months.size());
  displayPeriodFromMonthArrayIndex_ = std::clamp(displayPeriodFromMonthArrayIndex_, 0, count);
  displayPeriodToMonthArrayIndex_ = std::clamp(displayPeriodToMonthArrayIndex_, 0, count);
  const auto name = [&](int32_t index) {
    return index == count ? qs(PeriodController::kKessanSeiridukiName)
                          : QString::fromStdString(months[static_cast<size_t>(index)].name());
  };
  displayingPeriodFromField_->setText(name(displayPeriodFromMonthArrayIndex_));
  displayingPeriodToField_->setText(name(displayPeriodToMonthArrayIndex_));
}

bool PeriodReportWindowController::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::MouseButtonPress) {
    if (auto* field = qobject_cast<QLineEdit*>(watched)) selectTextField(field);
  }
  return WindowController::eventFilter(watched, event);
}

void PeriodReportWindowController::windowDidBecomeKey() { paintTextFieldHighlight(true); }

// --- commands

void PeriodReportWindowController::closeAttachedSheet()
{
  if (auto* sheet = qobject_cast<PeriodController*>(attachedSheetController())) sheet->abortPeriodWindow();
}

void PeriodReportWindowController::showInputHidukeWindowForTextField(QLineEdit* field, const QString& initialInput)
{
  if (field != displayingPeriodFromField_ && field != displayingPeriodToField_) return;
  using Owned = OpenDocument::OwnedController;
  auto* panel = document()->ownedControllerAs<InputHidukeController>(Owned::InputHiduke);
  if (!panel) {
    panel = new InputHidukeController(document()->document());
    document()->setOwnedController(Owned::InputHiduke, panel);
  }
  panel->resetTextFieldWithString(initialInput);
  panel->setWindowFrameOriginByFrameTopLeftPoint(field->mapToGlobal(QPoint(0, 0)),
                                                 InputPanelController::Anchor::WindowTopLeft);
  panel->runModal(field->window());
  const uint16_t stop = panel->stopModalChar();
  if ((stop != 3 && stop != 13 && stop != 9 && stop != 25) || !panel->hiduke()) return;
  setPeriodFieldToDate(field, *panel->hiduke());
}

void PeriodReportWindowController::setPeriodFieldToDate(QLineEdit* field, Date date)
{
  const std::vector<Month>& months = document()->document().kaisya().monthArray();
  int32_t index = -1;
  if (date == Date::kessanSeiridukiDate()) {
    index = static_cast<int32_t>(months.size());
  } else {
    for (size_t i = 0; i < months.size(); ++i) {
      if (Journal::compareDate(months[i].startDate(), date) <= 0 &&
          Journal::compareDate(months[i].endDate(), date) >= 0) {
        index = static_cast<int32_t>(i);
        break;
      }
    }
  }
  if (index < 0) return;
  if (field == displayingPeriodFromField_) {
    if (index == displayPeriodFromMonthArrayIndex_) return;
    displayPeriodFromMonthArrayIndex_ = index;
    if (displayPeriodToMonthArrayIndex_ < index) displayPeriodToMonthArrayIndex_ = index;
  } else if (field == displayingPeriodToField_) {
    if (index == displayPeriodToMonthArrayIndex_) return;
    displayPeriodToMonthArrayIndex_ = index;
    if (displayPeriodFromMonthArrayIndex_ > index) displayPeriodFromMonthArrayIndex_ = index;
  } else {
    return;
  }
  updateUI(true);
}

void PeriodReportWindowController::handleTableViewKeyDown(const NotificationCenter::Notification& notification)
{
  if (notification.name != qs(CyouhyouTableView::kKeyDownNotification) || !notification.event) return;
  if (!isOwnTableView(notification.object) || !isMainWindow()) return;
  const uint16_t c = KeyCharacter::of(*notification.event);
  const int count = static_cast<int>(textFieldArray_.size());
  QLineEdit* field = selectedTextField();
  switch (c) {
  case 3:
  case 13: openSelectedRow(); return;
  case 32: spaceOnTableView(); return;
  case 9:
    if (count > 0) selectTextField(textFieldArray_[static_cast<size_t>((indexOfSelectedTextField_ + 1) % count)]);
    return;
  case 25:
    if (count > 0)
      selectTextField(textFieldArray_[static_cast<size_t>((indexOfSelectedTextField_ + count - 1) % count)]);
    return;
  case 127:
    if (field) deleteOnTextField(field);
    return;
  default: break;
  }
  const bool letterOrDigit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (!letterOrDigit || !field) return;
  const QString typed(QChar(static_cast<char16_t>(c)));
  if (!typeOnTextField(field, typed)) showInputHidukeWindowForTextField(field, typed);
}

}  // namespace kivo
