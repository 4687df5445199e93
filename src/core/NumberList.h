#pragma once

class QComboBox;

// Fills a jump list with the entries "1" to "count" (none for count < 1). The entries are
// worked out when asked for, not held: a list of thousands of questions costs nothing per
// entry, and the box's width comes from the widest number instead of measuring every entry.
void ShowNumbers(QComboBox& combo, int count);
