#include "statements/gui/StatementsPrintView.h"

#include "document/MyDocument.h"
#include "platform/PrintInfo.h"
#include "statements/KaisyahouStatementArrays.h"

namespace kivo {

StatementsPrintView::StatementsPrintView(const MyDocument& document, const KaisyahouStatementArrays& statements,
                                         const Chosen& chosenStatements, const QPageLayout& layout)
    : document_(document), geometry_(PrintInfo::geometryOfPageLayout(layout))
{
  taisyakuLeft_ = chosen(chosenStatements.taisyakuTaisyou, statements.taisyakuTaisyouShisannobuShisanArray);
  taisyakuRight_ = taisyakuLeft_ ? &statements.taisyakuTaisyouFusainobuShisanArray : nullptr;
  sonekiKeisan_ = chosen(chosenStatements.sonekiKeisan, statements.taisyakuBalanceSonekiKeisanShisanArray);
  hanbaihi_ = chosen(chosenStatements.hanbaihi, statements.taisyakuBalanceHanbaihiShisanArray);
  seizouGenka_ = chosen(chosenStatements.seizouGenka, statements.taisyakuBalanceSeizouGenkaShisanArray);
}

const std::vector<Shisan>* StatementsPrintView::chosen(bool isChosen, const std::vector<Shisan>& rows)
{
  return isChosen && !rows.empty() ? &rows : nullptr;
}

const char* StatementsPrintView::seizouGenkaTitle() const
{
  return document_.kaisya().isKensetu() ? kKanseiKoujiGenkaTitle : kSeizouGenkaTitle;
}

QRectF StatementsPrintView::titleRect() const
{
  return QRectF(geometry_.leftMargin, geometry_.topMargin, geometry_.printableWidth(), titleHeight_);
}

QRectF StatementsPrintView::rowRect(int line) const
{
  return QRectF(geometry_.leftMargin, geometry_.topMargin + titleHeight_ + line * lineHeight_,
                geometry_.printableWidth(), lineHeight_);
}

}  // namespace kivo
