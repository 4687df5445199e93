#include "core/cls_ToolTipText.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QCursor>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPersistentModelIndex>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <array>

#include "platform/TextCodec.h"

namespace {

constexpr int kMargin = 4;
constexpr int kIconSize = 16;
constexpr int kIconGap = 4;
constexpr qreal kBalloonRadius = 8;

bool isDefaultColour(const QColor& colour) {
    return !colour.isValid() || colour == Qt::black;
}

// The popup window; a child of the control so that it goes when the control goes.
class TipWindow : public QWidget {
public:
    TipWindow(QWidget* owner, bool balloon)
        : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint), balloon_(balloon) {
        setObjectName(QStringLiteral("ToolTipWindow"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setPalette(QToolTip::palette());
        setFont(QToolTip::font());

        auto* column = new QVBoxLayout(this);
        const int margin = balloon_ ? 2 * kMargin : kMargin;
        column->setContentsMargins(margin, margin, margin, margin);
        column->setSpacing(2);
        auto* titleRow = new QHBoxLayout;
        titleRow->setSpacing(kIconGap);
        QFont boldFont = font();
        boldFont.setBold(true);
        title->setFont(boldFont);
        for (QLabel* label : {title, text}) {
            label->setTextFormat(Qt::PlainText);  // data texts are never markup
            label->setWordWrap(true);
        }
        titleRow->addWidget(icon);
        titleRow->addWidget(title);
        titleRow->addStretch();
        column->addLayout(titleRow);
        column->addWidget(text);
        icon->hide();
        title->hide();
    }

    QLabel* const icon = new QLabel(this);
    QLabel* const title = new QLabel(this);
    QLabel* const text = new QLabel(this);

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, balloon_);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setBrush(palette().color(QPalette::Window));
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        if (balloon_)
            painter.drawRoundedRect(frame, kBalloonRadius, kBalloonRadius);
        else
            painter.drawRect(frame);
    }

    void resizeEvent(QResizeEvent*) override {
        if (!balloon_) return;
        QPainterPath outline;
        outline.addRoundedRect(QRectF(rect()), kBalloonRadius, kBalloonRadius);
        setMask(QRegion(outline.toFillPolygon().toPolygon()));
    }

private:
    bool balloon_;
};

// A nested layout keeps the heights it measured (a hidden title row counts as none) until it
// is invalidated itself; invalidating the top layout alone leaves those in place.
void invalidateAll(QLayout& layout) {
    layout.invalidate();
    for (int i = 0; i < layout.count(); ++i)
        if (QLayout* nested = layout.itemAt(i)->layout()) invalidateAll(*nested);
}

int naturalWidth(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

}  // namespace

// The live tip: watches the control's mouse and shows or hides the popup. Over a list it
// belongs to the row under the pointer when it is made, and shows only while the pointer
// rests on that row: a list's tips are made row by row as the pointer moves.
class cls_ToolTipText::Tip : public QObject {
public:
    Tip(QWidget* owner, int style, bool centered)
        : owner_(owner),
          list_(qobject_cast<QAbstractItemView*>(owner)),
          window_(new TipWindow(owner, style == 1)),
          centered_(centered) {
        owner->installEventFilter(this);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(owner))
            area->viewport()->installEventFilter(this);
        if (list_) {
            row_ = rowUnder(QCursor::pos());
            watchRows(*list_->model());
        }
        delayTimer_.setSingleShot(true);
        visibleTimer_.setSingleShot(true);
        // A coarse timer may fire up to 5% early; the delays are stated to the millisecond.
        delayTimer_.setTimerType(Qt::PreciseTimer);
        visibleTimer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&delayTimer_, &QTimer::timeout, this, [this] { show(); });
        QObject::connect(&visibleTimer_, &QTimer::timeout, this, [this] {
            hide();
            expired_ = true;  // back only after the pointer has left the control
        });
    }

    ~Tip() override { delete window_.data(); }
    Tip(const Tip&) = delete;
    Tip& operator=(const Tip&) = delete;

    void setTitle(const QString& title, int icon) {
        if (!window_) return;
        static constexpr std::array<QStyle::StandardPixmap, 3> kIcons = {
            QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning,
            QStyle::SP_MessageBoxCritical};
        const bool knownIcon = icon >= 1 && icon <= 3;
        if (knownIcon)
            window_->icon->setPixmap(window_->style()
                                         ->standardIcon(kIcons[static_cast<std::size_t>(icon - 1)])
                                         .pixmap(kIconSize, kIconSize));
        window_->icon->setVisible(knownIcon);
        window_->title->setText(title);
        window_->title->setVisible(!title.isEmpty() || icon != 0);
        relayout();
    }

    void setText(const QString& text) {
        text_ = text;
        if (!window_) return;
        window_->text->setText(text);
        if (text.isEmpty()) hide();
        relayout();
    }

    void setColours(const QColor& fore, const QColor& back) {
        if (!window_) return;
        QPalette palette = QToolTip::palette();
        if (!isDefaultColour(fore)) palette.setColor(QPalette::WindowText, fore);
        if (!isDefaultColour(back)) palette.setColor(QPalette::Window, back);
        window_->setPalette(palette);
    }

    void setDelay(int milliseconds) { delay_ = std::max(0, milliseconds); }
    void setVisibleTime(int milliseconds) { visibleTime_ = std::max(0, milliseconds); }
    void setWidth(int pixels) {
        width_ = std::max(1, pixels);
        relayout();
    }
    [[nodiscard]] int delay() const { return delay_; }
    [[nodiscard]] int visibleTime() const { return visibleTime_; }
    [[nodiscard]] int width() const { return width_; }

    [[nodiscard]] const TipWindow* window() const { return window_; }
    [[nodiscard]] bool isShowing() const { return window_ && window_->isVisible(); }

    // A tip made while the pointer already rests on the control counts from now.
    void armIfUnderMouse() {
        if (owner_ && owner_->underMouse())
            pointerAt(list_ ? list_->viewport() : owner_.data(), QCursor::pos());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Enter:
                pointerAt(watched, static_cast<QEnterEvent*>(event)->globalPosition().toPoint());
                break;
            case QEvent::MouseMove:
                pointerAt(watched, static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                break;
            case QEvent::Leave:
                hide();
                expired_ = false;
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::Hide:
                hide();
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Rows sorted, refilled or removed under a resting pointer bring no event of the pointer:
    // a tip whose row has moved away goes, shown or still waiting.
    void watchRows(const QAbstractItemModel& model) {
        const auto recheck = [this] {
            if (!onOwnRow(QCursor::pos())) hide();
        };
        QObject::connect(&model, &QAbstractItemModel::layoutChanged, this, recheck);
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, this, recheck);
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, this, recheck);
        QObject::connect(&model, &QAbstractItemModel::rowsMoved, this, recheck);
        QObject::connect(&model, &QAbstractItemModel::modelReset, this, recheck);
    }

    // The list's own events come from its heading and scroll bars, never from a row.
    void pointerAt(const QObject* watched, const QPoint& globalPos) {
        if (list_ && (watched != list_->viewport() || !onOwnRow(globalPos))) {
            hide();
            return;
        }
        arm(globalPos);
    }

    [[nodiscard]] QModelIndex rowUnder(const QPoint& globalPos) const {
        const QPoint local = list_->viewport()->mapFromGlobal(globalPos);
        if (!list_->viewport()->rect().contains(local)) return {};
        return list_->indexAt(local).siblingAtColumn(0);
    }

    [[nodiscard]] bool onOwnRow(const QPoint& globalPos) const {
        return row_.isValid() && rowUnder(globalPos) == row_;
    }

    void arm(const QPoint& globalPos) {
        pointer_ = globalPos;
        if (!isShowing() && !expired_ && !text_.isEmpty()) delayTimer_.start(delay_);
    }

    void show() {
        if (!window_ || !owner_ || text_.isEmpty()) return;
        // The rows may have moved under a resting pointer, or the pointer gone without a leave.
        if (list_ && !onOwnRow(QCursor::pos())) return;
        relayout();
        QPoint topLeft = pointer_ + QPoint(2, 20);
        if (centered_) {
            const QPoint below = owner_->mapToGlobal(QPoint(owner_->width() / 2, owner_->height()));
            topLeft = below - QPoint(window_->width() / 2, 0);
        }
        if (const QScreen* screen = owner_->screen()) {
            const QRect area = screen->availableGeometry();
            topLeft.setX(std::clamp(topLeft.x(), area.left(),
                                    std::max(area.left(), area.right() + 1 - window_->width())));
            topLeft.setY(std::clamp(topLeft.y(), area.top(),
                                    std::max(area.top(), area.bottom() + 1 - window_->height())));
        }
        window_->move(topLeft);
        window_->show();
        window_->raise();
        visibleTimer_.start(visibleTime_);
    }

    void hide() {
        delayTimer_.stop();
        visibleTimer_.stop();
        if (window_) window_->hide();
    }

    // Both lines share one width: as wide as the wider one needs, at most the tip width.
    void relayout() {
        if (!window_) return;
        const int margins = window_->layout()->contentsMargins().left() +
                            window_->layout()->contentsMargins().right();
        const int iconSpace = window_->icon->isVisibleTo(window_) ? kIconSize + kIconGap : 0;
        const int titleWidth =
            window_->title->isVisibleTo(window_)
                ? iconSpace + naturalWidth(window_->title->fontMetrics(), window_->title->text())
                : 0;
        const int textWidth = naturalWidth(window_->text->fontMetrics(), window_->text->text());
        const int inner = std::max(1, std::min(std::max(titleWidth, textWidth), width_ - margins));
        window_->title->setFixedWidth(std::max(1, inner - iconSpace));
        window_->text->setFixedWidth(inner);
        // adjustSize would cap a window at 2/3 of the screen and widen it to 200 pixels.
        QLayout* layout = window_->layout();
        invalidateAll(*layout);
        const int outer = inner + margins;
        window_->resize(outer, layout->totalHeightForWidth(outer));
    }

    QPointer<QWidget> owner_;
    QPointer<QAbstractItemView> list_;
    QPersistentModelIndex row_;  // over a list: the row the tip was made for
    QPointer<TipWindow> window_;
    QTimer delayTimer_;
    QTimer visibleTimer_;
    QPoint pointer_;
    QString text_;
    int delay_ = 0;
    int visibleTime_ = 0;
    int width_ = 1;
    bool centered_ = false;
    bool expired_ = false;
};

cls_ToolTipText::cls_ToolTipText() = default;

cls_ToolTipText::~cls_ToolTipText() = default;

void cls_ToolTipText::Style(int style) {
    style_ = style;
}

void cls_ToolTipText::Centered(bool centered) {
    centered_ = centered;
}

void cls_ToolTipText::ParentControl(QWidget* control) {
    parent_ = control;
}

void cls_ToolTipText::Create() {
    tip_.reset();
    if (!parent_) return;
    tip_ = std::make_unique<Tip>(parent_, style_, centered_);
    tip_->setDelay(100);
    tip_->setVisibleTime(10000);
    tip_->setWidth(800);
    tip_->setText(platform::toQt(text_));
    if (!title_.empty() || icon_ != 0) tip_->setTitle(platform::toQt(title_), icon_);
    tip_->setColours(foreColor_, backColor_);
    tip_->armIfUnderMouse();
}

void cls_ToolTipText::Icon(int icon) {
    icon_ = icon;
    if (tip_ && !title_.empty() && icon_ != 0) tip_->setTitle(platform::toQt(title_), icon_);
}

void cls_ToolTipText::Title(std::string_view title) {
    title_ = title;
    if (tip_ && !title_.empty() && icon_ != 0) tip_->setTitle(platform::toQt(title_), icon_);
}

void cls_ToolTipText::ForeColor(const QColor& colour) {
    foreColor_ = colour;
    if (tip_) tip_->setColours(foreColor_, backColor_);
}

void cls_ToolTipText::BackColor(const QColor& colour) {
    backColor_ = colour;
    if (tip_) tip_->setColours(foreColor_, backColor_);
}

void cls_ToolTipText::TipText(std::string_view text) {
    text_ = text;
    if (tip_) tip_->setText(platform::toQt(text_));
}

void cls_ToolTipText::VisibleTime(int milliseconds) {
    if (tip_) tip_->setVisibleTime(milliseconds);
}

int cls_ToolTipText::VisibleTime() const {
    return tip_ ? tip_->visibleTime() : 0;
}

void cls_ToolTipText::DelayTime(int milliseconds) {
    if (tip_) tip_->setDelay(milliseconds);
}

int cls_ToolTipText::DelayTime() const {
    return tip_ ? tip_->delay() : 0;
}

void cls_ToolTipText::TipWidth(int pixels) {
    if (tip_) tip_->setWidth(pixels);
}

int cls_ToolTipText::TipWidth() const {
    return tip_ ? tip_->width() : 0;
}

bool cls_ToolTipText::isShowing() const {
    return tip_ && tip_->isShowing();
}

std::string cls_ToolTipText::shownTitle() const {
    const TipWindow* window = tip_ ? tip_->window() : nullptr;
    if (window == nullptr || !window->title->isVisibleTo(window)) return {};
    return platform::fromQt(window->title->text());
}

std::string cls_ToolTipText::shownText() const {
    const TipWindow* window = tip_ ? tip_->window() : nullptr;
    return window == nullptr ? std::string() : platform::fromQt(window->text->text());
}

const QWidget* cls_ToolTipText::tipWindow() const {
    return tip_ ? tip_->window() : nullptr;
}
