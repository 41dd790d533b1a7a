#include "dasPBer.h"

namespace dasPBer {
void TopMostSet(qint16&) {}
} // namespace dasPBer
