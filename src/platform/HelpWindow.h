// The application's help book: pages of our own carried inside the program, shown in
// one help window and opened at an anchor ("VersionHistory", "OpenOldFileError",
// "Download", "Donation", ...).
#pragma once

#include <QString>
#include <QWidget>

#include "platform/MainMenu.h"

class QTextBrowser;

namespace kivo {

class HelpWindow : public QWidget {
  Q_OBJECT
public:
  static constexpr const char* kVersionHistoryAnchor = "VersionHistory";
  static constexpr const char* kOpenOldFileErrorAnchor = "OpenOldFileError";
  static constexpr const char* kDownloadAnchor = "Download";
  static constexpr const char* kDonationAnchor = "Donation";

  // The one help window, made on first use.
  static HelpWindow* sharedHelpWindow();
  // Shows the help window at the anchor (the top of the book when empty).
  static void showHelpAtAnchor(const QString& anchor);
  // Closes and deletes the help window, if any.
  static void discard();
  // The application's commands. The help window has no menus, but closes at Ctrl+W and
  // hands Ctrl+Q to the application's "終了", as every other window does.
  static void setCommandHandler(MainMenu::Handler* handler);

  // The anchor last shown, and whether the book holds an anchor.
  const QString& currentAnchor() const { return currentAnchor_; }
  bool hasAnchor(const QString& anchor) const;

  // The book's HTML.
  static QString helpBookHtml();

private:
  HelpWindow();
  ~HelpWindow() override;

  QTextBrowser* browser_;
  QString currentAnchor_;
};

}  // namespace kivo
