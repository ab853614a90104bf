#include "document/gui/ProgressStateController.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/ModalSession.h"
#include "platform/WindowController.h"
#include "platform/WindowControllerHost.h"

namespace kivo {
namespace {

constexpr int kBarResolution = 10000;

}  // namespace

ProgressStateController::ProgressStateController(QWidget* parent) : QDialog(parent)
{
  setWindowTitle(QStringLiteral("処理中"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  progressField_ = new QLabel(this);
  QFont bold = progressField_->font();
  bold.setBold(true);
  progressField_->setFont(bold);
  subProgressField_ = new QLabel(this);
  subProgressField_->setMinimumWidth(320);
  progressBar_ = new QProgressBar(this);
  progressBar_->setTextVisible(false);
  progressBar_->setRange(0, kBarResolution);
  progressBar_->setValue(0);
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
  cancelButton_->setAutoDefault(false);
  connect(cancelButton_, &QPushButton::clicked, this, &ProgressStateController::abortProgressStateWindow);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 16, 20, 16);
  layout->addWidget(progressField_);
  layout->addWidget(progressBar_);
  layout->addWidget(subProgressField_);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  layout->addLayout(buttons);
  setFixedWidth(420);
}

ProgressStateController::~ProgressStateController() = default;

void ProgressStateController::setProgressFieldStringValue(const QString& text)
{
  if (joined_ == 0) progressField_->setText(text);
}

void ProgressStateController::setSubProgressFieldStringValue(const QString& text)
{
  if (joined_ == 0) subProgressField_->setText(text);
}

QString ProgressStateController::progressFieldStringValue() const { return progressField_->text(); }

void ProgressStateController::setCancelButtonEnabled(bool enabled)
{
  if (joined_ == 0) cancelButton_->setEnabled(enabled);
}

void ProgressStateController::startProgressIndicatorAnimation()
{
  if (joined_ > 0) return;
  indeterminate_ = true;
  progressBar_->setRange(0, 0);
}

void ProgressStateController::stopProgressIndicatorAnimation()
{
  if (joined_ > 0) return;
  indeterminate_ = false;
  progressBar_->setRange(0, kBarResolution);
  showValue();
}

void ProgressStateController::setProgressIndicatorMaxValue(double maxValue)
{
  if (joined_ > 0) return;
  indeterminate_ = false;
  maxValue_ = maxValue;
  value_ = 0.0;
  progressBar_->setRange(0, kBarResolution);
  showValue();
}

void ProgressStateController::incrementProgressIndicator()
{
  if (joined_ > 0) return;
  value_ += 1.0;
  showValue();
}

void ProgressStateController::setProgressIndicatorValue(double value)
{
  if (joined_ > 0) return;
  value_ = value;
  showValue();
}

void ProgressStateController::showValue()
{
  if (indeterminate_) return;
  const double fraction = maxValue_ > 0.0 ? std::clamp(value_ / maxValue_, 0.0, 1.0) : 0.0;
  progressBar_->setValue(static_cast<int>(std::lround(fraction * kBarResolution)));
}

void ProgressStateController::beginModalSession(QWidget* window)
{
  // Work begun in the middle of other work runs within it: it neither replaces the
  // session, which would stop the other work as if cancelled, nor ends it, and the
  // sheet goes on showing the other work (see joined_).
  if (session_) {
    ++joined_;
    return;
  }
  QWidget* over = window ? window->window() : nullptr;
  // Work for a window the user is not in (a book in the background brought up to
  // date) shows its sheet, if it lasts, over the user's window: a sheet over the other
  // window would bring that window up with it.
  const auto* controller = qobject_cast<const WindowController*>(over);
  if (controller && controller->host() && !controller->isMainWindow())
    if (WindowController* user = controller->host()->userWindowController()) over = user;
  if (over && parentWidget() != over) setParent(over, Qt::Dialog | Qt::Sheet);
  session_ = std::make_unique<ModalSession>(this, ModalSession::Showing::AfterDelay);
  sinceUpdate_.start();
}

ProgressStateController::ModalResponse ProgressStateController::runModalSession()
{
  // Work that cannot be cancelled holds the user's input to its end, its sheet
  // offering nothing; other work hands it to the sheet once the sheet has the keyboard.
  if (session_) session_->setHoldsInput(!cancelButton_->isEnabled());
  return session_ && session_->poll() == ModalSession::Response::Continue ? ModalResponse::Continue
                                                                          : ModalResponse::Aborted;
}

bool ProgressStateController::isDueForUpdate()
{
  if (sinceUpdate_.isValid() && sinceUpdate_.elapsed() < kUpdateInterval) return false;
  sinceUpdate_.start();
  return true;
}

bool ProgressStateController::isModalSessionAborted() const { return !session_ || !session_->isRunning(); }

void ProgressStateController::endModalSession()
{
  if (joined_ > 0) {
    --joined_;
    return;
  }
  session_.reset();
  hide();
  // Not kept by the window it was shown over: the document keeps the sheet.
  if (parentWidget()) setParent(nullptr, Qt::Dialog);
}

void ProgressStateController::beginNamedSteps(QWidget* window, size_t steps)
{
  beginModalSession(window);
  setProgressFieldStringValue(QStringLiteral("計算中"));
  setSubProgressFieldStringValue(QString());
  setCancelButtonEnabled(true);
  setProgressIndicatorMaxValue(static_cast<double>(steps) + 1);
}

bool ProgressStateController::nextNamedStep(const std::string& name)
{
  if (runModalSession() != ModalResponse::Continue) return false;
  setSubProgressFieldStringValue(QString::fromStdString(name));
  incrementProgressIndicator();
  return true;
}

void ProgressStateController::abortProgressStateWindow()
{
  if (!cancelButton_->isEnabled()) return;
  // Ordering the sheet out aborts its session.
  if (session_) session_->abort();
  hide();
}

void ProgressStateController::reject() { abortProgressStateWindow(); }

void ProgressStateController::closeEvent(QCloseEvent* event)
{
  // The sheet goes only through its cancel button, and only while the job allows it.
  event->ignore();
  abortProgressStateWindow();
}

}  // namespace kivo
