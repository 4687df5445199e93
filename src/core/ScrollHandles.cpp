#include "core/ScrollHandles.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionSlider>

namespace {

// Follows the application's style in everything but the handle.
class DarkHandleStyle : public QProxyStyle {
public:
    explicit DarkHandleStyle(QObject* owner) {
        setParent(owner);
        // The base style it makes is its child, named after the style; unnamed, it leaves no
        // name twice among the controls of a window with several lists.
        baseStyle()->setObjectName(QString());
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || bar == nullptr || !(bar->subControls & SC_ScrollBarSlider)) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QStyleOptionSlider track = *bar;
        track.subControls &= ~SC_ScrollBarSlider;
        QProxyStyle::drawComplexControl(control, &track, painter, widget);

        const QRect handle = subControlRect(control, bar, SC_ScrollBarSlider, widget);
        if (handle.isEmpty()) return;
        const bool pressed =
            (bar->state & State_Sunken) && (bar->activeSubControls & SC_ScrollBarSlider);
        painter->save();
        painter->setPen(bar->palette.color(QPalette::Dark));
        painter->setBrush(bar->palette.color(pressed ? QPalette::Dark : QPalette::Mid));
        painter->drawRect(handle.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

}  // namespace

void MakeScrollHandlesStandOut(QAbstractScrollArea& area) {
    auto* style = new DarkHandleStyle(&area);
    area.verticalScrollBar()->setStyle(style);
    area.horizontalScrollBar()->setStyle(style);
}

void MakeScrollHandleStandOut(QScrollBar& bar, QObject& owner) {
    bar.setStyle(new DarkHandleStyle(&owner));
}
