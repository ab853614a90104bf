#include "platform/MainMenu.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProxyStyle>

#include "platform/CellEditorKeys.h"

namespace kivo {
namespace {

using Command = MainMenu::Command;

constexpr const char* kCommandProperty = "kivoCommand";

// The application's style for the menu bar, less its keyboard mode: an Alt pressed and
// released alone would give the bar the keyboard and swallow what is typed next with
// no title marked on this desktop. The menus open by a click or their keys, and what is
// typed after an Alt tap goes to the window.
class MenuBarStyle : public QProxyStyle {
public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override
  {
    if (hint == SH_MenuBar_AltKeyNavigation) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// One fixed item: a command with its title and key, or a separator (Command::None
// without a title), or the "出納帳" submenu (Command::ShowSuitoucyouWindow).
struct FixedItem {
  Command command;
  const char* title;
  QKeySequence key;
};

const std::vector<FixedItem>& fileItems()
{
  static const std::vector<FixedItem> items{
      {Command::NewDocument, "新規", QKeySequence(QKeySequence::New)},
      {Command::OpenDocument, "開く...", QKeySequence(QKeySequence::Open)},
      {Command::None, nullptr, {}},
      {Command::CloseWindow, "閉じる", QKeySequence(Qt::CTRL | Qt::Key_W)},
      {Command::SaveDocument, "保存", QKeySequence(QKeySequence::Save)},
      {Command::SaveDocumentAs, "別名で保存...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
      {Command::None, nullptr, {}},
      {Command::ImportShiwakeFromTextFile, "テキストファイルから仕訳を読み込む...", {}},
      {Command::None, nullptr, {}},
      {Command::PageSetup, "ページ設定...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
      {Command::Print, "プリント...", QKeySequence(QKeySequence::Print)},
      {Command::PrintKanjyoumotocyouOfPluralKamoku, "複数の総勘定元帳をプリント...", {}},
      {Command::PrintHojyomotocyouOfPluralHojyoKamoku, "複数の補助元帳をプリント...", {}},
      {Command::PrintHojyozandakaIchiranOfPluralKamoku, "複数の補助残高一覧表をプリント...", {}},
      {Command::PrintHoukokusyo, "決算報告書をプリント...", {}},
      {Command::None, nullptr, {}},
      {Command::DoKurikoshiSyori, "繰越処理...", {}},
      {Command::None, nullptr, {}},
      {Command::Quit, "終了", QKeySequence(Qt::CTRL | Qt::Key_Q)},
  };
  return items;
}

const std::vector<FixedItem>& editItems()
{
  static const std::vector<FixedItem> items{
      {Command::Undo, "取り消す", QKeySequence(QKeySequence::Undo)},
      {Command::Redo, "やり直す", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
      {Command::None, nullptr, {}},
      {Command::Cut, "カット", QKeySequence(QKeySequence::Cut)},
      {Command::Copy, "コピー", QKeySequence(QKeySequence::Copy)},
      {Command::Paste, "ペースト", QKeySequence(QKeySequence::Paste)},
      {Command::SelectAll, "すべてを選択", QKeySequence(QKeySequence::SelectAll)},
      {Command::None, nullptr, {}},
      {Command::ShowPropertiesWindow, "会社の基本情報...", {}},
      {Command::ShowKamokuListWindow, "勘定科目...", {}},
      {Command::ShowJigyoubuListWindow, "事業部...", {}},
      {Command::ShowTekiyouListWindow, "摘要...", {}},
      {Command::None, nullptr, {}},
      {Command::ShowPreferencesWindow, "環境設定...", {}},
  };
  return items;
}

// The one definition of the order of "伝票・帳票".
const std::vector<FixedItem>& denpyouAndCyouhyouItems()
{
  static const std::vector<FixedItem> items{
      {Command::ShowFurikaedenpyouWindow, MainMenu::kFurikaedenpyouItemTitle, {}},
      {Command::ShowSuitoucyouWindow, MainMenu::kSuitoucyouItemTitle, {}},
      {Command::ShowShiwakenikkiWindow, MainMenu::kShiwakenikkiItemTitle, {}},
      {Command::ShowKanjyoumotocyouWindow, MainMenu::kKanjyoumotocyouItemTitle, {}},
      {Command::ShowHojyozandakaIchiranWindow, MainMenu::kHojyozandakaIchiranItemTitle, {}},
      {Command::ShowZandakaShisanWindow, MainMenu::kZandakaShisanItemTitle, {}},
      {Command::ShowSuiiShisanWindow, MainMenu::kSuiiShisanItemTitle, {}},
      {Command::ShowGenkasyoukyakuShisanListWindow, MainMenu::kGenkasyoukyakuShisanListItemTitle, {}},
  };
  return items;
}

const std::vector<FixedItem>& windowItems()
{
  static const std::vector<FixedItem> items{
      {Command::MinimizeWindow, "しまう", QKeySequence(Qt::CTRL | Qt::Key_M)},
      {Command::ZoomWindow, "拡大／縮小", {}},
  };
  return items;
}

const std::vector<FixedItem>& helpItems()
{
  static const std::vector<FixedItem> items{
      {Command::ShowHelp, "Kivosavan ヘルプ", QKeySequence(QKeySequence::HelpContents)},
  };
  return items;
}

}  // namespace

QKeySequence MainMenu::keySequenceForKeyEquivalent(const QString& key, uint32_t mask)
{
  if (key.isEmpty()) return {};
  int modifiers = 0;
  const bool command = mask & kCommandKeyMask;
  const bool control = mask & kControlKeyMask;
  if (command) modifiers |= Qt::CTRL;
  if (command && control) modifiers |= Qt::ALT;
  if (control && !command) modifiers |= Qt::META;
  if (mask & kAlternateKeyMask) modifiers |= Qt::ALT;
  if (mask & kShiftKeyMask) modifiers |= Qt::SHIFT;
  const QKeySequence base(key.left(1).toUpper());
  if (base.isEmpty()) return {};
  return QKeySequence(QKeyCombination(Qt::KeyboardModifiers(modifiers), base[0].key()));
}

int MainMenu::positionInDenpyouAndCyouhyouMenu(const QString& title)
{
  int n = 1;
  for (const FixedItem& item : denpyouAndCyouhyouItems()) {
    if (title == QString::fromUtf8(item.title)) return n;
    ++n;
  }
  return n;
}

QKeySequence MainMenu::keyOf(Command command)
{
  for (const auto* items : {&fileItems(), &editItems(), &denpyouAndCyouhyouItems(), &windowItems(), &helpItems()})
    for (const FixedItem& item : *items)
      if (item.command == command && item.title) return item.key;
  return {};
}

MainMenu::MainMenu(QMenuBar* menuBar, Handler* handler, QObject* parent)
    : QObject(parent), menuBar_(menuBar), handler_(handler)
{
  // The menu's undo and redo keys reach it from a cell editor that has nothing of its
  // own to take back.
  CellEditorKeys::install();
  // Not owned by the bar; follows the application's style.
  static MenuBarStyle* const menuBarStyle = new MenuBarStyle;
  menuBar_->setStyle(menuBarStyle);
  const auto addFixed = [this](QMenu* menu, const std::vector<FixedItem>& items) {
    for (const FixedItem& f : items) {
      if (f.command == Command::None) {
        menu->addSeparator();
      } else if (f.command == Command::ShowSuitoucyouWindow) {
        suitoucyouMenu_ = menu->addMenu(QString::fromUtf8(f.title));
        suitoucyouMenu_->setEnabled(false);
      } else {
        Item item;
        item.title = QString::fromUtf8(f.title);
        item.command = f.command;
        item.key = f.key;
        addCommandAction(menu, item);
      }
    }
  };
  fileMenu_ = addMenu(kFileMenuTitle);
  addFixed(fileMenu_, fileItems());
  editMenu_ = addMenu(kEditMenuTitle);
  addFixed(editMenu_, editItems());
  denpyouAndCyouhyouMenu_ = addMenu(kDenpyouAndCyouhyouMenuTitle);
  addFixed(denpyouAndCyouhyouMenu_, denpyouAndCyouhyouItems());
  functionMenu_ = addMenu(kFunctionMenuTitle);
  functionMenu_->setEnabled(false);
  windowMenu_ = addMenu(kWindowMenuTitle);
  addFixed(windowMenu_, windowItems());
  helpMenu_ = addMenu(kHelpMenuTitle);
  addFixed(helpMenu_, helpItems());

  for (QMenu* menu : {fileMenu_, editMenu_, denpyouAndCyouhyouMenu_, windowMenu_, helpMenu_})
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { validateMenu(menu); });
  connect(suitoucyouMenu_, &QMenu::aboutToShow, this, [this] { validateMenu(suitoucyouMenu_); });
  // A key no widget of the window took comes to the window before the items' keys are
  // matched.
  if (QWidget* window = menuBar_->window(); window && window != menuBar_) window->installEventFilter(this);
}

QMenu* MainMenu::addMenu(const char* title)
{
  QMenu* menu = menuBar_->addMenu(QString::fromUtf8(title));
  menu->setObjectName(QString::fromUtf8(title));
  menu->installEventFilter(this);
  return menu;
}

bool MainMenu::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::ShortcutOverride && watched == menuBar_->window()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
      validateMenuItems();
      // The window's own items ("機能") are validated by the window as their menu opens.
      emit functionMenu_->aboutToShow();
    }
    return false;
  }
  auto* menu = qobject_cast<QMenu*>(watched);
  if (!menu || event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
    return QObject::eventFilter(watched, event);
  // Left to itself, the menu hands the keyboard to the bar, which marks its title and
  // swallows the keys typed next: a field that opens its picker on typing would stay
  // dead until something else took the focus. The keys go back where they went.
  const QPointer<QWidget> had = menuBar_->window()->focusWidget();
  if (had == menuBar_) return QObject::eventFilter(watched, event);
  static_cast<QObject*>(menu)->event(event);
  if (had && menuBar_->hasFocus()) had->setFocus(Qt::PopupFocusReason);
  // No widget to go back to (or one that can no longer take the keys): the bar lets go.
  if (menuBar_->hasFocus()) menuBar_->clearFocus();
  return true;
}

QAction* MainMenu::addCommandAction(QMenu* menu, const Item& item)
{
  QAction* action = menu->addAction(QString(item.indentationLevel * 2, QChar(0x3000)) + item.title);
  action->setProperty(kCommandProperty, static_cast<int>(item.command));
  action->setData(item.representedObject);
  if (!item.key.isEmpty()) action->setShortcut(item.key);
  if (item.checked || item.command == Command::BringWindowToFront) {
    action->setCheckable(true);
    action->setChecked(item.checked);
  }
  connect(action, &QAction::triggered, this, [this, action] { actionTriggered(action); });
  return action;
}

QAction* MainMenu::action(Command command) const
{
  for (QMenu* menu : {fileMenu_, editMenu_, denpyouAndCyouhyouMenu_, windowMenu_, helpMenu_})
    for (QAction* a : menu->actions())
      if (commandOf(a) == command && a->data().isNull()) return a;
  return nullptr;
}

MainMenu::Command MainMenu::commandOf(const QAction* action)
{
  const QVariant v = action ? action->property(kCommandProperty) : QVariant();
  return v.isValid() ? static_cast<Command>(v.toInt()) : Command::None;
}

void MainMenu::fill(QMenu* menu, const std::vector<Item>& items)
{
  for (const Item& item : items) {
    if (item.children.empty()) {
      addCommandAction(menu, item);
    } else {
      QMenu* sub = menu->addMenu(item.title);
      fill(sub, item.children);
      connect(sub, &QMenu::aboutToShow, this, [this, sub] { validateMenu(sub); });
    }
  }
}

void MainMenu::setSuitoucyouItems(const std::vector<Item>& items)
{
  for (QAction* a : suitoucyouMenu_->actions())
    if (QMenu* sub = a->menu()) sub->deleteLater();
  suitoucyouMenu_->clear();
  fill(suitoucyouMenu_, items);
  suitoucyouMenu_->setEnabled(!items.empty());
  validateMenu(suitoucyouMenu_);
}

void MainMenu::setShortcutItems(const std::vector<Item>& items)
{
  for (QAction* a : shortcutActions_) {
    denpyouAndCyouhyouMenu_->removeAction(a);
    a->deleteLater();
  }
  shortcutActions_.clear();
  if (shortcutSeparator_) {
    denpyouAndCyouhyouMenu_->removeAction(shortcutSeparator_);
    shortcutSeparator_->deleteLater();
    shortcutSeparator_ = nullptr;
  }
  if (items.empty()) return;
  shortcutSeparator_ = denpyouAndCyouhyouMenu_->addSeparator();
  for (const Item& item : items) shortcutActions_.push_back(addCommandAction(denpyouAndCyouhyouMenu_, item));
  validateMenu(denpyouAndCyouhyouMenu_);
}

void MainMenu::setWindowItems(const std::vector<Item>& items)
{
  for (QAction* a : windowActions_) {
    windowMenu_->removeAction(a);
    a->deleteLater();
  }
  windowActions_.clear();
  if (windowItemsSeparator_) {
    windowMenu_->removeAction(windowItemsSeparator_);
    windowItemsSeparator_->deleteLater();
    windowItemsSeparator_ = nullptr;
  }
  if (items.empty()) return;
  windowItemsSeparator_ = windowMenu_->addSeparator();
  for (const Item& item : items) windowActions_.push_back(addCommandAction(windowMenu_, item));
}

void MainMenu::clearFunctionMenu()
{
  functionMenu_->clear();
  functionMenu_->setEnabled(false);
}

void MainMenu::validateMenu(QMenu* menu)
{
  if (!handler_) return;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    if (QMenu* sub = a->menu()) {
      validateMenu(sub);
      continue;
    }
    const Command command = commandOf(a);
    if (command != Command::None) a->setEnabled(handler_->validateCommand(command, a));
  }
}

void MainMenu::validateMenuItems()
{
  for (QMenu* menu : {fileMenu_, editMenu_, denpyouAndCyouhyouMenu_, windowMenu_, helpMenu_}) validateMenu(menu);
}

void MainMenu::actionTriggered(QAction* action)
{
  if (!handler_) return;
  handler_->performCommand(commandOf(action), action);
}

}  // namespace kivo
