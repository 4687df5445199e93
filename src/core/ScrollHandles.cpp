#include "core/ScrollHandles.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionSlider>

namespace {

// Follows the application's style in everything but the handle.
class DarkHandleStyle : public QProxyStyle {
public:
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

void MakeScrollHandlesStandOut() {
    auto* style = new DarkHandleStyle;
    style->setParent(QCoreApplication::instance());  // as setStyle would: the application owns it
    QApplication::setStyle(style);
}
