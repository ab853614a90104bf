#include "entry/SuitoucyouWindow.h"

#include <algorithm>

namespace kivo {

SuitoucyouWindow* SuitoucyouWindow::suitoucyouControllerOfKamokuCode(const MyDocument& document, int32_t kamokuCode,
                                                                     int32_t hojyoKamokuCode)
{
  if (kamokuCode < 0) return nullptr;
  for (DocumentWindow* w : document.windows()) {
    if (w->windowKind() != DocumentWindow::Kind::Suitoucyou) continue;
    auto* book = dynamic_cast<SuitoucyouWindow*>(w);
    if (book && book->displayKamokuCode() == kamokuCode && book->displayHojyoKamokuCode() == hojyoKamokuCode)
      return book;
  }
  return nullptr;
}

void SuitoucyouWindow::addSuitoucyouToRefresh(const MyDocument& document, int32_t kamokuCode, int32_t hojyoKamokuCode,
                                              std::vector<SuitoucyouWindow*>& books)
{
  // Without an open cash book (the common case) this is one walk of a short list.
  SuitoucyouWindow* book = suitoucyouControllerOfKamokuCode(document, kamokuCode, hojyoKamokuCode);
  if (book && std::find(books.begin(), books.end(), book) == books.end()) books.push_back(book);
}

}  // namespace kivo
