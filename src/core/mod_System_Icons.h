#pragma once

class QLabel;

namespace mod_System_Icons {

// Icon numbers callers read from their texts.
inline constexpr int kApplicationIcon = 1;
inline constexpr int kQuestionIcon = 2;
inline constexpr int kInformationIcon = 3;
inline constexpr int kExclamationIcon = 4;
inline constexpr int kStopIcon = 5;
inline constexpr int kSystemLogoIcon = 6;

// Shows the style's standard icon of that number in the picture box, at the style's large icon
// size, and makes the box visible. A number outside 1..6 leaves the box as it was.
void DrawSystemIcon(QLabel* pictureBox, int iconNumber);

}  // namespace mod_System_Icons
