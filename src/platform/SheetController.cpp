#include "platform/SheetController.h"

#include <QAbstractButton>

namespace kivo {

SheetController::SheetController(QWidget* parent) : QDialog(parent) {}

void SheetController::beginSheet(QWidget* window, std::function<void(int)> endHandler)
{
  window_ = window ? window->window() : nullptr;
  endHandler_ = std::move(endHandler);
  // A sheet belongs to its window: parented to it, modal for it alone.
  setParent(window_, windowFlags() | Qt::Sheet | Qt::Dialog);
  setWindowModality(window_ ? Qt::WindowModal : Qt::ApplicationModal);
  attached_ = true;
  show();
  raise();
  activateWindow();
}

void SheetController::endSheetWithSender(QObject* sender)
{
  const bool ok = sender && sender == okButton();
  if (ok) storeChoice();
  finish(ok ? kOK : kCancel);
}

void SheetController::abortSheet() { finish(kCancel); }

void SheetController::reject() { finish(kCancel); }

void SheetController::done(int r)
{
  // QDialog's own accept() and reject() paths end the sheet like the two buttons.
  if (r == QDialog::Accepted)
    endSheetWithSender(okButton());
  else
    finish(kCancel);
}

void SheetController::finish(int returnCode)
{
  if (!attached_) return;
  attached_ = false;
  hide();
  setResult(returnCode);
  std::function<void(int)> handler = std::move(endHandler_);
  endHandler_ = nullptr;
  if (handler) handler(returnCode);
}

SheetController* SheetController::attachedSheet(const QWidget* window)
{
  if (!window) return nullptr;
  for (SheetController* sheet : window->findChildren<SheetController*>(Qt::FindDirectChildrenOnly))
    if (sheet->isSheetAttached()) return sheet;
  return nullptr;
}

}  // namespace kivo
