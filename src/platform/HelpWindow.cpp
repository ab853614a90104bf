#include "platform/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/WindowPlacement.h"
#include "resources/Resources.h"

namespace kivo {
namespace {

HelpWindow* sharedInstance = nullptr;
MainMenu::Handler* commandHandler = nullptr;

}  // namespace

QString HelpWindow::helpBookHtml()
{
  const auto data = Resources::get("help/index.html");
  if (!data) return QStringLiteral("<p>ヘルプが見つかりません。</p>");
  return QString::fromUtf8(data->data(), static_cast<qsizetype>(data->size()));
}

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window)
{
  setWindowTitle(QStringLiteral("Kivosavan ヘルプ"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  browser_->setHtml(helpBookHtml());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  // The keys of "閉じる" and "終了", as in every other window.
  auto* closeItem = new QAction(QString::fromUtf8("閉じる"), this);
  closeItem->setShortcut(MainMenu::keyOf(MainMenu::Command::CloseWindow));
  connect(closeItem, &QAction::triggered, this, &QWidget::close);
  addAction(closeItem);
  auto* quitItem = new QAction(QString::fromUtf8("終了"), this);
  quitItem->setShortcut(MainMenu::keyOf(MainMenu::Command::Quit));
  connect(quitItem, &QAction::triggered, this, [] {
    // Once the key's handling is over: quitting deletes this window.
    QMetaObject::invokeMethod(
        qApp,
        [] {
          if (commandHandler) commandHandler->performCommand(MainMenu::Command::Quit, nullptr);
        },
        Qt::QueuedConnection);
  });
  addAction(quitItem);
  // Near the top right corner of the screen, within it on a small one.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect v = screen ? screen->availableGeometry() : QRect();
  const QSize size(620, 560);
  WindowPlacement::placeWindow(this, QRect(QPoint(v.x() + v.width() - size.width() - 40, v.y() + 40), size));
}

HelpWindow::~HelpWindow()
{
  if (sharedInstance == this) sharedInstance = nullptr;
}

HelpWindow* HelpWindow::sharedHelpWindow()
{
  if (!sharedInstance) sharedInstance = new HelpWindow();
  return sharedInstance;
}

void HelpWindow::showHelpAtAnchor(const QString& anchor)
{
  HelpWindow* help = sharedHelpWindow();
  help->show();
  help->raise();
  help->activateWindow();
  help->currentAnchor_ = anchor;
  if (anchor.isEmpty())
    help->browser_->scrollToAnchor(QStringLiteral("top"));
  else
    help->browser_->scrollToAnchor(anchor);
}

void HelpWindow::discard() { delete sharedInstance; }

void HelpWindow::setCommandHandler(MainMenu::Handler* handler) { commandHandler = handler; }

bool HelpWindow::hasAnchor(const QString& anchor) const
{
  return helpBookHtml().contains(QStringLiteral("<a name=\"%1\">").arg(anchor));
}

}  // namespace kivo
