#pragma once

#include <QtGlobal>

namespace dasPBer {
// Flag exactly -1 puts the search window above all windows that are not topmost; any other
// value puts it back among them. Does nothing while the search window is not loaded.
void TopMostSet(qint16& flag);
} // namespace dasPBer
