// The company-properties and master-list sheets: their guards, their refusals with
// the offending row selected, working on copies, and what OK leaves in the books.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>

#include "SetupWindowTest.h"
#include "fields/gui/ModalDriver.h"
#include "platform/PasswordHash.h"
#include "setup/TekiyouListSource.h"
#include "setup/gui/HojyoKamokuListModel.h"
#include "setup/gui/JigyoubuListController.h"
#include "setup/gui/JigyoubuListModel.h"
#include "setup/gui/KamokuListController.h"
#include "setup/gui/KamokuListModel.h"
#include "setup/gui/PropertiesController.h"
#include "setup/gui/TekiyouListController.h"
#include "setup/gui/TekiyouListModel.h"

namespace kivo::test {
namespace {

// An entry window that hands its selected row to the description list.
class StubEntryWindow : public StubWindow, public TekiyouListSource {
public:
  using StubWindow::StubWindow;
  bool getSelectedRowKarikataKamokuCode(int& kari, int& kashi) const override
  {
    kari = 100;
    kashi = 103;
    return true;
  }
  void writeTekiyouStringToPasteboard() override { QGuiApplication::clipboard()->setText(QStringLiteral("切手代")); }
};

class MasterListSheetsTest : public SetupWindowTest {
protected:
  void SetUp() override
  {
    SetupWindowTest::SetUp();
    doc = openBooks();
    info = infoOf(doc);
    ASSERT_TRUE(info);
    activate(info);
  }

  // The sheet the command opens on the window (the information window by default).
  template <class T>
  T* open(Command command, WindowController* window = nullptr)
  {
    app->performCommand(command, nullptr);
    flush();
    return sheetOn<T>(window ? window : info);
  }
  KamokuListController* openKamokuList() { return open<KamokuListController>(Command::ShowKamokuListWindow); }

  DocumentSession* doc = nullptr;
  DocumentInfoController* info = nullptr;
};

TEST_F(MasterListSheetsTest, ListsWaitForTheEntryWindowsAndEachOtherAndCancelDropsTheEditsOfTheCopy)
{
  StubWindow* voucher = addStub(doc, Kind::Furikaedenpyou, QStringLiteral("振替伝票"));
  for (Command c : {Command::ShowPropertiesWindow, Command::ShowKamokuListWindow, Command::ShowJigyoubuListWindow}) {
    alerts.clear();
    activate(info);
    app->performCommand(c, nullptr);
    flush();
    EXPECT_EQ(lastAlert(), QStringLiteral("実行できません / 出納帳、振替伝票、資産管理台帳を閉じてください。"));
    for (DocumentWindowController* w : doc->windowControllers()) EXPECT_FALSE(w->attachedSheetController());
  }
  voucher->close();
  flush();
  alerts.clear();
  activate(info);
  KamokuListController* kamoku = openKamokuList();
  EXPECT_TRUE(alerts.empty());

  // One master-list sheet at a time.
  app->performCommand(Command::ShowJigyoubuListWindow, nullptr);
  flush();
  EXPECT_EQ(lastAlert(),
            QStringLiteral(
                "実行できません / このメッセージを閉じた後、前面に表示されるウインドウのシートを閉じてください。"));
  EXPECT_EQ(info->attachedSheetController(), kamoku);
  // The same command again brings the sheet forward and opens no other.
  alerts.clear();
  EXPECT_EQ(openKamokuList(), kamoku);
  EXPECT_TRUE(alerts.empty());
  KamokuListModel* km = kamoku->kamokuModel();
  const QModelIndex name = km->indexOfKamoku(kamoku->editor().indexOfKamokuCode(100));
  EXPECT_TRUE(km->setData(name, QStringLiteral("手元現金")));
  EXPECT_EQ(doc->document().kamokuOfCode(100)->name(), "現金");
  kamoku->cancelButton()->click();
  flush();
  EXPECT_FALSE(info->attachedSheetController());
  EXPECT_EQ(doc->document().kamokuOfCode(100)->name(), "現金");
  EXPECT_FALSE(doc->isDocumentEdited());
}

TEST_F(MasterListSheetsTest, AccountListRefusesNamingTheOffendingRow)
{
  KamokuListController* kamoku = openKamokuList();
  KamokuListEditor& editor = kamoku->editor();
  KamokuListModel* km = kamoku->kamokuModel();
  const auto cell = [&](int32_t code, int column) { return km->indexOfKamoku(editor.indexOfKamokuCode(code), column); };

  // A duplicate name.
  EXPECT_TRUE(km->setData(cell(201, KamokuListModel::NameColumn), QStringLiteral("売掛金")));
  kamoku->okButton()->click();
  flush();
  EXPECT_EQ(lastAlert(), QStringLiteral("無効な勘定科目 / コード 111 と 201 の勘定科目名「売掛金」が重複しています。"));
  EXPECT_EQ(kamoku->selectedKamokuIndex(), editor.indexOfKamokuCode(201));
  EXPECT_EQ(info->attachedSheetController(), kamoku);
  EXPECT_TRUE(km->setData(cell(201, KamokuListModel::NameColumn), QStringLiteral("買掛金")));

  // The other checks are the editor's own test; the sheet stays on any of them.
  // A typed amount the field refuses, and an account that keeps no balance.
  alerts.clear();
  EXPECT_FALSE(km->setData(cell(103, KamokuListModel::BalanceColumn), QStringLiteral("-5")));
  EXPECT_EQ(lastAlert(), QStringLiteral("無効な勘定科目 / マイナスの金額は入力できません。"));
  EXPECT_FALSE(km->flags(cell(300, KamokuListModel::BalanceColumn)) & Qt::ItemIsEditable);

  EXPECT_TRUE(km->setData(cell(103, KamokuListModel::BalanceColumn), QStringLiteral("1000")));
  EXPECT_TRUE(km->setData(cell(270, KamokuListModel::BalanceColumn), QStringLiteral("1000")));
  alerts.clear();
  kamoku->okButton()->click();
  flush();
  EXPECT_TRUE(alerts.empty()) << lastAlert().toStdString();
  EXPECT_FALSE(info->attachedSheetController());
  EXPECT_EQ(doc->document().kamokuOfCode(103)->startBalanceOfJigyoubuCode(99), 1000);
  EXPECT_TRUE(doc->isDocumentEdited());
}

TEST_F(MasterListSheetsTest, SubAccountsAndOpeningBalancesOfEachDivisionReachTheBooks)
{
  addJigyoubu(doc->document(), 1, "本店");
  addJigyoubu(doc->document(), 2, "支店");
  const MyDocument::DataGeneration before = doc->document().reportDataGeneration();
  KamokuListController* kamoku = openKamokuList();
  KamokuListEditor& editor = kamoku->editor();
  KamokuListModel* km = kamoku->kamokuModel();
  HojyoKamokuListModel* hm = kamoku->hojyoKamokuModel();
  const auto cell = [&](int32_t code) {
    return km->indexOfKamoku(editor.indexOfKamokuCode(code), KamokuListModel::BalanceColumn);
  };
  EXPECT_TRUE(km->setData(km->indexOfKamoku(editor.indexOfKamokuCode(104), KamokuListModel::ActiveColumn), Qt::Checked,
                          Qt::CheckStateRole));
  kamoku->selectKamoku(editor.indexOfKamokuCode(103));
  ASSERT_EQ(kamoku->addHojyoKamoku(), 0);
  ASSERT_EQ(kamoku->addHojyoKamoku(), 1);
  for (const auto& [sub, column, typed] : {std::tuple(0, HojyoKamokuListModel::NameColumn, "みずほ銀行"),
                                           {0, HojyoKamokuListModel::KanaColumn, "mizuho"},
                                           {1, HojyoKamokuListModel::NameColumn, "りそな銀行"}})
    EXPECT_TRUE(hm->setData(hm->index(sub, column), QString::fromUtf8(typed))) << typed;
  // Division 1: 300,000 + 200,000 in the banks; division 2: 100,000 in the first.
  for (const auto& [division, sub, typed] : {std::tuple(1, 0, "300,000"), {1, 1, "200000"}, {2, 0, "100000"}}) {
    kamoku->selectJigyoubuCode(division);
    EXPECT_TRUE(hm->setData(hm->index(sub, HojyoKamokuListModel::BalanceColumn), QString::fromUtf8(typed)));
  }
  for (const auto& [division, typed] : {std::pair(1, "500000"), {2, "100000"}}) {
    kamoku->selectJigyoubuCode(division);
    EXPECT_TRUE(km->setData(cell(103), QString::fromUtf8(typed)));
    EXPECT_TRUE(km->setData(cell(270), QString::fromUtf8(typed)));
  }
  EXPECT_TRUE(alerts.empty()) << lastAlert().toStdString();
  // The company column adds up the divisions and is not typed into.
  kamoku->selectJigyoubuCode(99);
  EXPECT_EQ(std::tuple(km->data(cell(103)).toString(), bool(km->flags(cell(103)) & Qt::ItemIsEditable),
                       kamoku->startBalanceField()->text().contains(QStringLiteral("貸借が一致しています"))),
            std::tuple(QStringLiteral("600,000"), false, true));
  kamoku->okButton()->click();
  flush();
  EXPECT_TRUE(alerts.empty()) << lastAlert().toStdString();
  EXPECT_FALSE(info->attachedSheetController());
  // The report caches are void, as after a change of the journal.
  EXPECT_FALSE(doc->document().reportDataGeneration() == before);
  EXPECT_TRUE(info->startBalanceField()->text().contains(QStringLiteral("貸借が一致しています")));

  const MyDocument& books = doc->document();
  const KamokuPtr futsuu = books.kamokuOfCode(103);
  ASSERT_EQ(futsuu->hojyoKamokuArray().size(), 2u);
  const HojyoKamokuPtr mizuho = futsuu->hojyoKamokuArray()[0];
  EXPECT_EQ(std::tuple(books.kamokuOfCode(104)->isActive(), futsuu->startBalanceOfJigyoubuCode(99), mizuho->kana(),
                       mizuho->startBalanceOfJigyoubuCode(99), futsuu->hojyoKamokuOfCode(2)->name(),
                       books.kamokuOfCode(270)->startBalanceOfJigyoubuCode(2)),
            std::tuple(true, int64_t{600000}, std::string("MIZUHO"), int64_t{400000}, std::string("りそな銀行"),
                       int64_t{100000}));
}

TEST_F(MasterListSheetsTest, DivisionListRefusesDuplicatesAndKeepsDivisionsInUse)
{
  auto* sheet = open<JigyoubuListController>(Command::ShowJigyoubuListWindow);
  JigyoubuListModel* m = sheet->model();
  for (int code : {1, 2}) {
    EXPECT_TRUE(m->setData(m->index(code, JigyoubuListModel::ActiveColumn), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(m->setData(m->index(code, JigyoubuListModel::NameColumn), QStringLiteral("本店")));
  }
  sheet->okButton()->click();
  flush();
  EXPECT_EQ(lastAlert(), QStringLiteral("無効な事業部 / 事業部 01 と 02 の名前「本店」が重複しています。"));
  EXPECT_EQ(sheet->tableView()->currentIndex().row(), 2);
  EXPECT_TRUE(m->setData(m->index(2, JigyoubuListModel::NameColumn), QStringLiteral("支店")));
  EXPECT_TRUE(m->setData(m->index(2, JigyoubuListModel::KanaColumn), QStringLiteral("shiten")));
  sheet->okButton()->click();
  flush();
  EXPECT_EQ(doc->document().numberOfActiveJigyoubu(), 2);
  const JigyoubuPtr shiten = doc->document().jigyoubuArray().back();
  EXPECT_EQ(std::pair(shiten->name(), shiten->kana()), std::pair(std::string("支店"), std::string("SHITEN")));

  addShiwake(doc->document(), kGenkin, -1, 0, -1, 2);
  alerts.clear();
  activate(info);
  sheet = open<JigyoubuListController>(Command::ShowJigyoubuListWindow);
  EXPECT_FALSE(sheet->model()->setData(sheet->model()->index(2, JigyoubuListModel::ActiveColumn), Qt::Unchecked,
                                       Qt::CheckStateRole));
  EXPECT_TRUE(lastAlert().contains(QStringLiteral("事業部「支店」は仕訳で使われているため、無効にできません。")));
}

TEST_F(MasterListSheetsTest, PropertiesEditTheCompanyAndItsPasswordsUnlessTheUserIsLimited)
{
  auto* sheet = open<PropertiesController>(Command::ShowPropertiesWindow);
  sheet->nameField()->setText(QStringLiteral("新テスト商事"));
  sheet->addressField()->setText(QStringLiteral("東京都千代田区"));
  sheet->termNoField()->setText(QStringLiteral("12"));
  sheet->passwordField()->setText(QStringLiteral("secret"));
  sheet->passwordConfirmationField()->setText(QStringLiteral("secrat"));
  sheet->okButton()->click();
  flush();
  EXPECT_EQ(lastAlert(), QStringLiteral("無効な設定 / 確認のために入力したパスワードが一致しません。"));
  EXPECT_EQ(info->attachedSheetController(), sheet);
  sheet->passwordConfirmationField()->setText(QStringLiteral("secret"));
  sheet->okButton()->click();
  flush();
  EXPECT_FALSE(info->attachedSheetController());
  const Kaisya& k = doc->document().kaisya();
  EXPECT_EQ(std::tuple(k.name(), k.address(), k.termNo(), info->companyField()->text()),
            std::tuple(std::string("新テスト商事"), std::string("東京都千代田区"), 12, QStringLiteral("新テスト商事")));
  EXPECT_TRUE(PasswordHash::verify(QStringLiteral("secret"), k.password()));

  // A limited user cannot touch the passwords.
  doc->setWasOpenedByLimitedUserPassword(true);
  sheet = open<PropertiesController>(Command::ShowPropertiesWindow);
  EXPECT_EQ(std::pair(sheet->passwordField()->isEnabled(), sheet->clearPasswordCheckbox()->isEnabled()),
            std::pair(false, false));
  sheet->okButton()->click();
  flush();
  EXPECT_TRUE(PasswordHash::verify(QStringLiteral("secret"), doc->document().kaisya().password()));
}

TEST_F(MasterListSheetsTest, DescriptionListAddsAGroupOfAnAccountAndItsDescriptions)
{
  auto* sheet = open<TekiyouListController>(Command::ShowTekiyouListWindow);
  sheet->newGroupPopUp()->setCurrentText(QStringLiteral("普通預金"));
  ASSERT_EQ(sheet->addGroup(), 1);
  sheet->newTekiyouField()->setText(QStringLiteral("振込手数料"));
  ASSERT_EQ(sheet->addTekiyou(), 0);
  TekiyouListModel* m = sheet->model();
  EXPECT_TRUE(m->setData(m->index(0, TekiyouListModel::KanaColumn), QStringLiteral("furikomi")));
  sheet->okButton()->click();
  flush();
  EXPECT_FALSE(info->attachedSheetController());
  const TekiyouPtr t = doc->document().matchTekiyouKana("FURI", "普通預金", "");
  EXPECT_EQ(t->tekiyou(), "振込手数料");
}

// Return in the new-description field adds the description and leaves the list
// open for its kana; in the empty field Return is the list's OK.
TEST_F(MasterListSheetsTest, DescriptionListReturnAddsThenEnds)
{
  QPointer<TekiyouListController> sheet = open<TekiyouListController>(Command::ShowTekiyouListWindow);
  sheet->newGroupPopUp()->setCurrentText(QStringLiteral("普通預金"));
  ASSERT_EQ(sheet->addGroup(), 1);
  typeReturnIn(sheet->newTekiyouField(), QStringLiteral("振込手数料"));
  ASSERT_TRUE(sheet && info->attachedSheetController() == sheet);
  typeReturnIn(sheet->newTekiyouField(), {});
  EXPECT_FALSE(info->attachedSheetController());
  std::vector<std::string> added;
  for (const auto& g : doc->document().tekiyouGroupArray())
    if (g->name() == "普通預金")
      for (const TekiyouPtr& t : g->tekiyouArray()) added.push_back(t->tekiyou());
  EXPECT_EQ(added, std::vector<std::string>{"振込手数料"});
}

TEST_F(MasterListSheetsTest, DescriptionListFromAnEntryRow)
{
  auto* entry = new StubEntryWindow(doc, Kind::Suitoucyou, QStringLiteral("現金出納帳"));
  doc->addWindowController(entry);
  // The description groups of the row's accounts come first.
  auto genkin = std::make_shared<TekiyouGroup>("現金");
  doc->document().tekiyouGroupArray().push_back(genkin);
  activate(entry);
  QGuiApplication::clipboard()->clear();
  auto* sheet = open<TekiyouListController>(Command::ShowTekiyouListWindow, entry);
  EXPECT_EQ(std::tuple(sheet->blocksDocumentCommands(), sheet->selectedGroup(), sheet->newTekiyouField()->text()),
            std::tuple(false, 1, QStringLiteral("切手代")));
  EXPECT_EQ(sheet->addTekiyou(), 0);
  // The entry window ends the sheet before another opens on it: the edits are dropped.
  sheet->endTekiyouListWindow(nullptr);
  flush();
  EXPECT_FALSE(entry->attachedSheetController());
  EXPECT_TRUE(genkin->tekiyouArray().empty());
}

}  // namespace
}  // namespace kivo::test
