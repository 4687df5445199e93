#include "core/OwnIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

#include <array>

namespace OwnIcons {
namespace {

// Every glyph draws in a 16x16 space; bars sit on whole pixels so that 16 px stays crisp.
using Draw = void (*)(QPainter&);

const QColor kInk(32, 32, 32);

QPixmap render(const char* name, Draw draw, int size) {
    const QString key = QStringLiteral("OwnIcons/%1/%2").arg(QLatin1String(name)).arg(size);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    pixmap = QPixmap(size, size);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QIcon makeIcon(const char* name, Draw draw) {
    QIcon icon;
    icon.addPixmap(render(name, draw, 16));
    icon.addPixmap(render(name, draw, 32));
    return icon;
}

void strokeWith(QPainter& p, const QPainterPath& path, qreal width, const QColor& colour = kInk) {
    p.strokePath(path, QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
}

void triangle(QPainter& p, bool up) {
    QPainterPath path;
    if (up) {
        path.moveTo(8, 5);
        path.lineTo(12, 10);
        path.lineTo(4, 10);
    } else {
        path.moveTo(4, 6);
        path.lineTo(12, 6);
        path.lineTo(8, 11);
    }
    path.closeSubpath();
    p.fillPath(path, QColor(80, 80, 80));
}

void disc(QPainter& p, const QColor& fill, const QColor& rim) {
    p.setPen(QPen(rim, 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

void unanswered(QPainter& p) {
    disc(p, QColor(236, 236, 236), QColor(128, 128, 128));
}

void correct(QPainter& p) {
    disc(p, QColor(40, 150, 60), QColor(20, 100, 40));
    QPainterPath tick;
    tick.moveTo(4.5, 8.5);
    tick.lineTo(7, 11);
    tick.lineTo(11.5, 5.5);
    strokeWith(p, tick, 2, Qt::white);
}

void wrong(QPainter& p) {
    disc(p, QColor(200, 40, 40), QColor(140, 20, 20));
    QPainterPath cross;
    cross.moveTo(5, 5);
    cross.lineTo(11, 11);
    cross.moveTo(11, 5);
    cross.lineTo(5, 11);
    strokeWith(p, cross, 2, Qt::white);
}

// A curved arrow across the glyph: pointing left (undo) or right (redo).
void turnArrow(QPainter& p, bool left) {
    QPainterPath arc;
    arc.moveTo(left ? 13 : 3, 12);
    arc.arcTo(QRectF(3, 4, 10, 10), left ? 0 : 180, left ? 140 : -140);
    strokeWith(p, arc, 1.6);
    QPainterPath head;
    const qreal x = left ? 4 : 12;
    head.moveTo(x, 3.5);
    head.lineTo(left ? x + 3.5 : x - 3.5, 6);
    head.lineTo(x, 8.5);
    head.closeSubpath();
    p.fillPath(head, kInk);
}

void undo(QPainter& p) {
    turnArrow(p, true);
}
void redo(QPainter& p) {
    turnArrow(p, false);
}

// Four lines, the second and fourth shorter, placed by `offset` (0 left, 2 centre, 4 right).
void alignedLines(QPainter& p, int offset) {
    for (int row = 0; row < 4; ++row) {
        const bool isShort = row % 2 == 1;
        p.fillRect(QRectF(isShort ? 2 + offset : 2, 3 + row * 3, isShort ? 8 : 12, 1), kInk);
    }
}

void alignLeft(QPainter& p) {
    alignedLines(p, 0);
}
void alignCentre(QPainter& p) {
    alignedLines(p, 2);
}
void alignRight(QPainter& p) {
    alignedLines(p, 4);
}

void bulletList(QPainter& p) {
    for (int row = 0; row < 3; ++row) {
        p.fillRect(QRectF(2, 3 + row * 4, 2, 2), kInk);
        p.fillRect(QRectF(6, 4 + row * 4, 8, 1), kInk);
    }
}

QPainterPath letterA(qreal left, qreal top, qreal width, qreal height) {
    QPainterPath path;
    path.moveTo(left, top + height);
    path.lineTo(left + width / 2, top);
    path.lineTo(left + width, top + height);
    path.moveTo(left + width * 0.25, top + height * 0.62);
    path.lineTo(left + width * 0.75, top + height * 0.62);
    return path;
}

void font(QPainter& p) {
    strokeWith(p, letterA(3, 2, 10, 12), 1.6);
}

void colour(QPainter& p) {
    strokeWith(p, letterA(4, 1, 8, 9), 1.5);
    p.fillRect(QRectF(2, 12, 12, 3), QColor(220, 30, 30));
}

void print(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(1.5, 6.5, 13, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.fillRect(QRectF(12, 8, 1, 1), QColor(40, 160, 40));
}

void preview(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 8, 11));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(6.5, 6.5, 5, 5));
    QPainterPath handle;
    handle.moveTo(11, 11);
    handle.lineTo(14.5, 14.5);
    strokeWith(p, handle, 2);
}

struct NamedDraw {
    const char* name;
    Draw draw;
};

constexpr std::array<NamedDraw, 3> kResults = {{
    {"unanswered", unanswered},
    {"correct", correct},
    {"wrong", wrong},
}};

constexpr std::array<NamedDraw, 10> kToolbar = {{
    {"print", print},
    {"preview", preview},
    {"undo", undo},
    {"redo", redo},
    {"alignLeft", alignLeft},
    {"alignCentre", alignCentre},
    {"alignRight", alignRight},
    {"bulletList", bulletList},
    {"font", font},
    {"colour", colour},
}};

// Each table's icons are drawn once; the copies handed out share their pixmaps.
template <const auto& table>
QIcon pick(int oneBased) {
    constexpr std::size_t N = table.size();
    if (oneBased < 1 || oneBased > static_cast<int>(N)) return {};
    static const std::array<QIcon, N> icons = [] {
        std::array<QIcon, N> drawn;
        for (std::size_t k = 0; k < N; ++k)
            drawn[k] = makeIcon(table[k].name, table[k].draw);
        return drawn;
    }();
    return icons[static_cast<std::size_t>(oneBased - 1)];
}

}  // namespace

QIcon sortArrow(bool ascending) {
    static const QIcon up = makeIcon("sortUp", [](QPainter& p) { triangle(p, true); });
    static const QIcon down = makeIcon("sortDown", [](QPainter& p) { triangle(p, false); });
    return ascending ? up : down;
}

QIcon resultIcon(int kind) {
    return pick<kResults>(kind);
}

QIcon noteToolbarIcon(int index) {
    return pick<kToolbar>(index);
}

}  // namespace OwnIcons
