// A new corporation set up through its windows, as a user would: the new-document
// window, divisions, accounts with sub-accounts and opening balances, descriptions;
// then saved, reopened and read back through the document's queries.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeView>

#include "SetupWindowTest.h"
#include "setup/gui/HojyoKamokuListModel.h"
#include "setup/gui/JigyoubuListController.h"
#include "setup/gui/JigyoubuListModel.h"
#include "setup/gui/KamokuListController.h"
#include "setup/gui/KamokuListModel.h"
#include "setup/gui/NewDocumentController.h"
#include "setup/gui/TekiyouListController.h"
#include "setup/gui/TekiyouListModel.h"

namespace kivo::test {
namespace {

class SetupScriptTest : public SetupWindowTest {};

TEST_F(SetupScriptTest, ACorporationFromItsNewDocumentWindowToItsReopenedFile)
{
  DocumentSession* doc = app->documentController()->newDocument();
  flush();
  auto* newDocument = qobject_cast<NewDocumentController*>(doc->firstWindowControllerOfKind(Kind::NewDocument));
  ASSERT_TRUE(newDocument);
  EXPECT_TRUE(newDocument->isVisible());

  // --- the company and its term
  newDocument->nameField()->setText(QStringLiteral("株式会社キボサバン"));
  newDocument->houjinButton()->setChecked(true);
  newDocument->termNoField()->setText(QStringLiteral("1"));
  newDocument->termStartDateField()->setText(QStringLiteral("2024/4/1"));
  newDocument->termEndDateField()->setText(QStringLiteral("2025/3/31"));
  newDocument->decimalPrecisionPopUp()->setCurrentIndex(0);
  EXPECT_TRUE(newDocument->kaisyahouChartButton()->isChecked());
  newDocument->okButton()->click();
  flush();
  EXPECT_TRUE(alerts.empty()) << lastAlert().toStdString();
  EXPECT_FALSE(doc->firstWindowControllerOfKind(Kind::NewDocument));
  DocumentInfoController* info = infoOf(doc);
  ASSERT_TRUE(info);
  EXPECT_TRUE(info->isVisible());
  EXPECT_TRUE(doc->isDocumentEdited());
  EXPECT_EQ(info->companyField()->text(), QStringLiteral("株式会社キボサバン"));
  EXPECT_TRUE(info->termField()->text().startsWith(QStringLiteral("第1期　2024年4月1日 〜 2025年3月31日")));

  // --- two divisions
  click(info, Command::ShowJigyoubuListWindow);
  auto* jigyoubu = sheetOn<JigyoubuListController>(info);
  ASSERT_TRUE(jigyoubu);
  JigyoubuListModel* jm = jigyoubu->model();
  const auto setSlot = [jm](int code, const char* name, const char* kana) {
    EXPECT_TRUE(jm->setData(jm->index(code, JigyoubuListModel::ActiveColumn), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(jm->setData(jm->index(code, JigyoubuListModel::NameColumn), QString::fromUtf8(name)));
    EXPECT_TRUE(jm->setData(jm->index(code, JigyoubuListModel::KanaColumn), QString::fromUtf8(kana)));
  };
  setSlot(1, "本店", "honten");
  setSlot(2, "大阪支店", "osaka");
  jigyoubu->okButton()->click();
  flush();
  EXPECT_FALSE(info->attachedSheetController());
  EXPECT_EQ(doc->document().numberOfActiveJigyoubu(), 2);

  // --- accounts: one turned on, two sub-accounts, opening balances per division
  const MyDocument::DataGeneration beforeAccounts = doc->document().reportDataGeneration();
  click(info, Command::ShowKamokuListWindow);
  auto* kamoku = sheetOn<KamokuListController>(info);
  ASSERT_TRUE(kamoku);
  KamokuListEditor& editor = kamoku->editor();
  KamokuListModel* km = kamoku->kamokuModel();
  HojyoKamokuListModel* hm = kamoku->hojyoKamokuModel();
  const auto cell = [&](int32_t code, int column) { return km->indexOfKamoku(editor.indexOfKamokuCode(code), column); };
  EXPECT_TRUE(km->setData(cell(104, KamokuListModel::ActiveColumn), Qt::Checked, Qt::CheckStateRole));

  kamoku->selectKamoku(editor.indexOfKamokuCode(103));
  EXPECT_EQ(hm->kamokuIndex(), editor.indexOfKamokuCode(103));
  ASSERT_EQ(kamoku->addHojyoKamoku(), 0);
  ASSERT_EQ(kamoku->addHojyoKamoku(), 1);
  EXPECT_TRUE(hm->setData(hm->index(0, HojyoKamokuListModel::NameColumn), QStringLiteral("みずほ銀行")));
  EXPECT_TRUE(hm->setData(hm->index(0, HojyoKamokuListModel::KanaColumn), QStringLiteral("mizuho")));
  EXPECT_TRUE(hm->setData(hm->index(1, HojyoKamokuListModel::NameColumn), QStringLiteral("りそな銀行")));

  struct Balance {
    int32_t jigyoubu;
    int32_t code;
    int subRow;  // -1: the account itself
    const char* typed;
  };
  const Balance balances[] = {
      {1, 103, 0, "300,000"}, {1, 103, 1, "200000"}, {1, 103, -1, "500000"}, {1, 100, -1, "50000"},
      {1, 270, -1, "550000"}, {2, 103, 0, "100000"}, {2, 103, -1, "100000"}, {2, 270, -1, "100000"},
  };
  for (const Balance& b : balances) {
    kamoku->selectJigyoubuCode(b.jigyoubu);
    if (b.subRow < 0) {
      EXPECT_TRUE(km->setData(cell(b.code, KamokuListModel::BalanceColumn), QString::fromUtf8(b.typed))) << b.code;
    } else {
      kamoku->selectKamoku(editor.indexOfKamokuCode(b.code));
      EXPECT_TRUE(hm->setData(hm->index(b.subRow, HojyoKamokuListModel::BalanceColumn), QString::fromUtf8(b.typed)));
    }
  }
  EXPECT_TRUE(alerts.empty()) << lastAlert().toStdString();
  kamoku->selectJigyoubuCode(99);
  EXPECT_EQ(km->data(cell(103, KamokuListModel::BalanceColumn)).toString(), QStringLiteral("600,000"));
  EXPECT_FALSE(km->flags(cell(103, KamokuListModel::BalanceColumn)) & Qt::ItemIsEditable);
  EXPECT_TRUE(kamoku->startBalanceField()->text().contains(QStringLiteral("貸借が一致しています")));
  kamoku->okButton()->click();
  flush();
  EXPECT_TRUE(alerts.empty()) << lastAlert().toStdString();
  EXPECT_FALSE(info->attachedSheetController());
  // The report caches are void, as after a change of the journal.
  EXPECT_FALSE(doc->document().reportDataGeneration() == beforeAccounts);
  EXPECT_TRUE(info->startBalanceField()->text().contains(QStringLiteral("貸借が一致しています")));

  // --- descriptions
  click(info, Command::ShowTekiyouListWindow);
  auto* tekiyou = sheetOn<TekiyouListController>(info);
  ASSERT_TRUE(tekiyou);
  tekiyou->newGroupPopUp()->setCurrentText(QStringLiteral("普通預金"));
  ASSERT_EQ(tekiyou->addGroup(), 1);
  tekiyou->newTekiyouField()->setText(QStringLiteral("振込手数料"));
  ASSERT_EQ(tekiyou->addTekiyou(), 0);
  TekiyouListModel* tm = tekiyou->model();
  EXPECT_TRUE(tm->setData(tm->index(0, TekiyouListModel::KanaColumn), QStringLiteral("furikomi")));
  tekiyou->selectGroup(0);
  tekiyou->newTekiyouField()->setText(QStringLiteral("切手代"));
  tekiyou->addTekiyou();
  EXPECT_TRUE(tm->setData(tm->index(0, TekiyouListModel::KanaColumn), QStringLiteral("kitte")));
  tekiyou->okButton()->click();
  flush();
  EXPECT_FALSE(info->attachedSheetController());

  // --- saved, closed, reopened
  const QString file = path(QStringLiteral("キボサバン.kivo"));
  ASSERT_TRUE(doc->saveToPath(file));
  doc->close();
  flush();
  EXPECT_TRUE(app->documentController()->documents().empty());
  DocumentSession* reopened = app->documentController()->openDocumentWithContentsOfFile(file);
  ASSERT_TRUE(reopened);
  flush();
  ASSERT_TRUE(infoOf(reopened));
  const MyDocument& books = reopened->document();
  // Every record's round trip is the file's own test; here what the sheets set.
  EXPECT_EQ(books.kaisya().name(), "株式会社キボサバン");
  EXPECT_EQ(books.kaisya().termEndDate(), Date(2025, 3, 31));
  EXPECT_EQ(books.rootKamokuKubun()->pListResource(), KamokuKubun::kKaisyahouChartName);

  EXPECT_EQ(books.numberOfActiveJigyoubu(), 2);
  ASSERT_TRUE(books.matchJigyoubuCode("02"));
  EXPECT_EQ(books.matchJigyoubuCode("02")->name(), "大阪支店");

  const auto account = [&](int32_t code) -> KamokuPtr {
    for (const KamokuPtr& a : books.codeSortedKamokuArray())
      if (a->code() == code) return a;
    return nullptr;
  };
  ASSERT_TRUE(account(104));
  EXPECT_TRUE(account(104)->isActive());
  const KamokuPtr futsuu = account(103);
  ASSERT_TRUE(futsuu);
  EXPECT_EQ(futsuu->startBalanceOfJigyoubuCode(99), 600000);
  EXPECT_EQ(futsuu->startBalanceOfJigyoubuCode(2), 100000);
  ASSERT_EQ(futsuu->hojyoKamokuArray().size(), 2u);
  EXPECT_EQ(futsuu->hojyoKamokuArray()[0]->name(), "みずほ銀行");
  EXPECT_EQ(futsuu->hojyoKamokuArray()[0]->startBalanceOfJigyoubuCode(99), 400000);
  EXPECT_EQ(futsuu->hojyoKamokuOfCode(2)->name(), "りそな銀行");
  EXPECT_EQ(account(270)->startBalanceOfJigyoubuCode(99), 650000);
  EXPECT_TRUE(KamokuListEditor::startBalanceTaisyakuTotalOfDocument(books).isBalanced());

  TekiyouPtr t = books.matchTekiyouKana("FURI", "普通預金", "");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->tekiyou(), "振込手数料");
}

}  // namespace
}  // namespace kivo::test
