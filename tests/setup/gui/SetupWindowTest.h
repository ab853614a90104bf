// The fixture of the setup windows' tests: the application shell of the other window
// tests, with the setup commands installed, and helpers that reach the sheets the
// commands open.
#pragma once

#include <QPushButton>

#include "app/DocumentInfoController.h"
#include "app/SetupCommands.h"
#include "app/WindowCommands.h"
#include "platform/SheetController.h"
#include "setup/gui/PreferenceController.h"
#include "support/AppTestFixture.h"

namespace kivo::test {

class SetupWindowTest : public AppTest {
protected:
  using Command = MainMenu::Command;
  using Kind = DocumentWindow::Kind;

  void SetUp() override
  {
    AppTest::SetUp();
    WindowCommands::installCommandHandlers(app.get());
  }
  void TearDown() override
  {
    PreferenceController::discard();
    AppTest::TearDown();
  }

  static DocumentInfoController* infoOf(DocumentSession* doc)
  {
    return qobject_cast<DocumentInfoController*>(doc->documentInfoController());
  }

  // The sheet of the class attached to the window, or nullptr.
  template <class T>
  static T* sheetOn(WindowController* window)
  {
    return window ? qobject_cast<T*>(window->attachedSheetController()) : nullptr;
  }

  // Clicks the information window's button of the command, as the user does.
  void click(DocumentInfoController* info, Command command)
  {
    activate(info);
    QAbstractButton* b = info->buttonOfCommand(command);
    ASSERT_TRUE(b);
    ASSERT_TRUE(b->isEnabled());
    b->click();
    flush();
  }

  QString lastAlert() const
  {
    return alerts.empty() ? QString() : alerts.back().title + QStringLiteral(" / ") + alerts.back().text;
  }
};

}  // namespace kivo::test
