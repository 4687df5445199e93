#pragma once

class QAbstractScrollArea;
class QObject;
class QScrollBar;

// The default style draws a scroll-bar handle a shade lighter than its track, so beside a
// white page the rest of the track reads as the handle. This draws the handles of `area`'s
// scroll bars darker than their track, as the eye expects.
void MakeScrollHandlesStandOut(QAbstractScrollArea& area);
// The same for a scroll bar of its own. `owner` keeps the drawing style and must outlive the
// bar (its parent does: a widget's style must not go before the widget).
void MakeScrollHandleStandOut(QScrollBar& bar, QObject& owner);
