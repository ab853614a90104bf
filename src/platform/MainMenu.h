// The application's menus, built into the menu bar of every window: ファイル, 編集,
// 伝票・帳票, 機能, ウインドウ, ヘルプ. Each window has its own bar holding the same
// menus; the commands go to one handler (the application delegate), which also says
// which items are enabled.
//
// Escape closes a menu and nothing more: the keys typed next go where they went before
// the menu opened (the bar never keeps the keyboard, unless the user was already
// walking it with the keys).
//
// The order of the "伝票・帳票" items is defined once, here: a window's first position
// cascades by the position of its item in that menu.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace kivo {

class MainMenu : public QObject {
  Q_OBJECT
public:
  enum class Command {
    None,
    // ファイル
    NewDocument,
    OpenDocument,
    CloseWindow,
    SaveDocument,
    SaveDocumentAs,
    ImportShiwakeFromTextFile,
    PageSetup,
    Print,
    PrintKanjyoumotocyouOfPluralKamoku,
    PrintHojyomotocyouOfPluralHojyoKamoku,
    PrintHojyozandakaIchiranOfPluralKamoku,
    PrintHoukokusyo,
    DoKurikoshiSyori,
    Quit,
    // 編集
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    SelectAll,
    ShowPropertiesWindow,
    ShowKamokuListWindow,
    ShowJigyoubuListWindow,
    ShowTekiyouListWindow,
    ShowPreferencesWindow,
    // 伝票・帳票
    ShowFurikaedenpyouWindow,
    ShowSuitoucyouWindow,
    ShowShiwakenikkiWindow,
    ShowKanjyoumotocyouWindow,
    ShowHojyozandakaIchiranWindow,
    ShowZandakaShisanWindow,
    ShowSuiiShisanWindow,
    ShowGenkasyoukyakuShisanListWindow,
    ShowShortCutKanjyoumotocyouWindow,
    // ウインドウ
    MinimizeWindow,
    ZoomWindow,
    BringWindowToFront,
    // ヘルプ
    ShowHelp,
  };

  class Handler {
  public:
    virtual ~Handler() = default;
    virtual void performCommand(Command command, QAction* sender) = 0;
    virtual bool validateCommand(Command command, QAction* sender) = 0;
  };

  // An item of a menu built at run time (cash books, shortcuts, windows).
  struct Item {
    QString title;
    Command command = Command::None;
    QVariant representedObject;
    QKeySequence key;
    bool checked = false;
    int indentationLevel = 0;
    std::vector<Item> children;  // a submenu when not empty
  };

  static constexpr const char* kFileMenuTitle = "ファイル";
  static constexpr const char* kEditMenuTitle = "編集";
  static constexpr const char* kDenpyouAndCyouhyouMenuTitle = "伝票・帳票";
  static constexpr const char* kFunctionMenuTitle = "機能";
  static constexpr const char* kWindowMenuTitle = "ウインドウ";
  static constexpr const char* kHelpMenuTitle = "ヘルプ";

  // The items of "伝票・帳票", in menu order.
  static constexpr const char* kFurikaedenpyouItemTitle = "振替伝票";
  static constexpr const char* kSuitoucyouItemTitle = "出納帳";
  static constexpr const char* kShiwakenikkiItemTitle = "仕訳日記帳";
  static constexpr const char* kKanjyoumotocyouItemTitle = "総勘定元帳／補助元帳";
  static constexpr const char* kHojyozandakaIchiranItemTitle = "補助残高一覧表";
  static constexpr const char* kZandakaShisanItemTitle = "合計残高試算表";
  static constexpr const char* kSuiiShisanItemTitle = "年間推移試算表";
  static constexpr const char* kGenkasyoukyakuShisanListItemTitle = "資産管理台帳";

  // The modifier bits a stored key equivalent carries (SubMenuItemOfDenpyouAndCyouhyou-
  // MenuItem::keyEquivalentModifierMask), and the keys they become here: Command is
  // Ctrl, Option is Alt, and Control with Command is Ctrl with Alt.
  static constexpr uint32_t kShiftKeyMask = 1u << 17;
  static constexpr uint32_t kControlKeyMask = 1u << 18;
  static constexpr uint32_t kAlternateKeyMask = 1u << 19;
  static constexpr uint32_t kCommandKeyMask = 1u << 20;
  static QKeySequence keySequenceForKeyEquivalent(const QString& key, uint32_t modifierMask);

  // 1 plus the number of non-separator items before the item of the title in
  // "伝票・帳票"; 1 plus the number of all fixed items when no item has the title.
  static int positionInDenpyouAndCyouhyouMenu(const QString& title);

  // The key of a fixed item (empty for none).
  static QKeySequence keyOf(Command command);

  MainMenu(QMenuBar* menuBar, Handler* handler, QObject* parent = nullptr);

  QMenuBar* menuBar() const { return menuBar_; }
  QMenu* denpyouAndCyouhyouMenu() const { return denpyouAndCyouhyouMenu_; }
  QMenu* suitoucyouMenu() const { return suitoucyouMenu_; }
  QMenu* functionMenu() const { return functionMenu_; }
  QMenu* windowMenu() const { return windowMenu_; }

  // The fixed item of a command, or nullptr.
  QAction* action(Command command) const;
  // The command an action stands for.
  static Command commandOf(const QAction* action);

  // The "出納帳" submenu: one item per cash book, or a submenu per account.
  void setSuitoucyouItems(const std::vector<Item>& items);
  // The user's shortcut items at the end of "伝票・帳票".
  void setShortcutItems(const std::vector<Item>& items);
  // The application's items of "ウインドウ", after its fixed items.
  void setWindowItems(const std::vector<Item>& items);
  // The window's own commands in "機能": emptied and refilled by the window.
  void clearFunctionMenu();

  // Asks the handler about every item and enables or disables it.
  void validateMenuItems();
  void validateMenu(QMenu* menu);

  // Connects an action made elsewhere (a "機能" item) to the handler's command.
  QAction* addCommandAction(QMenu* menu, const Item& item);

protected:
  // Escape on a menu of the bar; a key with Ctrl, Alt or Meta reaching the window,
  // before it is matched against the items' keys: the items are brought up to date
  // first, as when their menu opens, so that a key runs its command whenever the item
  // would be enabled on the menu (an item is enabled only when validated).
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QMenu* addMenu(const char* title);
  void fill(QMenu* menu, const std::vector<Item>& items);
  void actionTriggered(QAction* action);

  QMenuBar* menuBar_;
  Handler* handler_;
  QMenu* fileMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QMenu* denpyouAndCyouhyouMenu_ = nullptr;
  QMenu* suitoucyouMenu_ = nullptr;
  QMenu* functionMenu_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QAction* shortcutSeparator_ = nullptr;
  QAction* windowItemsSeparator_ = nullptr;
  std::vector<QAction*> shortcutActions_;
  std::vector<QAction*> windowActions_;
};

}  // namespace kivo
