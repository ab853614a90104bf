// The division-list sheet (事業部): the 99 division slots, codes 00 to 98, each with
// whether it is in use, its name and its kana key. It edits a copy; OK writes it back
// after its checks and voids the report caches.
#pragma once

#include <memory>

#include "setup/JigyoubuListEditor.h"
#include "setup/gui/ListSheetController.h"

class QTableView;

namespace kivo {

class JigyoubuListModel;

class JigyoubuListController : public ListSheetController {
  Q_OBJECT
public:
  explicit JigyoubuListController(OpenDocument* document);
  ~JigyoubuListController() override;

  bool blocksDocumentCommands() const override { return true; }

  JigyoubuListEditor& editor() { return *editor_; }
  JigyoubuListModel* model() const { return model_; }
  QTableView* tableView() const { return tableView_; }

protected:
  bool validateChoice() override;
  void storeChoice() override;

private:
  std::unique_ptr<JigyoubuListEditor> editor_;
  JigyoubuListModel* model_;
  QTableView* tableView_;
};

}  // namespace kivo
