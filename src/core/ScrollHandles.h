#pragma once

class QAbstractScrollArea;

// The default style draws a scroll-bar handle a shade lighter than its track, so beside a
// white page the rest of the track reads as the handle. This draws the handles of `area`'s
// scroll bars darker than their track, as the eye expects.
void MakeScrollHandlesStandOut(QAbstractScrollArea& area);
