// What the printed statements of both forms share: the statements' titles, the page
// the paper gives them, the statement arrays chosen for printing (a statement not
// chosen, or without rows, is left out) and the title band and page lines each page
// is laid out on.
#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <vector>

#include "platform/PrintOperation.h"
#include "print/PrintPaginator.h"
#include "trial/Shisan.h"

namespace kivo {

class MyDocument;
struct KaisyahouStatementArrays;

class StatementsPrintView : public Printout {
public:
  static constexpr const char* kCoverTitle = "決算報告書";
  static constexpr const char* kTaisyakuTaisyouTitle = "貸借対照表";
  static constexpr const char* kSonekiKeisanTitle = "損益計算書";
  static constexpr const char* kHanbaihiTitle = "販売費及び一般管理費";
  static constexpr const char* kSeizouGenkaTitle = "製造原価報告書";
  static constexpr const char* kKanseiKoujiGenkaTitle = "完成工事原価報告書";

  int linesPerPage() const { return linesPerPage_; }

protected:
  // The statements the printout may print, as chosen.
  struct Chosen {
    bool taisyakuTaisyou = true;
    bool sonekiKeisan = true;
    bool hanbaihi = true;
    bool seizouGenka = true;
  };
  StatementsPrintView(const MyDocument& document, const KaisyahouStatementArrays& statements, const Chosen& chosen,
                      const QPageLayout& layout);

  // The rows when chosen and not empty, else nullptr.
  static const std::vector<Shisan>* chosen(bool isChosen, const std::vector<Shisan>& rows);
  // The cost report's title: a construction company's is 完成工事原価報告書.
  const char* seizouGenkaTitle() const;
  QRectF titleRect() const;
  // The page line under the title band.
  QRectF rowRect(int line) const;

  const MyDocument& document_;
  PrintPageGeometry geometry_;
  const std::vector<Shisan>* taisyakuLeft_ = nullptr;
  const std::vector<Shisan>* taisyakuRight_ = nullptr;
  const std::vector<Shisan>* sonekiKeisan_ = nullptr;
  const std::vector<Shisan>* hanbaihi_ = nullptr;
  const std::vector<Shisan>* seizouGenka_ = nullptr;
  int linesPerPage_ = 0;
  double titleHeight_ = 0;
  double lineHeight_ = 0;
};

}  // namespace kivo
