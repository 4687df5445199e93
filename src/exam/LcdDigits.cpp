#include "exam/LcdDigits.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <initializer_list>

#include "platform/Look.h"

namespace {

constexpr int kGridColumns = 13;
constexpr int kGridRows = 19;

// A horizontal or vertical run of grid pixels, both ends included.
struct Run {
    int x1, y1, x2, y2;
};

struct Segment {
    std::array<Run, 3> runs;
    // Bit n set: digit n lights the segment.
    unsigned digits;
};

constexpr unsigned digitsOf(std::initializer_list<int> digits) {
    unsigned mask = 0;
    for (const int d : digits)
        mask |= 1U << d;
    return mask;
}

// In drawing order: where runs overlap, the later segment's colour wins.
constexpr std::array<Segment, 7> kSegments{{
    {{{{3, 0, 10, 0}, {2, 1, 11, 1}, {3, 2, 10, 2}}}, digitsOf({0, 2, 3, 5, 6, 7, 8, 9})},
    {{{{0, 3, 0, 8}, {1, 2, 1, 9}, {2, 3, 2, 8}}}, digitsOf({0, 4, 5, 6, 8, 9})},
    {{{{10, 3, 10, 8}, {11, 2, 11, 9}, {12, 3, 12, 8}}}, digitsOf({0, 1, 2, 3, 4, 7, 8, 9})},
    {{{{3, 8, 10, 8}, {2, 9, 11, 9}, {3, 10, 10, 10}}}, digitsOf({2, 3, 4, 5, 6, 8, 9})},
    {{{{0, 11, 0, 16}, {1, 10, 1, 17}, {2, 11, 2, 16}}}, digitsOf({0, 2, 6, 8})},
    {{{{10, 11, 10, 16}, {11, 10, 11, 17}, {12, 11, 12, 16}}},
     digitsOf({0, 1, 3, 4, 5, 6, 7, 8, 9})},
    {{{{3, 16, 10, 16}, {2, 17, 11, 17}, {3, 18, 10, 18}}}, digitsOf({0, 2, 3, 5, 6, 8, 9})},
}};

// Grid line k of n cells across `extent` device pixels, on whole pixels so that the
// scaled segments stay sharp and touch without gaps.
int gridEdge(int k, int n, int extent) {
    return k * extent / n;
}

void startPainting(QWidget* box, QPainter& painter) {
    painter.fillRect(box->rect(), box->palette().window());
}

void usePanelBackground(QWidget* box) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, platform::PanelColour());
    box->setPalette(palette);
    box->setAttribute(Qt::WA_OpaquePaintEvent);
}

}  // namespace

LcdDigit::LcdDigit(QWidget* parent) : QWidget(parent) {
    usePanelBackground(this);
}

void LcdDigit::Draw(int number, const QColor& lit) {
    shown_ = Shown{number, lit};
    update();
}

void LcdDigit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    startPainting(this, painter);
    if (!shown_) return;
    const bool known = shown_->number >= 0 && shown_->number <= 9;
    for (const Segment& segment : kSegments) {
        const bool on = known && ((segment.digits >> shown_->number) & 1U) != 0;
        const QColor colour = on ? shown_->lit : LcdUnlitColour();
        for (const Run& run : segment.runs) {
            const int left = gridEdge(run.x1, kGridColumns, width());
            const int top = gridEdge(run.y1, kGridRows, height());
            const int right = gridEdge(run.x2 + 1, kGridColumns, width());
            const int bottom = gridEdge(run.y2 + 1, kGridRows, height());
            painter.fillRect(left, top, right - left, bottom - top, colour);
        }
    }
}

LcdColon::LcdColon(QWidget* parent) : QWidget(parent) {
    usePanelBackground(this);
}

void LcdColon::Draw(const QColor& lit) {
    lit_ = lit;
    update();
}

void LcdColon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    startPainting(this, painter);
    if (!lit_) return;
    // Dots of radius 1 grid pixel (3 across) at rows 5 and 13 of the digit's grid, centred
    // across the box.
    const qreal cell = std::min(width() / 3.0, height() / static_cast<qreal>(kGridRows));
    const qreal radius = 1.5 * cell;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(*lit_);
    for (const int row : {5, 13}) {
        const QPointF centre(width() / 2.0, (row + 0.5) * height() / kGridRows);
        painter.drawEllipse(centre, radius, radius);
    }
}
