#include "entry/gui/FurikaedenpyouSelectController.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "document/Journal.h"
#include "document/gui/OpenDocument.h"
#include "entry/FurikaedenpyouBrowser.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "fields/AmountFormatter.h"
#include "fields/HidukeFormatter.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "platform/QtStrings.h"
#include "platform/WindowPlacement.h"

namespace kivo {
namespace {

constexpr int kFirstCardMargin = 60;  // below the front card
constexpr double kTiltDegrees = 30;
constexpr double kPerspectiveDistance = 420;
constexpr int kMinDenpyouNo = -9999;
constexpr int kMaxDenpyouNo = 99999;
const char* const kEmptyTitle = "表示する振替伝票の日付を入力";

QFont cardFont()
{
  QFont f(QStringLiteral("Helvetica"));
  f.setPixelSize(11);
  return f;
}

QString text(const std::optional<std::string>& s) { return s ? QString::fromStdString(*s) : QString(); }

}  // namespace

// One card: the picture of a voucher's first rows, tilted back, drawn once.
class FurikaedenpyouSelectController::Card : public QWidget {
public:
  Card(FurikaedenpyouSelectController* browser, size_t shiwakeIndex, QWidget* parent)
      : QWidget(parent), browser_(browser), shiwakeIndex_(shiwakeIndex)
  {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const int h = 10 * browser->lineHeight_;
    // Room at the sides for the near edge, which the perspective widens.
    margin_ = browser->totalWidth_ / 8;
    resize(browser->totalWidth_ + 2 * margin_, h + 2);
    picture_ = QPixmap(QSize(browser->totalWidth_ + 2, h + 2) * devicePixelRatioF());
    picture_.setDevicePixelRatio(devicePixelRatioF());
    picture_.fill(Qt::transparent);
    QPainter p(&picture_);
    drawVoucher(p);
  }

  size_t shiwakeIndex() const { return shiwakeIndex_; }
  // The card itself within the widget.
  QRectF cardRect() const { return QRectF(margin_, 0, width() - 2 * margin_, height()); }
  int margin() const { return margin_; }
  bool dealtAway = false;

  // The tilt about the card's horizontal centre line, with perspective.
  QTransform tilt() const
  {
    QTransform t;
    t.translate(width() / 2.0, height() / 2.0);
    // Rotated about the x axis and seen from kPerspectiveDistance: the upper half
    // recedes.
    const double a = kTiltDegrees * M_PI / 180;
    t = QTransform(1, 0, 0, 0, std::cos(a), -std::sin(a) / kPerspectiveDistance, 0, 0, 1) * t;
    t.translate(-width() / 2.0, -height() / 2.0);
    return t;
  }
  // Whether the point (in the parent's coordinates) lies on the tilted card.
  bool containsPoint(const QPoint& parentPoint) const
  {
    return tilt().map(QPolygonF(cardRect())).containsPoint(QPointF(parentPoint - pos()), Qt::OddEvenFill);
  }

protected:
  void paintEvent(QPaintEvent*) override
  {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setTransform(tilt());
    p.drawPixmap(margin_, 0, picture_);
  }

private:
  void drawVoucher(QPainter& p)
  {
    const FurikaedenpyouSelectController& b = *browser_;
    const MyDocument& doc = b.document_->document();
    const int L = b.lineHeight_;
    const int W = b.totalWidth_;
    p.fillRect(QRect(0, 0, W, 10 * L), Qt::white);
    p.setFont(cardFont());
    HidukeFormatter hiduke(doc, true);
    KamokuFormatter kamoku(doc, true);
    HojyoKamokuFormatter hojyoKamoku(doc);
    JigyoubuFormatter jigyoubu(doc);
    AmountFormatter kingaku(doc.kaisya().decimalPrecision(), AmountFormatter::Range::Unlimited);
    const QPalette pal = QApplication::palette();
    const QColor bands[] = {pal.color(QPalette::Base), pal.color(QPalette::AlternateBase)};
    QPainterPath solid, dashed;
    const std::vector<ShiwakePtr> rows = FurikaedenpyouBrowser::rowsOfCard(doc, shiwakeIndex_);
    const int columns[] = {b.dateWidth_, b.kamokuWidth_, b.kingakuWidth_, b.kamokuWidth_, b.kingakuWidth_};
    for (size_t r = 0; r < rows.size(); ++r) {
      const Shiwake& s = *rows[r];
      const int y0 = static_cast<int>(r) * 2 * L;
      const QRect upper(0, y0, 0, L), lower(0, y0 + L, 0, L);
      p.fillRect(QRect(0, y0, W, 2 * L), bands[r % 2]);
      p.setPen(Qt::black);
      dashed.moveTo(0.5, y0 + L);
      dashed.lineTo(W + 0.5, y0 + L);
      solid.moveTo(0.5, y0 + 2 * L);
      solid.lineTo(W + 0.5, y0 + 2 * L);
      auto draw = [&](const QRect& line, int x, int w, const QString& t, Qt::Alignment a) {
        p.drawText(QRect(x + 3, line.y(), w - 6, L), a | Qt::AlignVCenter, t);
      };
      int x = 0;
      draw(upper, x, b.dateWidth_, text(hiduke.stringForObjectValue(FieldValue::date(s.date()))), Qt::AlignLeft);
      draw(lower, x, b.dateWidth_, QString::number(s.denpyouNo()), Qt::AlignRight);
      x += b.dateWidth_;
      struct Side {
        int32_t kamoku, hojyo, jigyoubu;
        int64_t amount;
      } const sides[] = {
          {s.karikataKamokuCode(), s.karikataHojyoKamokuCode(), s.karikataJigyoubuCode(), s.karikataKingaku()},
          {s.kashikataKamokuCode(), s.kashikataHojyoKamokuCode(), s.kashikataJigyoubuCode(), s.kashikataKingaku()},
      };
      for (const Side& side : sides) {
        if (side.kamoku != -1) {
          draw(upper, x, b.kamokuWidth_, text(kamoku.stringForObjectValue(FieldValue::code(side.kamoku))),
               Qt::AlignLeft);
          if (side.hojyo != -1) {
            hojyoKamoku.setParentKamokuFromKamokuCode(side.kamoku);
            draw(lower, x, b.kamokuWidth_, text(hojyoKamoku.stringForObjectValue(FieldValue::code(side.hojyo))),
                 Qt::AlignLeft);
          }
          draw(upper, x + b.kamokuWidth_, b.kingakuWidth_,
               text(kingaku.stringForObjectValue(FieldValue::amount(side.amount))), Qt::AlignRight);
          if (side.jigyoubu != -1)
            draw(lower, x + b.kamokuWidth_, b.kingakuWidth_,
                 text(jigyoubu.stringForObjectValue(FieldValue::code(side.jigyoubu))), Qt::AlignLeft);
        }
        x += b.kamokuWidth_ + b.kingakuWidth_;
      }
      draw(upper, x, b.tekiyouWidth_, QString::fromStdString(s.tekiyou()), Qt::AlignLeft);
      int edge = 0;
      for (int w : columns) {
        edge += w;
        solid.moveTo(edge + 0.5, y0);
        solid.lineTo(edge + 0.5, y0 + 2 * L);
      }
    }
    p.setPen(QPen(Qt::black, 0.5));
    p.drawPath(solid);
    p.setPen(QPen(Qt::black, 0.5, Qt::CustomDashLine));
    QPen dash(Qt::black, 0.5);
    dash.setDashPattern({10, 4});  // 5 on, 2 off at half a point
    p.setPen(dash);
    p.drawPath(dashed);
    p.setPen(QPen(QColor::fromRgbF(0.5, 0.5, 0.5), 2));
    p.drawRect(QRectF(1, 1, W - 2, 10 * L - 2));
  }

  FurikaedenpyouSelectController* browser_;
  size_t shiwakeIndex_;
  int margin_ = 0;
  QPixmap picture_;
};

FurikaedenpyouSelectController::FurikaedenpyouSelectController(OpenDocument* document, QWidget* parent)
    : QDialog(parent),
      document_(document),
      hidukeFormatter_(std::make_unique<HidukeFormatter>(document->document(), true))
{
  setWindowModality(Qt::ApplicationModal);
  setRectSize();
  animationView_ = new QWidget(this);
  animationView_->setObjectName(QStringLiteral("animationView"));
  animationView_->setAutoFillBackground(true);
  QPalette pal = animationView_->palette();
  pal.setColor(QPalette::Window, QColor(0x5a, 0x63, 0x6e));
  animationView_->setPalette(pal);
  animationView_->installEventFilter(this);

  dateField_ = new QLineEdit(this);
  dateField_->setPlaceholderText(QStringLiteral("04/01"));
  dateField_->setFixedWidth(90);
  previousDateButton_ = new QPushButton(QStringLiteral("◀"), this);
  nextDateButton_ = new QPushButton(QStringLiteral("▶"), this);
  previousDateButton_->setToolTip(QStringLiteral("前の日付"));
  nextDateButton_->setToolTip(QStringLiteral("次の日付"));
  for (QPushButton* b : {previousDateButton_, nextDateButton_}) {
    b->setAutoDefault(false);
    b->setFixedWidth(32);
  }
  denpyouNoField_ = new QLineEdit(this);
  denpyouNoField_->setFixedWidth(80);
  denpyouNoField_->setAlignment(Qt::AlignRight);
  denpyouSlider_ = new QSlider(Qt::Horizontal, this);
  denpyouSlider_->setRange(0, 0);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("日付:"), this));
  top->addWidget(previousDateButton_);
  top->addWidget(dateField_);
  top->addWidget(nextDateButton_);
  top->addSpacing(16);
  top->addWidget(new QLabel(QStringLiteral("伝票番号:"), this));
  top->addWidget(denpyouNoField_);
  top->addSpacing(16);
  top->addWidget(denpyouSlider_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(animationView_, 1);

  connect(dateField_, &QLineEdit::returnPressed, this, [this] { changeDisplayDenpyouDate(); });
  connect(denpyouNoField_, &QLineEdit::returnPressed, this, [this] { changeDisplayDenpyouNo(); });
  connect(previousDateButton_, &QPushButton::clicked, this, [this] { showPreviousDenpyou(); });
  connect(nextDateButton_, &QPushButton::clicked, this, [this] { showNextDenpyou(); });
  connect(denpyouSlider_, &QSlider::valueChanged, this, [this] { scrollDenpyou(); });
  removeDenpyouLayers();
}

FurikaedenpyouSelectController::~FurikaedenpyouSelectController() = default;

FurikaedenpyouSelectController* FurikaedenpyouSelectController::selectControllerOfDocument(OpenDocument* document)
{
  if (!document) return nullptr;
  using Owned = OpenDocument::OwnedController;
  auto* controller = document->ownedControllerAs<FurikaedenpyouSelectController>(Owned::FurikaedenpyouSelect);
  if (!controller) {
    controller = new FurikaedenpyouSelectController(document);
    document->setOwnedController(Owned::FurikaedenpyouSelect, controller);
  }
  return controller;
}

void FurikaedenpyouSelectController::setRectSize()
{
  const QFontMetrics m(cardFont());
  const QSize kanji = m.size(0, QStringLiteral("林"));
  const QSize zero = m.size(0, QStringLiteral("0"));
  lineHeight_ = zero.height() + 8;
  dateWidth_ = 5 * zero.width() + 6;
  kamokuWidth_ = 8 * kanji.width() + 6;
  const AmountFormatter amounts(document_->document().kaisya().decimalPrecision(), AmountFormatter::Range::Input);
  const QString largest = text(amounts.stringForObjectValue(FieldValue::amount(Kaisya::kMaxInputAmountValue)));
  kingakuWidth_ = std::max(m.horizontalAdvance(largest) + 6, kamokuWidth_);
  tekiyouWidth_ = 20 * kanji.width() + 6;
  totalWidth_ = dateWidth_ + 2 * kamokuWidth_ + 2 * kingakuWidth_ + tekiyouWidth_;
  layerTranslateY_ = 2 * lineHeight_ - 6;
}

void FurikaedenpyouSelectController::setWindowFrameToCoverWindow(const QWidget* window)
{
  coveredWindow_ = window;
  QScreen* screen = window && window->screen() ? window->screen() : QApplication::primaryScreen();
  const QRect v = screen->availableGeometry();
  const QRect f = window ? window->frameGeometry() : v;
  // The frame, title bar included, covers the screen's visible height; never wider
  // than the screen.
  const int width = std::min(std::max(f.width(), totalWidth_ + 200), v.width());
  const QRect frame(WindowPlacement::keptOnScreen(QRect(f.x() + (f.width() - width) / 2, v.y(), width, v.height()), v),
                    QSize(width, v.height()));
  // The window system's frame around the contents: this window's once known, else the
  // covered window's (a maximized one goes without borders), till this one's is known.
  const bool framed = isVisible() && frameGeometry() != geometry();
  fitWhenFramed_ = !framed;
  const QWidget* from = framed ? this : window;
  const QMargins margins = from ? QMargins(from->geometry().left() - from->frameGeometry().left(),
                                           from->geometry().top() - from->frameGeometry().top(),
                                           from->frameGeometry().right() - from->geometry().right(),
                                           from->frameGeometry().bottom() - from->geometry().bottom())
                                : QMargins();
  setGeometry(frame.marginsRemoved(margins));
}

void FurikaedenpyouSelectController::fitWhenFramed()
{
  if (fitWhenFramed_ && isVisible() && frameGeometry() != geometry()) setWindowFrameToCoverWindow(coveredWindow_);
}

void FurikaedenpyouSelectController::showEvent(QShowEvent* event)
{
  QDialog::showEvent(event);
  fitWhenFramed();
}

void FurikaedenpyouSelectController::moveEvent(QMoveEvent* event)
{
  QDialog::moveEvent(event);
  fitWhenFramed();
}

int FurikaedenpyouSelectController::frontCard() const
{
  return cards_.empty() ? -1 : std::clamp(denpyouSlider_->value(), 0, numberOfDenpyou() - 1);
}

QWidget* FurikaedenpyouSelectController::cardWidget(int card) const
{
  return card >= 0 && card < static_cast<int>(cardWidgets_.size()) ? cardWidgets_[static_cast<size_t>(card)] : nullptr;
}

QPoint FurikaedenpyouSelectController::homeOfCard(int card, int chosen) const
{
  // The chosen card stands where the first card stands; cards behind it rise up the
  // view, dealt-away cards lie to the left.
  const int cardHeight = 10 * lineHeight_;
  const int baseY = std::max(0, animationView_->height() - cardHeight - kFirstCardMargin);
  const int x = (animationView_->width() - totalWidth_) / 2 - totalWidth_ / 8 - (card < chosen ? totalWidth_ + 100 : 0);
  return {x, baseY - (card - chosen) * layerTranslateY_};
}

void FurikaedenpyouSelectController::setDenpyouLayerForDate(Date date)
{
  for (Card* c : cardWidgets_) delete c;
  cardWidgets_.clear();
  gathering_ = false;
  cards_ = FurikaedenpyouBrowser::cardsOfDate(document_->document(), date);
  // Built back to front, so that the earliest voucher lies in front.
  cardWidgets_.resize(cards_.size());
  for (size_t k = cards_.size(); k-- > 0;) {
    auto* card = new Card(this, cards_[k], animationView_);
    card->move(homeOfCard(static_cast<int>(k), 0));
    card->show();
    cardWidgets_[k] = card;
  }
  setWindowTitle(QStringLiteral("%1 件の伝票").arg(numberOfDenpyou()));
  const QSignalBlocker blocker(denpyouSlider_);
  denpyouSlider_->setRange(0, std::max(0, numberOfDenpyou() - 1));
  denpyouSlider_->setValue(0);
  scrollDenpyou();
}

void FurikaedenpyouSelectController::removeDenpyouLayers()
{
  for (Card* c : cardWidgets_) delete c;
  cardWidgets_.clear();
  cards_.clear();
  gathering_ = false;
  {
    const QSignalBlocker blocker(denpyouSlider_);
    denpyouSlider_->setRange(0, 0);
    denpyouSlider_->setValue(0);
  }
  dateField_->clear();
  denpyouNoField_->clear();
  setWindowTitle(qs(kEmptyTitle));
}

std::optional<Date> FurikaedenpyouSelectController::fieldDate() const
{
  FieldValue value;
  if (!hidukeFormatter_->getObjectValue(value, dateField_->text().toStdString(), nullptr) || !value.isDate())
    return std::nullopt;
  return value.dateValue();
}

void FurikaedenpyouSelectController::showDate(Date date)
{
  dateField_->setText(text(hidukeFormatter_->stringForObjectValue(FieldValue::date(date))));
  dateField_->selectAll();
  setDenpyouLayerForDate(date);
}

void FurikaedenpyouSelectController::changeDisplayDenpyouDate()
{
  if (const std::optional<Date> d = fieldDate())
    showDate(*d);
  else
    removeDenpyouLayers();
}

void FurikaedenpyouSelectController::showPreviousDenpyou()
{
  const std::optional<Date> shown = cards_.empty() ? fieldDate() : std::nullopt;
  if (const std::optional<Date> d = FurikaedenpyouBrowser::previousDate(document_->document(), cards_, shown))
    showDate(*d);
}

void FurikaedenpyouSelectController::showNextDenpyou()
{
  const std::optional<Date> shown = cards_.empty() ? fieldDate() : std::nullopt;
  if (const std::optional<Date> d = FurikaedenpyouBrowser::nextDate(document_->document(), cards_, shown)) showDate(*d);
}

void FurikaedenpyouSelectController::changeDisplayDenpyouNo()
{
  bool ok = false;
  const int n = denpyouNoField_->text().trimmed().toInt(&ok);
  if (!ok || n < kMinDenpyouNo || n > kMaxDenpyouNo) {
    removeDenpyouLayers();
    return;
  }
  denpyouNoField_->clear();
  const MyDocument& doc = document_->document();
  const std::optional<size_t> found = FurikaedenpyouBrowser::firstIndexOfDenpyouNo(doc, n);
  if (!found) return;
  const Date date = doc.journal()[*found]->date();
  if (cards_.empty() || Journal::compareDate(doc.journal()[cards_.back()]->date(), date) != 0) showDate(date);
  const auto it = std::find(cards_.begin(), cards_.end(), *found);
  // The voucher may have gone from the journal's cards since: then nothing moves.
  if (it == cards_.end()) return;
  denpyouSlider_->setValue(static_cast<int>(it - cards_.begin()));
  scrollDenpyou();
}

void FurikaedenpyouSelectController::scrollDenpyou()
{
  const int chosen = frontCard();
  for (int k = 0; k < numberOfDenpyou(); ++k) {
    Card* card = cardWidgets_[static_cast<size_t>(k)];
    card->dealtAway = k < chosen;
    const QPoint to = homeOfCard(k, chosen);
    if (card->pos() == to) continue;
    auto* animation = new QPropertyAnimation(card, "pos", card);
    animation->setDuration(kAnimationMilliseconds);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(card->pos());
    animation->setEndValue(to);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
  }
}

void FurikaedenpyouSelectController::mouseDownInCards(const QPoint& point, int clickCount)
{
  const int front = frontCard();
  if (front < 0 || gathering_) return;
  if (cardWidgets_[static_cast<size_t>(front)]->containsPoint(point)) {
    if (clickCount == 2) handleDoubleClickOnFrontDenpyou();
    return;
  }
  // From the front of the stack to its back; the first card under the point.
  for (int k = 0; k < numberOfDenpyou(); ++k) {
    if (!cardWidgets_[static_cast<size_t>(k)]->containsPoint(point)) continue;
    if (clickCount == 1) denpyouSlider_->setValue(k);
    return;
  }
}

void FurikaedenpyouSelectController::handleDoubleClickOnFrontDenpyou()
{
  const int front = frontCard();
  if (front < 0) return;
  const size_t index = cards_[static_cast<size_t>(front)];
  if (front == numberOfDenpyou() - 1) {
    displayFurikaedenpyouForShiwakeIndex(index);
    return;
  }
  // The cards behind gather onto the front card; then its voucher is shown.
  gathering_ = true;
  auto* group = new QParallelAnimationGroup(this);
  const QPoint to = cardWidgets_[static_cast<size_t>(front)]->pos();
  for (int k = front + 1; k < numberOfDenpyou(); ++k) {
    Card* card = cardWidgets_[static_cast<size_t>(k)];
    auto* animation = new QPropertyAnimation(card, "pos", group);
    animation->setDuration(kAnimationMilliseconds);
    animation->setStartValue(card->pos());
    animation->setEndValue(to);
    group->addAnimation(animation);
  }
  connect(group, &QAbstractAnimation::finished, this, [this, index] { displayFurikaedenpyouForShiwakeIndex(index); });
  group->start(QAbstractAnimation::DeleteWhenStopped);
}

void FurikaedenpyouSelectController::displayFurikaedenpyouForShiwakeIndex(size_t shiwakeIndex)
{
  gathering_ = false;
  hide();
  const MyDocument& doc = document_->document();
  // The journal may have changed under a card: an index past it shows nothing.
  if (shiwakeIndex >= doc.journal().size()) return;
  const int32_t n = doc.journal()[shiwakeIndex]->denpyouNo();
  auto* voucher = qobject_cast<FurikaedenpyouController*>(document_->furikaedenpyouController());
  if (!voucher) return;
  voucher->showWindow();
  voucher->showDenpyouOfDenpyouNo(n);
}

bool FurikaedenpyouSelectController::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == animationView_) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      mouseDownInCards(mouse->position().toPoint(), event->type() == QEvent::MouseButtonDblClick ? 2 : 1);
      return true;
    }
    if (event->type() == QEvent::Resize) {
      // The stack stays centred in the view.
      const int chosen = frontCard();
      for (int k = 0; k < numberOfDenpyou(); ++k) cardWidgets_[static_cast<size_t>(k)]->move(homeOfCard(k, chosen));
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kivo
