// The voucher browser (伝票の選択): the transfer vouchers of one date as a stack of
// cards, each a small picture of its voucher (up to five rows), the earliest in
// front. The slider deals the cards in front away to the left; a click brings a
// card to the front; a double click on the front card gathers the stack onto it,
// closes the browser and shows that voucher in the voucher window. A date field with
// the previous and next dates, and a number field, choose what is shown.
//
// One browser per document, made on first use; it is application-modal over the
// voucher window while open.
#pragma once

#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/Date.h"

class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;

namespace kivo {

class OpenDocument;
class HidukeFormatter;

class FurikaedenpyouSelectController : public QDialog {
  Q_OBJECT
public:
  static constexpr int kAnimationMilliseconds = 500;

  explicit FurikaedenpyouSelectController(OpenDocument* document, QWidget* parent = nullptr);
  ~FurikaedenpyouSelectController() override;

  // The document's browser, made and kept by the document on first use.
  static FurikaedenpyouSelectController* selectControllerOfDocument(OpenDocument* document);

  // Places the browser over the window: its frame at least the card width + 200 wide
  // (never wider than the screen), as high as the screen's available area, within it.
  // Till the window system has framed the browser, its frame is taken to be like the
  // covered window's; once framed, it is fitted again by its own.
  void setWindowFrameToCoverWindow(const QWidget* window);
  // Builds the cards of the date.
  void setDenpyouLayerForDate(Date date);
  // Empties the browser.
  void removeDenpyouLayers();

  // The actions of the fields, buttons and slider.
  void changeDisplayDenpyouDate();
  void showPreviousDenpyou();
  void showNextDenpyou();
  void changeDisplayDenpyouNo();
  void scrollDenpyou();
  // A click (clickCount 1) or double click (2) at a point of the card area.
  void mouseDownInCards(const QPoint& point, int clickCount);
  void handleDoubleClickOnFrontDenpyou();
  // Ends the browser and shows the voucher of the journal entry.
  void displayFurikaedenpyouForShiwakeIndex(size_t shiwakeIndex);

  // The journal index of each card, front (the earliest voucher) first.
  const std::vector<size_t>& cards() const { return cards_; }
  int numberOfDenpyou() const { return static_cast<int>(cards_.size()); }
  // The card chosen by the slider (the front card), -1 for none.
  int frontCard() const;
  QWidget* cardWidget(int card) const;
  QWidget* animationView() const { return animationView_; }
  QSlider* denpyouSlider() const { return denpyouSlider_; }
  QLineEdit* dateField() const { return dateField_; }
  QLineEdit* denpyouNoField() const { return denpyouNoField_; }
  QPushButton* previousDateButton() const { return previousDateButton_; }
  QPushButton* nextDateButton() const { return nextDateButton_; }
  int totalWidth() const { return totalWidth_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

private:
  class Card;

  void setRectSize();
  QPoint homeOfCard(int card, int chosen) const;
  void showDate(Date date);
  std::optional<Date> fieldDate() const;
  // Fits the browser again once the window system tells its own frame.
  void fitWhenFramed();

  OpenDocument* document_;
  std::unique_ptr<HidukeFormatter> hidukeFormatter_;
  int lineHeight_ = 0, dateWidth_ = 0, kamokuWidth_ = 0, kingakuWidth_ = 0, tekiyouWidth_ = 0, totalWidth_ = 0;
  int layerTranslateY_ = 0;
  std::vector<size_t> cards_;
  std::vector<Card*> cardWidgets_;
  bool gathering_ = false;
  QPointer<const QWidget> coveredWindow_;
  bool fitWhenFramed_ = false;
  QWidget* animationView_;
  QSlider* denpyouSlider_;
  QLineEdit* dateField_;
  QLineEdit* denpyouNoField_;
  QPushButton* previousDateButton_;
  QPushButton* nextDateButton_;
};

}  // namespace kivo
