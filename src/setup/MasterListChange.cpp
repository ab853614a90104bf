#include "setup/MasterListChange.h"

#include "document/MyDocument.h"

namespace kivo {

void MasterListChange::documentDidChange(MyDocument& document)
{
  document.updateChangeCount(MyDocument::ChangeType::Done);
  document.setSortedKamokuArray();
  document.makeAllOutputWindowDisplayArrayVoid();
  document.updateAllOutputWindowControllersUI();
}

}  // namespace kivo
