// The commands of the main menu that open the windows of a document (vouchers, cash
// books, journal, ledgers, trial balances, statements, assets, the carry-forward, the
// master lists, printing several ledgers or lists), handed to the application. Each
// asks its guard first, in its own order.
#pragma once

namespace kivo {

class AppController;

class WindowCommands {
public:
  static void installCommandHandlers(AppController* app);
};

}  // namespace kivo
