#pragma once

// The default style draws a scroll-bar handle a shade lighter than its track, so beside a
// white page the rest of the track reads as the handle. From here on every scroll bar of the
// program draws its handle darker than its track, as the eye expects; everything else keeps
// the look of the style Qt chose. Call once, after the QApplication is made.
void MakeScrollHandlesStandOut();
