// The base of the company-properties sheet and the master-list sheets: a sheet of one
// document with OK and キャンセル. OK ends the sheet only when the sheet's checks pass
// (a refused check has shown its alert); the sheet then writes its copy back
// (storeChoice) and is deleted once it has ended.
#pragma once

#include <QPointer>
#include <QPushButton>
#include <functional>

#include "platform/SheetController.h"

class QHBoxLayout;

namespace kivo {

class OpenDocument;

class ListSheetController : public SheetController {
  Q_OBJECT
public:
  explicit ListSheetController(OpenDocument* document);

  OpenDocument* document() const { return document_; }
  // Begins the sheet on the window; the sheet deletes itself after it ends.
  void beginSheetOnWindow(QWidget* window);

  QPushButton* okButton() const override { return okButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }

  void okAction();
  void cancelAction();

protected:
  // The checks of OK; false after the sheet showed why.
  virtual bool validateChoice() { return true; }
  // An alert sheet on this sheet; `after` runs when it is dismissed.
  void showRefusal(const QString& title, const QString& message, std::function<void()> after = {});
  // The row of キャンセル and OK at the bottom of the sheet.
  QHBoxLayout* makeButtonRow();
  // QDialog's accept goes through the checks of OK as well.
  void done(int r) override;
  // After the company record or a master list changed: as after a change of the
  // journal, plus the menus that list accounts and the information window.
  void documentDidChangeMasterList();

private:
  OpenDocument* document_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace kivo
