#include <QAbstractButton>
// The asset register window: adding through the sheet, editing with the figures
// following the typed data, the refusal to let an incomplete asset go, removal, drag
// and drop, the computed-charge command, and saving.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>

#include "app/DocumentInfoController.h"
#include "app/KurikoshiController.h"
#include "app/WindowCommands.h"
#include "assets/ShisanSyoukyaku.h"
#include "assets/gui/GenkasyoukyakuShisanListController.h"
#include "assets/gui/GenkasyoukyakuShisanListPrintView.h"
#include "assets/gui/GenkasyoukyakuShisanToAddController.h"
#include "assets/gui/KamokuJigyoubuGroupOutlineView.h"
#include "assets/gui/SelectShisanToSetSansyutsuchiController.h"
#include "assets/gui/SyoukyakushisanShinkokusyoController.h"
#include "document/DocumentFile.h"
#include "platform/FieldMessage.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "setup/gui/PreferenceController.h"
#include "support/AppTestFixture.h"
#include "support/PaperChosenInPanel.h"
#include "support/PdfText.h"

namespace kivo::test {
namespace {

using G = GenkasyoukyakuShisan;
using Ptr = GenkasyoukyakuShisanPtr;

class GenkasyoukyakuShisanListTest : public AppTest {
protected:
  void SetUp() override
  {
    AppTest::SetUp();
    session = openBooks();
    books().kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
    books().setSortedKamokuArray();
  }
  MyDocument& books() { return session->document(); }
  void open()
  {
    w = GenkasyoukyakuShisanListController::showGenkasyoukyakuShisanListWindow(session);
    activate(w);
  }
  // A complete asset of the newer rule, depreciated from the start of the term.
  Ptr complete(const std::string& name, int32_t kamoku)
  {
    auto a = std::make_shared<G>(G::kTeiritsuHou);
    a->setName(name);
    a->setKanriCode(name);
    a->setKamokuCode(kamoku);
    a->setDateOfAdded(Date(2024, 4, 1));
    a->setSyutokuKagaku(1000000);
    a->setTaiyouYears(5);
    books().genkasyoukyakuShisanArray().push_back(a);
    return a;
  }
  // Selects the asset in the outline and shows it in the detail.
  void show(const Ptr& a)
  {
    w->selectGenkasyoukyakuShisan(a);
    w->updateForSelectedGenkasyoukyakuShisan();
  }
  static void type(QLineEdit* f, const QString& text)
  {
    f->setText(text);
    emit f->textEdited(text);
    emit f->editingFinished();
  }
  QString lastAlert() const { return alerts.empty() ? QString() : alerts.back().text; }
  // Adds an asset through the sheet, as 資産を追加 does.
  Ptr addThroughSheet(const char* name)
  {
    w->handleChooseAddShisan();
    flush();  // the sheet shows before the user answers it
    GenkasyoukyakuShisanToAddController* sheet = w->addController();
    sheet->nameField()->setText(QString::fromUtf8(name));
    sheet->kanriCodeField()->setText(QString::fromUtf8(name));
    sheet->kamokuField()->setText(QStringLiteral("156"));
    sheet->endGenkasyoukyakuShisanToAddWindow(sheet->okButton());
    flush();  // the answer acts once the sheet's own handling is over
    return books().genkasyoukyakuShisanArray().back();
  }
  // A personal computer of 400,000 over four years from 2024/10/15, its charge of
  // 50,000 for six months stored before any decrease.
  Ptr pasokon(const std::string& name)
  {
    const Ptr a = complete(name, 156);
    a->setSyoukyakuTypeStr(G::kTeigakuHou);
    a->setDateOfAdded(Date(2024, 10, 15));
    a->setSyutokuKagaku(400000);
    a->setTaiyouYears(4);
    a->setFutsuuSyoukyakuhi(50000);
    return a;
  }
  // Adds a decrease through its table, as typed: the date, Tab, the amount, and back
  // to 一般.
  void addDecrease(const char* date, const char* amount)
  {
    w->addDecreaseHistory();
    QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(date));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    flush();
    QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(amount));
    w->infoTabView()->setCurrentIndex(0);
  }
  void removeDecreaseRow(int row)
  {
    w->decreaseHistoryTableView()->setCurrentCell(row, 0);
    w->removeDecreaseHistory();
  }
  void chooseMethod(const char* method)
  {
    QComboBox* box = w->syoukyakuTypeComboBox();
    box->setCurrentIndex(box->findText(QString::fromUtf8(method)));
    emit box->activated(box->currentIndex());
  }

  DocumentSession* session = nullptr;
  GenkasyoukyakuShisanListController* w = nullptr;
};

TEST_F(GenkasyoukyakuShisanListTest, InformationWindowButtonOpensTheOneRegister)
{
  WindowCommands::installCommandHandlers(app.get());
  auto* info = qobject_cast<DocumentInfoController*>(session->documentInfoController());
  info->validateCommandButtons();
  QAbstractButton* button = info->buttonOfCommand(MainMenu::Command::ShowGenkasyoukyakuShisanListWindow);
  ASSERT_TRUE(button && button->isEnabled());
  activate(info);
  button->click();
  button->click();
  flush();
  int registers = 0;
  for (DocumentWindowController* c : session->windowControllers())
    registers += c->windowKind() == DocumentWindow::Kind::GenkasyoukyakuShisanList;
  EXPECT_EQ(registers, 1);
}

TEST_F(GenkasyoukyakuShisanListTest, AddedAssetIsEditedWithItsFiguresFollowingTheTypedData)
{
  open();
  EXPECT_EQ(w->selectedTabView()->currentIndex(), 1);  // nothing to show
  w->handleChooseAddShisan();
  flush();
  GenkasyoukyakuShisanToAddController* sheet = w->addController();
  ASSERT_TRUE(sheet && sheet->isSheetAttached());
  sheet->nameField()->setText(QStringLiteral("複合機"));
  sheet->kanriCodeField()->setText(QStringLiteral("K-1"));
  sheet->kamokuField()->setText(QStringLiteral("156"));
  sheet->endGenkasyoukyakuShisanToAddWindow(sheet->okButton());
  flush();
  ASSERT_EQ(books().genkasyoukyakuShisanArray().size(), 1u);
  const Ptr asset = books().genkasyoukyakuShisanArray().front();
  EXPECT_EQ(w->selectedGenkasyoukyakuShisan(), asset);
  EXPECT_EQ(w->syoukyakuTypeComboBox()->currentText(), QStringLiteral("定率法"));

  type(w->dateOfAddedField(), QStringLiteral("2024/4/1"));
  type(w->syutokuKagakuField(), QStringLiteral("1,000,000"));
  type(w->taiyouYearsField(), QStringLiteral("5"));
  // 200 % declining balance over 5 years: 0.400 of the cost for a whole term.
  EXPECT_EQ(w->syoukyakuRitsuField()->text(), QStringLiteral("0.400"));
  EXPECT_EQ(w->kimatsuCyoubokagakuField()->text(), QStringLiteral("600,000"));
  // An ordinary charge above the computed one is lowered to it; a lower one stays.
  type(w->futsuuSyoukyakuhiField(), QStringLiteral("500,000"));
  EXPECT_EQ(w->futsuuSyoukyakuhiField()->text(), QStringLiteral("400,000"));
  type(w->futsuuSyoukyakuhiField(), QStringLiteral("300,000"));
  EXPECT_EQ(w->toukiSyoukyakuhiGoukeiField()->text(), QStringLiteral("300,000"));
  // Typed data change the figures; a later acquisition date shortens the months.
  type(w->dateOfAddedField(), QStringLiteral("2024/10/1"));
  EXPECT_EQ(w->sansyutsuSyoukyakuhiField()->text(), QStringLiteral("200,000"));

  // The charge typed shows held to the computed one, and is stored as typed: it
  // comes back when the computed charge rises again.
  const QPersistentModelIndex costInRow = w->outlineView()->currentIndex().siblingAtColumn(3);
  ASSERT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  EXPECT_EQ(std::tuple(asset->syutokuKagaku(), asset->dateOfAdded(), w->futsuuSyoukyakuhiField()->text(),
                       asset->futsuuSyoukyakuhi(), asset->taiyouYears()),
            std::tuple(1000000, Date(2024, 10, 1), QStringLiteral("200,000"), 300000, 5));
  // The asset's row shows its values as soon as the asset takes them, in place; an
  // amount typed without separators shows as an amount once its field is left.
  type(w->syutokuKagakuField(), QStringLiteral("2000000"));
  EXPECT_EQ(std::tuple(costInRow.data().toString(), w->syutokuKagakuField()->text()),
            std::tuple(QStringLiteral("2,000,000"), QStringLiteral("2,000,000")));
}

// The outline row shows what the asset takes as soon as the edit of a field ends, the
// way a user ends it (Return, Tab, a click on another field or on the row itself, a
// method chosen with the keys), not only once another row is selected or the
// document saved: the acquisition date, the cost and the method, the columns a typed
// field changes.
TEST_F(GenkasyoukyakuShisanListTest, TheRowShowsWhatTheAssetTakesAsSoonAsAFieldIsLeft)
{
  const Ptr a = complete("A", 156);
  open();
  KamokuJigyoubuGroupOutlineView* outline = w->outlineView();
  const auto row = [&] {
    const QModelIndex r = outline->currentIndex();
    return std::tuple(r.siblingAtColumn(2).data().toString(), r.siblingAtColumn(3).data().toString(),
                      r.siblingAtColumn(4).data().toString());
  };
  const auto clickOn = [](QWidget* target) { QTest::mouseClick(target, Qt::LeftButton); };
  // Types over the field's text, as a user does once in it.
  const auto typeInto = [&](QLineEdit* f, const QString& text) {
    clickOn(f);
    f->selectAll();
    QTest::keyClicks(f, text);
  };

  // A new asset: 取得日, 耐用年数 and 取得価額 typed, each field left for the next
  // with a click, the last with Tab.
  const Ptr added = addThroughSheet("B");
  typeInto(w->dateOfAddedField(), QStringLiteral("2024/5/1"));
  typeInto(w->taiyouYearsField(), QStringLiteral("5"));
  typeInto(w->syutokuKagakuField(), QStringLiteral("300000"));
  QTest::keyClick(w->syutokuKagakuField(), Qt::Key_Tab);
  EXPECT_EQ(row(), std::tuple(QStringLiteral("2024/5/1"), QStringLiteral("300,000"), QStringLiteral("定率法")));
  EXPECT_EQ(std::tuple(added->dateOfAdded(), added->syutokuKagaku()), std::tuple(Date(2024, 5, 1), 300000));

  // An asset already complete, chosen with a click on its row, its date and cost
  // changed and each field left another way.
  const auto clickRow = [&](int r) {
    QTest::mouseClick(outline->viewport(), Qt::LeftButton, {},
                      outline->visualRect(outline->currentIndex().siblingAtRow(r)).center());
  };
  clickRow(0);
  ASSERT_EQ(
      std::tuple(w->selectedGenkasyoukyakuShisan(), row()),
      std::tuple(a, std::tuple(QStringLiteral("2024/4/1"), QStringLiteral("1,000,000"), QStringLiteral("定率法"))));
  const std::pair<const char*, std::function<void(QLineEdit*)>> ways[] = {
      {"Return", [](QLineEdit* f) { QTest::keyClick(f, Qt::Key_Return); }},
      {"Tab", [](QLineEdit* f) { QTest::keyClick(f, Qt::Key_Tab); }},
      {"a click on another field", [&](QLineEdit*) { clickOn(w->referenceField()); }},
      {"a click on its row", [&](QLineEdit*) { clickRow(0); }},
  };
  int month = 7;
  for (const auto& [name, leave] : ways) {
    typeInto(w->dateOfAddedField(), QStringLiteral("2024/%1/01").arg(month, 2, 10, QChar('0')));
    leave(w->dateOfAddedField());
    const QString cost = QStringLiteral("2,%1").arg(month - 7) + QStringLiteral("00,000");
    typeInto(w->syutokuKagakuField(), cost);
    leave(w->syutokuKagakuField());
    EXPECT_EQ(std::tuple(std::get<0>(row()), std::get<1>(row()), w->selectedGenkasyoukyakuShisan()),
              std::tuple(QStringLiteral("2024/%1/1").arg(month), cost, a))
        << name;
    ++month;
  }
  // A method chosen with the arrow keys in its box.
  QComboBox* method = w->syoukyakuTypeComboBox();
  method->setFocus();
  QTest::keyClick(method, Qt::Key_Up);
  EXPECT_EQ(std::get<2>(row()), QStringLiteral("定額法"));
  // What the row shows is what is saved.
  ASSERT_TRUE(session->saveToPath(path(QStringLiteral("row.kivo"))));
  EXPECT_EQ(row(), std::tuple(QStringLiteral("2024/10/1"), QStringLiteral("2,300,000"), QStringLiteral("定額法")));
  EXPECT_EQ(std::tuple(a->dateOfAdded(), a->syutokuKagaku(), a->syoukyakuTypeStr()),
            std::tuple(Date(2024, 10, 1), 2300000, std::string(G::kTeigakuHou)));
}

// The preferences: the ratios of a new asset, the rounding of the shown figures as
// soon as they are applied; the window's size kept in the user defaults; Tab between
// the detail's ends and the outline.
TEST_F(GenkasyoukyakuShisanListTest, PreferencesSizeAndTabReachTheRegister)
{
  UserDefaults& d = UserDefaults::standardUserDefaults();
  const QString widthKey = QStringLiteral("5 Columns GenkasyoukyakuShisan Window Width");
  d.setDouble(7.5, KIVOGankasyoukyakuhiDefaultZanzonWariaiKey);
  d.setDouble(2.5, KIVOGankasyoukyakuhiDefaultZanzonGendoWariaiKey);
  d.setDouble(780, widthKey);  // within the test screen: no window is made wider than it
  d.setDouble(520, KIVOGenkasyoukyakuShisanWindowHeightKey);
  d.setBool(false, KIVOAutoUpdateAllOutputWindowsKey);
  const Ptr a = complete("A", 156);
  a->setSyutokuKagaku(1'000'001);
  a->setTokubetsuSyoukyakuhi(600'001);
  open();
  EXPECT_EQ(w->size(), QSize(780, 520));
  w->resize(770, 500);
  flush();
  EXPECT_EQ(std::tuple(d.doubleForKey(widthKey), d.doubleForKey(KIVOGenkasyoukyakuShisanWindowHeightKey)),
            std::tuple(770.0, 500.0));

  const Ptr added = addThroughSheet("B");
  EXPECT_EQ(std::tuple(added->zanzonWariai(), added->zanzonGendoWariai()), std::tuple(7.5, 2.5));

  // 400,000.4 rounded down, then up once the preferences say so, the asset still shown
  // while another window is main. The ordinary charge the program sets takes the book
  // value down to 0 beside the special charge either way, never below.
  show(a);
  const auto figures = [&] {
    return std::tuple(w->sansyutsuSyoukyakuhiField()->text(), w->futsuuSyoukyakuhiField()->text(),
                      w->kimatsuCyoubokagakuField()->text());
  };
  EXPECT_EQ(figures(), std::tuple(QStringLiteral("400,000"), QStringLiteral("400,000"), QStringLiteral("0")));
  activate(session->documentInfoController());
  ASSERT_FALSE(w->isMainWindow());
  PreferenceController* p = PreferenceController::sharedPreferenceController();
  p->updateUI();
  p->roundingTypePopUp()->setCurrentIndex(p->roundingTypePopUp()->findData(int(SyoukyakuKikan::RoundUp)));
  p->handleClickApplyButton();
  EXPECT_EQ(std::tuple(w->selectedGenkasyoukyakuShisan(), figures()),
            std::tuple(a, std::tuple(QStringLiteral("400,001"), QStringLiteral("400,000"), QStringLiteral("0"))));

  // Tab out of the last field (the special charge for a corporation) and back-Tab out
  // of the first both go to the outline.
  activate(w);
  for (auto [field, key] :
       {std::pair(w->tokubetsuSyoukyakuhiField(), Qt::Key_Tab), std::pair(w->quantityField(), Qt::Key_Backtab)}) {
    field->setFocus();
    QTest::keyClick(field, key);
    EXPECT_TRUE(w->outlineView()->hasFocus()) << key;
  }

  for (const char* key : {KIVOGankasyoukyakuhiRoundingTypeKey, KIVOGankasyoukyakuhiDefaultZanzonWariaiKey,
                          KIVOGankasyoukyakuhiDefaultZanzonGendoWariaiKey, KIVOGenkasyoukyakuShisanWindowHeightKey})
    d.removeObjectForKey(key);
  d.removeObjectForKey(widthKey);
}

// The provision of immediate depreciation follows the method on a new asset until it
// is first committed, never on one committed with an empty reference.
TEST_F(GenkasyoukyakuShisanListTest, ProvisionTextFollowsTheMethodOnlyUntilTheAssetIsCommitted)
{
  open();
  addThroughSheet("A");
  type(w->dateOfAddedField(), QStringLiteral("2024/4/1"));
  type(w->syutokuKagakuField(), QStringLiteral("100,000"));
  const QString provision = QStringLiteral("措法６７の８");
  const std::pair<const char*, QString> steps[] = {
      {G::kSokujiSyoukyaku, provision}, {G::kTeigakuHou, QString()}, {G::kSokujiSyoukyaku, provision}};
  for (const auto& [method, reference] : steps) {
    chooseMethod(method);
    EXPECT_EQ(w->referenceField()->text(), reference) << method;
  }
  chooseMethod(G::kTeigakuHou);
  type(w->taiyouYearsField(), QStringLiteral("5"));
  ASSERT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  chooseMethod(G::kSokujiSyoukyaku);
  EXPECT_EQ(w->referenceField()->text(), QString());
}

// Decreases show in date order, the first row selected; an edit that is accepted
// sorts them again; a date the formatter refuses keeps its cell in editing, and the
// asset with it.
TEST_F(GenkasyoukyakuShisanListTest, DecreasesStayInDateOrderAndARefusedDateStaysInEditing)
{
  const Ptr a = complete("A", 156);
  a->decreaseArray().emplace_back(Date(2024, 9, 1), 100);
  a->decreaseArray().emplace_back(Date(2024, 6, 1), 200);
  open();
  show(a);
  QTableWidget* table = w->decreaseHistoryTableView();
  const auto dates = [&] {
    std::vector<Date> out;
    for (const GenkasyoukyakuShisanDecrease& x : a->decreaseArray()) out.push_back(x.dateOfDecrease());
    return out;
  };
  EXPECT_EQ(std::tuple(dates(), table->currentRow()), std::tuple(std::vector{Date(2024, 6, 1), Date(2024, 9, 1)}, 0));
  table->item(1, 0)->setText(QStringLiteral("2024/5/1"));
  flush();
  EXPECT_EQ(std::tuple(dates(), table->item(0, 1)->text(), table->currentRow()),
            std::tuple(std::vector{Date(2024, 5, 1), Date(2024, 6, 1)}, QStringLiteral("100"), 0));

  w->infoTabView()->setCurrentIndex(1);
  activate(w);
  table->setCurrentCell(0, 0);
  table->editItem(table->item(0, 0));
  QPointer<QLineEdit> editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_TRUE(editor);
  const auto editing = [&] {
    flush();
    return editor && editor->isVisible();
  };
  editor->clear();
  const int beeps = AlertSheet::beepCountForTesting();
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_EQ(std::tuple(editing(), AlertSheet::beepCountForTesting()), std::tuple(true, beeps + 1));
  EXPECT_FALSE(w->setEditingGenkasyoukyakuShisanToArray());
  EXPECT_TRUE(editing());
  w->infoTabView()->setCurrentIndex(0);  // nor is its tab left
  EXPECT_EQ(std::tuple(w->infoTabView()->currentIndex(), editing(), QApplication::focusWidget() == editor.data()),
            std::tuple(1, true, true));
  editor->setText(QStringLiteral("2024/10/1"));
  EXPECT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  EXPECT_EQ(std::tuple(editing(), dates()), std::tuple(false, std::vector{Date(2024, 6, 1), Date(2024, 10, 1)}));

  // A new decrease's date ended with Tab takes its place in date order, its amount's
  // cell open for the amount.
  w->addDecreaseHistory();
  for (const auto& [text, key] :
       {std::pair(QStringLiteral("2024/8/1"), Qt::Key_Tab), std::pair(QStringLiteral("300"), Qt::Key_Return)}) {
    QTest::keyClicks(QApplication::focusWidget(), text);
    QTest::keyClick(QApplication::focusWidget(), key);
    flush();
  }
  EXPECT_EQ(std::tuple(dates(), a->decreaseArray()[1].amountOfDecrease()),
            std::tuple(std::vector{Date(2024, 6, 1), Date(2024, 8, 1), Date(2024, 10, 1)}, 300));
}

TEST_F(GenkasyoukyakuShisanListTest, IncompleteAssetIsNotLetGoNorSavedACompleteOneIs)
{
  const Ptr a = complete("A", 156);
  open();
  show(a);
  ASSERT_EQ(w->selectedGenkasyoukyakuShisan(), a);
  const std::tuple<QLineEdit*, QString, const char*> cases[] = {
      {w->quantityField(), {}, "数量が入力されていません。"},
      {w->dateOfAddedField(), {}, "取得日が入力されていません。"},
      {w->dateOfAddedField(), QStringLiteral("2025/4/1"), "取得日に会計期後の日付は指定できません。"},
      {w->dateOfAddedField(), QStringLiteral("2007/3/1"), "有効な期間内の取得日が入力されていません。"},
      {w->dateOfRemovedField(), QStringLiteral("2024/3/31"), "除却日に取得日より前の日付は指定できません。"},
      {w->syutokuKagakuField(), {}, "正しく入力されていない項目が有るため償却額を計算できません。"},
      {w->tokubetsuSyoukyakuhiField(), QStringLiteral("x"),
       "正しく入力されていない項目が有るため償却額を計算できません。"},
      // What an asset may not hold: an amount beyond the input limit, a ratio above
      // 100 % (the reader refuses them, so the document would not open again).
      {w->syutokuKagakuField(), QStringLiteral("100,000,000,000"),
       "正しく入力されていない項目が有るため償却額を計算できません。"},
      {w->jigyouSenyouWariaiField(), QStringLiteral("101"),
       "正しく入力されていない項目が有るため償却額を計算できません。"}};
  for (const auto& [field, text, message] : cases) {
    const QString before = field->text();
    type(field, text);
    alerts.clear();
    w->handleChooseAddShisan();  // a command first commits the shown asset
    EXPECT_EQ(
        std::tuple(lastAlert(), alerts.empty() ? QString() : alerts.back().title,
                   w->addController() && w->addController()->isSheetAttached(), w->selectedGenkasyoukyakuShisan()),
        std::tuple(QString::fromUtf8(message), QStringLiteral("無効な資産"), false, a))
        << message;
    type(field, before);
  }
  EXPECT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  EXPECT_EQ(a->dateOfRemoved(), Date());
  // Saving asks the register too.
  type(w->syutokuKagakuField(), {});
  alerts.clear();
  EXPECT_FALSE(session->setEditingShiwakeToShiwakeArrayToSave());
  EXPECT_FALSE(alerts.empty());

  // Completed again, saving commits the shown asset and it reads back.
  type(w->referenceField(), QStringLiteral("本社"));
  type(w->syutokuKagakuField(), QStringLiteral("1,500,000"));
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("b.kivo"));
  ASSERT_TRUE(session->saveToPath(path));
  DocumentFile::Result result;
  auto reread = DocumentFile::readFromFile(path.toStdString(), &result);
  ASSERT_EQ(reread->genkasyoukyakuShisanArray().size(), 1u);
  EXPECT_EQ(*reread->genkasyoukyakuShisanArray().front(), *a);
  EXPECT_EQ(std::tuple(a->syutokuKagaku(), a->reference()), std::tuple(1500000, "本社"));
}

TEST_F(GenkasyoukyakuShisanListTest, ShowingAnAssetChangesNothingInItRemoveTakesItEvenWhenIncomplete)
{
  const Ptr a = complete("A", 156);
  const Ptr b = complete("B", 156);
  const G before = *a;
  open();
  show(a);
  EXPECT_EQ(w->futsuuSyoukyakuhiField()->text(), QStringLiteral("400,000"));  // shown, not stored
  show(b);
  EXPECT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  EXPECT_EQ(std::tuple(*a == before, a->futsuuSyoukyakuhi(), books().isDocumentEdited()), std::tuple(true, -1, false));

  // Removal takes the selected asset even when incomplete.
  show(a);
  type(w->syutokuKagakuField(), {});
  alerts.clear();
  w->handleChooseRemoveShisan();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts.front().text, QStringLiteral("選択中の資産を削除しますか。"));
  EXPECT_EQ(books().genkasyoukyakuShisanArray(), std::vector<Ptr>{b});
  EXPECT_EQ(std::tuple(w->selectedGenkasyoukyakuShisan(), books().isDocumentEdited()), std::tuple(nullptr, true));
}

// The question waits for the keyboard as it closes, while the program's own events run:
// a register the program closed meanwhile removes nothing, and the asset stays.
TEST_F(GenkasyoukyakuShisanListTest, TheRemovalDoesNothingOnceItsWindowWentDuringTheQuestion)
{
  const Ptr a = complete("A", 156);
  const Ptr b = complete("B", 156);
  open();
  show(a);
  const QPointer<GenkasyoukyakuShisanListController> alive = w;
  QAction* remove = w->functionAction(GenkasyoukyakuShisanListController::kRemoveShisanTitle);
  ASSERT_TRUE(remove && remove->isEnabled());
  answerAndCloseTheWindowDuringTheWait(w, QStringLiteral("削除"), [remove] { remove->trigger(); });
  flush();
  EXPECT_TRUE(alive.isNull());
  EXPECT_EQ(books().genkasyoukyakuShisanArray(), (std::vector<Ptr>{a, b}));
}

TEST_F(GenkasyoukyakuShisanListTest, DropMovesTheAssetItselfAndTheDetailEditsIt)
{
  const Ptr a = complete("A", 156);
  const Ptr b = complete("B", 155);
  const Ptr c = complete("C", 155);
  open();
  show(a);
  type(w->syutokuKagakuField(), QStringLiteral("2,000,000"));  // an edit not yet committed
  ASSERT_TRUE(w->beginDragOfSelection());
  EXPECT_EQ(w->selectedGenkasyoukyakuShisan(), nullptr);  // the detail let it go
  EXPECT_EQ(a->syutokuKagaku(), 2000000);                 // with the edit committed

  // Dropped between B and C of 車両運搬具, through the outline's model.
  QAbstractItemModel* model = w->outlineView()->model();
  const auto sharyou = [model] {
    for (int r = 0; r < model->rowCount(); ++r)
      if (model->index(r, 0).data().toString() == QStringLiteral("車両運搬具")) return model->index(r, 0);
    return QModelIndex();
  };
  QModelIndex group = sharyou();
  ASSERT_TRUE(group.isValid());
  QMimeData data;
  data.setData(QString::fromUtf8(KamokuJigyoubuGroupOutlineView::kPasteboardType), "1");
  ASSERT_TRUE(model->dropMimeData(&data, Qt::MoveAction, 1, 0, group));
  flush();
  EXPECT_EQ(books().genkasyoukyakuShisanArray(), (std::vector<Ptr>{b, a, c}));
  EXPECT_EQ(std::tuple(a->kamokuCode(), w->selectedGenkasyoukyakuShisan()), std::tuple(155, a));
  type(w->taiyouYearsField(), QStringLiteral("10"));
  ASSERT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  EXPECT_EQ(books().genkasyoukyakuShisanArray()[1]->taiyouYears(), 10);

  // A drop onto the top level or onto an asset row is refused.
  group = sharyou();
  EXPECT_FALSE(model->dropMimeData(&data, Qt::MoveAction, 0, 0, QModelIndex()));
  EXPECT_FALSE(model->dropMimeData(&data, Qt::MoveAction, -1, 0, model->index(0, 0, group)));
}

TEST_F(GenkasyoukyakuShisanListTest, ComputedChargeIsSetOnlyWithNothingShown)
{
  const Ptr old = complete("旧", 156);
  old->setSyoukyakuTypeStr(G::kTeigakuHou);
  old->setPListResource(GenkasyoukyakuShisan::kKyuuTableName);
  old->setDateOfAdded(Date(2005, 4, 1));
  old->setKisyuSyoukyakugakuRuikei(100000);
  old->setTaiyouYears(10);
  old->setFutsuuSyoukyakuhi(0);
  open();
  show(old);
  alerts.clear();
  w->handleChooseSetSansyutsuSyoukyakuhiToFutsuuSyoukyakuhi();
  EXPECT_EQ(lastAlert(), QStringLiteral("資産を表示（選択）している状態では、コマンドを実行できません。"));

  w->outlineView()->selectionModel()->clearSelection();
  ASSERT_EQ(w->selectedGenkasyoukyakuShisan(), nullptr);
  w->handleChooseSetSansyutsuSyoukyakuhiToFutsuuSyoukyakuhi();
  SelectShisanToSetSansyutsuchiController* sheet = w->setSansyutsuchiController();
  ASSERT_TRUE(sheet && sheet->isSheetAttached());
  sheet->onlyZeroFutsuuSyoukyakuhiCheckbox()->setChecked(false);
  sheet->endSelectShisanToSetSansyutsuchiWindow(sheet->cancelButton());
  EXPECT_EQ(old->futsuuSyoukyakuhi(), 0);
  // Shown again, the sheet offers the safe choice again.
  w->handleChooseSetSansyutsuSyoukyakuhiToFutsuuSyoukyakuhi();
  ASSERT_TRUE(sheet->isSheetAttached());
  EXPECT_TRUE(sheet->onlyZeroFutsuuSyoukyakuhiCheckbox()->isChecked());
  sheet->endSelectShisanToSetSansyutsuchiWindow(sheet->okButton());
  EXPECT_GT(old->futsuuSyoukyakuhi(), 0);
  EXPECT_TRUE(books().isDocumentEdited());
}

TEST_F(GenkasyoukyakuShisanListTest, DeclarationSheetOffersTheTermsYearsAndPrintsTheChosenOne)
{
  const Ptr lump = complete("一括", 156);
  lump->setSyoukyakuTypeStr(G::kIkkatsuSyoukyaku);
  open();
  alerts.clear();
  w->setTargetYearOfSyoukyakushisanShinkokusyo();
  EXPECT_EQ(lastAlert(), QStringLiteral("償却資産報告書にプリントする資産が登録されていません。"));

  complete("複合機", 156);
  w->setTargetYearOfSyoukyakushisanShinkokusyo();
  SyoukyakushisanShinkokusyoController* sheet = w->shinkokusyoController();
  ASSERT_TRUE(sheet && sheet->isSheetAttached());
  ASSERT_EQ(sheet->targetYearPopUp()->count(), 2);
  EXPECT_EQ(sheet->targetYearPopUp()->itemText(1), QStringLiteral("2025年1月1日〜2025年12月31日"));
  int printed = 0;
  PrintOperation::setPrintPanelResponderForTesting([&](QPrinter&, QWidget*) {
    ++printed;
    return false;
  });
  sheet->targetYearPopUp()->setCurrentIndex(1);
  sheet->endSheetWithSender(sheet->okButton());
  flush();
  PrintOperation::setPrintPanelResponderForTesting({});
  EXPECT_EQ(std::tuple(sheet->targetYear(), printed), std::tuple(2025, 1));
}

// The page setup stored, A4 portrait; another paper chosen in the print panel: the
// register and the declaration print on pages of that paper, every asset and column
// on them.
TEST_F(GenkasyoukyakuShisanListTest, TheRegisterAndTheDeclarationAreLaidOutForThePaperChosenInThePanel)
{
  QStringList assets;
  for (int i = 1; i <= 40; ++i) {
    assets << QStringLiteral("複合機%1号").arg(i);
    complete(assets.back().toStdString(), 156);
  }
  open();
  const auto printDeclaration = [this] {
    w->setTargetYearOfSyoukyakushisanShinkokusyo();
    w->shinkokusyoController()->endSheetWithSender(w->shinkokusyoController()->okButton());
    flush();
  };
  const std::tuple<const char*, std::function<void()>, QStringList> printouts[] = {
      {"register", [this] { w->printDocument(); }, {"期末帳簿価額"}},
      {"declaration", printDeclaration, {"取得価額", "取得方法"}},
  };
  for (const PaperChosenInPanel& paper : kPapersChosenInPanel)
    for (const auto& [name, print, columns] : printouts) {
      SCOPED_TRACE(std::string(paper.name) + " " + name);
      EXPECT_EQ(printedOnPaperChosenInPanel(paper, path(QStringLiteral("paper.pdf")), print, assets + columns),
                std::pair(std::string(), std::string()));
    }
}

// A decrease typed in 減少履歴 lowers the ordinary charge on screen, in the asset
// when it is committed (leaving the tab ends the amount's edit), on the printed
// register and in the next term; an asset whose decrease was stored earlier and that
// is only shown is stored unchanged, and prints and carries forward the same figures.
// A decrease removed again raises a charge the program lowered; in the next term no
// decrease may take more than is left of the asset.
TEST_F(GenkasyoukyakuShisanListTest, ADecreaseLowersTheChargeOnScreenInTheBooksOnThePrintoutAndInTheNextTerm)
{
  const Ptr typed = pasokon("パソコン");
  const Ptr stored = pasokon("プリンタ");
  stored->decreaseArray().emplace_back(Date(2025, 1, 31), 100000);
  open();
  show(stored);
  ASSERT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  EXPECT_EQ(std::tuple(stored->futsuuSyoukyakuhi(), books().isDocumentEdited()), std::tuple(50000, false));

  show(typed);
  addDecrease("2025/1/31", "100000");
  ASSERT_EQ(w->infoTabView()->currentIndex(), 0) << lastAlert().toStdString();
  EXPECT_EQ(std::tuple(w->futsuuSyoukyakuhiField()->text(), w->kimatsuCyoubokagakuField()->text()),
            std::tuple(QStringLiteral("37,500"), QStringLiteral("262,500")));
  // The charge stored (the user's, as a file gives it) stays stored; the register,
  // the printout and the carry-forward hold it to the computed charge.
  ASSERT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  EXPECT_EQ(std::tuple(typed->futsuuSyoukyakuhi(), books().isDocumentEdited()), std::tuple(50000, true));
  // 5,000 more gone lowers the charge to 36,875. Once that decrease goes, a charge
  // typed stays (held to the computed charge) and one the program set or lowered is
  // the computed charge again, whether the asset was committed in between or not.
  for (const auto& [entered, committed, back] :
       {std::tuple("37,000", false, "37,000"), std::tuple("", false, "37,500"), std::tuple("", true, "37,500")}) {
    type(w->futsuuSyoukyakuhiField(), QString::fromUtf8(entered));
    addDecrease("2025/2/1", "5000");
    EXPECT_EQ(w->futsuuSyoukyakuhiField()->text(), QStringLiteral("36,875"));
    if (committed) {
      ASSERT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
      w->outlineView()->selectionModel()->clearSelection();
      show(typed);
    }
    w->decreaseHistoryTableView()->setCurrentCell(1, 0);
    w->removeDecreaseHistory();
    EXPECT_EQ(w->futsuuSyoukyakuhiField()->text(), QString::fromUtf8(back)) << entered << committed;
  }
  ASSERT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  ASSERT_EQ(std::tuple(typed->decreaseArray().size(), typed->futsuuSyoukyakuhi()), std::tuple(1u, 37500));

  const QString pdf = path(QStringLiteral("register.pdf"));
  const auto view = GenkasyoukyakuShisanListPrintView::create(books(), PrintInfo::defaultPageLayout(), 0);
  ASSERT_TRUE(view && PrintOperation::writePdf(pdf, *view, PrintInfo::defaultPageLayout()));
  const QString printed = pdfText(pdf);
  // Each row: the decrease, the ordinary charge, the term's charges, the closing book value.
  EXPECT_EQ(printed.count(QRegularExpression(QStringLiteral(" 100,000 +37,500 +37,500 +262,500 "))), 2)
      << printed.toStdString();

  ASSERT_TRUE(session->saveToPath(path(QStringLiteral("old.kivo"))));
  DocumentSession* next = KurikoshiController::showKurikoshiWindow(session)->endKurikoshiWindow();
  flush();
  ASSERT_TRUE(next);
  w = GenkasyoukyakuShisanListController::showGenkasyoukyakuShisanListWindow(next);
  activate(w);
  for (const Ptr& a : next->document().genkasyoukyakuShisanArray()) {
    show(a);
    EXPECT_EQ(std::tuple(a->kisyuSyoukyakugakuRuikei(), w->kisyuCyoubokagakuField()->text()),
              std::tuple(37500, QStringLiteral("262,500")))
        << a->name();
  }
  // A decrease of more than those 262,500 is refused when the asset is let go, its
  // amount selected; one of all of it leaves 0.
  const QString beyond = QStringLiteral("帳簿価額を超える減少額は指定できません。");
  for (const auto& [amount, alert] : {std::pair("500000", beyond), std::pair("262500", QString())}) {
    addDecrease("2025/6/1", amount);
    alerts.clear();
    const bool committed = w->setEditingGenkasyoukyakuShisanToArray();
    EXPECT_EQ(std::tuple(committed, lastAlert()), std::tuple(alert.isEmpty(), alert));
    if (committed) break;
    flush();
    // The amount's cell alone is shown as the one to change.
    QTableWidget* table = w->decreaseHistoryTableView();
    EXPECT_EQ(std::tuple(w->infoTabView()->currentIndex(), table->currentRow(), table->currentColumn(),
                         table->selectionModel()->selectedIndexes()),
              std::tuple(1, 1, 1, QModelIndexList{table->model()->index(1, 1)}));
    w->removeDecreaseHistory();
  }
  EXPECT_EQ(w->kimatsuCyoubokagakuField()->text(), QStringLiteral("0"));
}

// What would be taken off the closing book value without showing in any column of
// the term is refused when the asset is let go, with the decrease or the field the
// user changed selected: a decrease before the acquisition, a special charge on an
// asset removed before the term. Removed in the term, the asset takes its special charge.
TEST_F(GenkasyoukyakuShisanListTest, WhatTheTermDoesNotShowIsRefused)
{
  const Ptr a = complete("A", 156);
  a->setDateOfAdded(Date(2020, 4, 1));
  a->setKisyuSyoukyakugakuRuikei(500000);
  a->decreaseArray().emplace_back(Date(2021, 4, 1), 1000);
  open();
  show(a);
  const QString decreased = QStringLiteral("減少日に取得日より前の日付は指定できません。");
  // field, text typed, decrease added on that date (null: none) → alert (empty: none)
  const std::tuple<QLineEdit*, QString, Date, QString> cases[] = {
      {w->dateOfAddedField(), QStringLiteral("2021/5/1"), Date(), decreased},
      {w->dateOfAddedField(), QStringLiteral("2020/4/1"), Date(2020, 3, 31), decreased},
      {w->dateOfRemovedField(), QStringLiteral("2024/3/31"), Date(),
       QStringLiteral("前期以前に除却した資産には特別（割増）償却費を入力できません。")},
      {w->dateOfRemovedField(), QStringLiteral("2024/4/1"), Date(), QString()},
  };
  for (const auto& [field, text, decreaseDate, alert] : cases) {
    type(w->tokubetsuSyoukyakuhiField(), QStringLiteral("10,000"));
    type(field, text);
    if (!decreaseDate.isNull()) a->decreaseArray().emplace_back(decreaseDate, 1);
    alerts.clear();
    const bool committed = w->setEditingGenkasyoukyakuShisanToArray();
    EXPECT_EQ(std::tuple(committed, lastAlert()), std::tuple(alert.isEmpty(), alert)) << text.toStdString();
    if (alert == decreased && decreaseDate.isNull()) {
      // Only the acquisition date was moved past the decrease: it is what to correct.
      EXPECT_EQ(std::tuple(w->infoTabView()->currentIndex(), QApplication::focusWidget()),
                std::tuple(0, static_cast<QWidget*>(w->dateOfAddedField())));
    } else if (alert == decreased) {
      EXPECT_EQ(std::tuple(w->infoTabView()->currentIndex(), w->decreaseHistoryTableView()->currentRow()),
                std::tuple(1, 0));
      w->infoTabView()->setCurrentIndex(0);  // nor is 減少履歴 left while the decrease stands
      EXPECT_EQ(w->infoTabView()->currentIndex(), 1);
    } else if (!alert.isEmpty()) {
      EXPECT_EQ(QApplication::focusWidget(), w->tokubetsuSyoukyakuhiField());
    }
    if (!decreaseDate.isNull()) a->decreaseArray().erase(a->decreaseArray().begin());
    if (alert.isEmpty()) continue;
    type(w->dateOfAddedField(), QStringLiteral("2020/4/1"));
    type(w->dateOfRemovedField(), {});
  }
  EXPECT_EQ(std::tuple(a->dateOfRemoved(), a->tokubetsuSyoukyakuhi()), std::tuple(Date(2024, 4, 1), 10000));
}

// Leaving 減少履歴 commits the asset as another row would: a decrease beyond what is
// left of the asset keeps the tab (switched by the program or with a click), so that
// 一般 never shows a closing book value below zero.
TEST_F(GenkasyoukyakuShisanListTest, LeavingTheDecreaseTabCommitsTheAssetFirst)
{
  const Ptr a = pasokon("パソコン");
  open();
  show(a);
  QTabWidget* tabs = w->infoTabView();
  QTableWidget* table = w->decreaseHistoryTableView();
  const auto state = [&] {
    flush();
    return std::tuple(tabs->currentIndex(), lastAlert(), table->selectionModel()->selectedIndexes());
  };
  addDecrease("2025/1/31", "450000");  // and back to 一般
  const auto refused = std::tuple(1, QStringLiteral("帳簿価額を超える減少額は指定できません。"),
                                  QModelIndexList{table->model()->index(0, 1)});
  EXPECT_EQ(state(), refused);
  alerts.clear();
  QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
  EXPECT_EQ(state(), refused);
  table->item(0, 1)->setText(QStringLiteral("400000"));
  tabs->setCurrentIndex(0);
  EXPECT_EQ(std::tuple(tabs->currentIndex(), w->kimatsuCyoubokagakuField()->text()),
            std::tuple(0, QStringLiteral("0")));
}

// A date field's text that is no date says so ("無効な日付です。", as every date field
// does) when its edit ends, and leaving the asset refuses it with that sentence, the
// field selected, never as a date not entered; a decrease's date cell says it too.
TEST_F(GenkasyoukyakuShisanListTest, AnUnreadableDateIsRefusedAsSuchNotAsMissing)
{
  const Ptr a = complete("A", 156);
  open();
  show(a);
  const QString invalid = QStringLiteral("無効な日付です。");
  for (const auto& [field, typed] :
       {std::pair(w->dateOfAddedField(), "2024-11-20"), std::pair(w->dateOfRemovedField(), "11/20")}) {
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, QString::fromUtf8(typed));
    QTest::keyClick(field, Qt::Key_Return);
    const QString noted = FieldMessage::shownText();
    const bool committed = w->setEditingGenkasyoukyakuShisanToArray();
    EXPECT_EQ(std::tuple(noted, committed, lastAlert(), QApplication::focusWidget()),
              std::tuple(invalid, false, invalid, static_cast<QWidget*>(field)))
        << typed;
    type(field, field == w->dateOfAddedField() ? QStringLiteral("2024/4/1") : QString());
  }
  w->infoTabView()->setCurrentIndex(1);
  w->addDecreaseHistory();
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2024-11-20"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(FieldMessage::shownText(), invalid);
}

// A method chosen shows in the asset's row at once, also while the figures cannot be
// computed yet; the cost typed stays out of the asset until they can.
TEST_F(GenkasyoukyakuShisanListTest, AMethodChosenShowsInItsRowAtOnce)
{
  open();
  const Ptr added = addThroughSheet("B");
  type(w->syutokuKagakuField(), QStringLiteral("300,000"));  // no acquisition date yet
  QTest::keyClick(w->syoukyakuTypeComboBox(), Qt::Key_Up);
  EXPECT_EQ(std::tuple(w->outlineView()->currentIndex().siblingAtColumn(4).data().toString(), added->syutokuKagaku()),
            std::tuple(QStringLiteral("定額法"), -1));
}

// Tab in the outline goes to the detail: to 数量 with its text selected, or to the
// decrease table. The decreases' dates show in the common era whatever the company's
// setting.
TEST_F(GenkasyoukyakuShisanListTest, TabReachesTheDetailAndDecreaseDatesShowInTheCommonEra)
{
  books().kaisya().setDoUseWareki(true);
  const Ptr a = complete("A", 156);
  a->decreaseArray().emplace_back(Date(2024, 6, 1), 100);
  open();
  show(a);
  EXPECT_EQ(std::tuple(w->dateOfAddedField()->text(), w->decreaseHistoryTableView()->item(0, 0)->text()),
            std::tuple(QStringLiteral("令和6/4/1"), QStringLiteral("2024/6/1")));
  for (const auto& [tab, reached, selected] :
       {std::tuple(0, static_cast<QWidget*>(w->quantityField()), QStringLiteral("1")),
        std::tuple(1, static_cast<QWidget*>(w->decreaseHistoryTableView()), QString())}) {
    w->infoTabView()->setCurrentIndex(tab);
    w->outlineView()->setFocus();
    QTest::keyClick(w->outlineView(), Qt::Key_Tab);
    EXPECT_EQ(std::tuple(QApplication::focusWidget(), w->quantityField()->selectedText()),
              std::tuple(reached, selected))
        << tab;
  }
  // Back-Tab goes back through the decrease's cells, edited or not, and out of the
  // first one to the outline, as from 数量.
  QTableWidget* table = w->decreaseHistoryTableView();
  for (const bool editing : {false, true}) {
    table->setFocus();
    table->setCurrentCell(0, 1);
    if (editing) table->editItem(table->item(0, 1));
    for (int i = 0; i < 2; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
      flush();
    }
    EXPECT_EQ(QApplication::focusWidget(), w->outlineView()) << editing;
  }
}

// A click on another row, or an arrow key, refused while the shown asset is
// incomplete leaves the outline's keys on the asset still shown.
TEST_F(GenkasyoukyakuShisanListTest, ARefusedRowLeavesTheArrowKeysOnTheAssetShown)
{
  const Ptr a = complete("A", 156);
  const Ptr b = complete("B", 156);
  const Ptr c = complete("C", 156);
  open();
  KamokuJigyoubuGroupOutlineView* outline = w->outlineView();
  const auto click = [&](int rowsDown) {
    const QModelIndex row = outline->currentIndex().siblingAtRow(outline->currentIndex().row() + rowsDown);
    QTest::mouseClick(outline->viewport(), Qt::LeftButton, {}, outline->visualRect(row).center());
  };
  // shown asset, refused move → the asset Down then shows
  const std::tuple<const char*, Ptr, std::function<void()>, Ptr> cases[] = {
      {"click two rows down", a, [&] { click(2); }, b},
      {"Up", b, [&] { QTest::keyClick(outline, Qt::Key_Up); }, c},
  };
  for (const auto& [name, shown, move, down] : cases) {
    show(shown);
    type(w->quantityField(), {});
    alerts.clear();
    outline->setFocus();
    move();
    flush();
    EXPECT_EQ(std::tuple(alerts.size(), lastAlert(), w->selectedGenkasyoukyakuShisan()),
              std::tuple(size_t{1}, QStringLiteral("数量が入力されていません。"), shown))
        << name;
    type(w->quantityField(), QStringLiteral("1"));
    outline->setFocus();
    QTest::keyClick(outline, Qt::Key_Down);
    EXPECT_EQ(w->selectedGenkasyoukyakuShisan(), down) << name;
  }
}

// A charge the user typed stays the user's while the document is open, the asset
// shown or not, and in the file: the program only holds it down to the computed
// charge, and it comes back when that charge rises again (a decrease removed, a
// shorter life), never above what was typed.
TEST_F(GenkasyoukyakuShisanListTest, AChargeTheUserTypedIsNeverRaisedNorReplaced)
{
  const Ptr other = complete("他", 156);
  // the asset's decrease before the term's end (none: 0), the charge typed, a
  // decrease then added (none: ""), the charge shown then; after another asset was
  // shown, the change that lifts the computed charge → the charge shown
  const std::tuple<const char*, int64_t, const char*, const char*, const char*, std::function<void()>, const char*>
      cases[] = {
          {"サーバ", 100'000, "37,000", "5000", "36,875", [&] { removeDecreaseRow(1); }, "37,000"},
          {"パソコン", 0, "30,000", "200000", "25,000", [&] { removeDecreaseRow(0); }, "30,000"},
          {"複合機", 0, "50,000", "", "50,000", [&] { type(w->taiyouYearsField(), QStringLiteral("2")); }, "50,000"},
      };
  std::vector<Ptr> assets;
  for (const auto& [name, earlier, typed, decrease, lowered, lift, back] : cases) {
    assets.push_back(pasokon(name));
    if (earlier > 0) assets.back()->decreaseArray().emplace_back(Date(2025, 1, 31), earlier);
  }
  open();
  for (size_t i = 0; i < assets.size(); ++i) {
    const auto& [name, earlier, typed, decrease, lowered, lift, back] = cases[i];
    const Ptr& a = assets[i];
    show(a);
    type(w->futsuuSyoukyakuhiField(), QString::fromUtf8(typed));
    if (*decrease) addDecrease("2025/2/1", decrease);
    EXPECT_EQ(w->futsuuSyoukyakuhiField()->text(), QString::fromUtf8(lowered)) << name;
    ASSERT_TRUE(w->setEditingGenkasyoukyakuShisanToArray()) << lastAlert().toStdString();
    show(other);
    show(a);
    lift();
    EXPECT_EQ(std::tuple(w->futsuuSyoukyakuhiField()->text(), w->sansyutsuSyoukyakuhiField()->text() != back),
              std::tuple(QString::fromUtf8(back), true))
        << name;
    ASSERT_TRUE(w->setEditingGenkasyoukyakuShisanToArray());
  }
  // Saved, each asset holds the charge typed as the user's.
  ASSERT_TRUE(session->saveToPath(path(QStringLiteral("typed.kivo"))));
  DocumentFile::Result result;
  const auto reread = DocumentFile::readFromFile(path(QStringLiteral("typed.kivo")).toStdString(), &result);
  ASSERT_TRUE(reread);
  for (size_t i = 0; i < assets.size(); ++i)
    EXPECT_EQ(ShisanSyoukyaku::enteredFutsuuSyoukyakuhi(*reread->genkasyoukyakuShisanArray()[i + 1]),
              books().kaisya().memoryKingakuOfDisplayString(std::get<2>(cases[i])))
        << std::get<0>(cases[i]);
}

// The second term of a personal computer of 400,000 (375,000 left at the start, a
// charge of 100,000 in the term): a decrease of all of it and a special charge
// together would close below zero, so whichever was changed last is refused when the
// asset is let go, the charge's field or the decrease's amount alone selected. An
// asset an older build saved so, or with another figure the register now refuses, is
// shown, left, saved and carried forward, the next term opening at 0.
TEST_F(GenkasyoukyakuShisanListTest, AChangeThatTakesTheBookValueBelowZeroIsRefusedFiguresNotTouchedAreNot)
{
  const auto secondTerm = [this](const char* name) {
    const Ptr a = pasokon(name);
    a->setDateOfAdded(Date(2024, 1, 15));
    a->setKisyuSyoukyakugakuRuikei(25000);
    a->setFutsuuSyoukyakuhi(100000);
    return a;
  };
  const Ptr a = secondTerm("パソコン");
  const Ptr older = secondTerm("プリンタ");
  const Ptr carried = secondTerm("スキャナ");
  for (const Ptr& p : {older, carried}) {
    p->decreaseArray().emplace_back(Date(2024, 6, 1), 375000);
    p->setTokubetsuSyoukyakuhi(10000);
  }
  // What else an older build let through: a decrease before the acquisition, a
  // special charge after a removal before the term.
  const Ptr decreasedBefore = secondTerm("モニタ");
  decreasedBefore->decreaseArray().emplace_back(Date(2023, 12, 1), 1000);
  const Ptr removedBefore = secondTerm("サーバ");
  removedBefore->setDateOfRemoved(Date(2024, 3, 31));
  removedBefore->setTokubetsuSyoukyakuhi(10000);
  const QString chargeBeyond = QStringLiteral("帳簿価額を超える償却費は指定できません。");
  const QString decreaseBeyond = QStringLiteral("帳簿価額を超える減少額は指定できません。");
  open();
  QTableWidget* table = w->decreaseHistoryTableView();
  const auto commit = [&] {
    alerts.clear();
    const bool committed = w->setEditingGenkasyoukyakuShisanToArray();
    return std::tuple(committed, lastAlert());
  };

  show(a);
  addDecrease("2024/6/1", "375000");
  type(w->tokubetsuSyoukyakuhiField(), QStringLiteral("10,000"));
  EXPECT_EQ(commit(), std::tuple(false, chargeBeyond));
  EXPECT_EQ(std::tuple(w->infoTabView()->currentIndex(), QApplication::focusWidget()),
            std::tuple(0, static_cast<QWidget*>(w->tokubetsuSyoukyakuhiField())));
  type(w->tokubetsuSyoukyakuhiField(), QStringLiteral("0"));
  EXPECT_EQ(commit(), std::tuple(true, QString()));
  removeDecreaseRow(0);
  type(w->tokubetsuSyoukyakuhiField(), QStringLiteral("10,000"));
  EXPECT_EQ(commit(), std::tuple(true, QString()));
  addDecrease("2024/6/1", "375000");
  EXPECT_EQ(commit(), std::tuple(false, decreaseBeyond));
  flush();
  EXPECT_EQ(std::tuple(w->infoTabView()->currentIndex(), table->selectionModel()->selectedIndexes()),
            std::tuple(1, QModelIndexList{table->model()->index(0, 1)}));
  removeDecreaseRow(0);

  // Shown, left through the outline and saved as an older build left it.
  for (const Ptr& p : {decreasedBefore, removedBefore, older}) {
    show(p);
    EXPECT_EQ(commit(), std::tuple(true, QString())) << p->name();
  }
  w->outlineView()->setFocus();
  QTest::keyClick(w->outlineView(), Qt::Key_Down);
  EXPECT_EQ(std::tuple(w->selectedGenkasyoukyakuShisan(), lastAlert()), std::tuple(carried, QString()));
  ASSERT_TRUE(session->saveToPath(path(QStringLiteral("older.kivo"))));
  DocumentSession* next = KurikoshiController::showKurikoshiWindow(session)->endKurikoshiWindow();
  flush();
  ASSERT_TRUE(next);
  w = GenkasyoukyakuShisanListController::showGenkasyoukyakuShisanListWindow(next);
  activate(w);
  const Ptr nextCarried = next->document().genkasyoukyakuShisanArray()[2];
  show(nextCarried);
  EXPECT_EQ(std::tuple(nextCarried->kisyuSyoukyakugakuRuikei(), w->kisyuCyoubokagakuField()->text(), commit()),
            std::tuple(25000, QStringLiteral("0"), std::tuple(true, QString())));
}

}  // namespace
}  // namespace kivo::test
