#pragma once

#include "platform/winrect.h"

#include <QList>
#include <QString>

class QWidget;

namespace platform {

constexpr int IDANI_CAPTION = 3;

// Plays the caption zoom from one screen rectangle to another and returns when it is over.
// Works whether or not the window is visible yet. Never fails.
void DrawAnimatedRects(const QWidget* window, int kind, const WinRect& from, const WinRect& to);

struct ZoomRecord {
    QString window; // the window's object name
    int kind = 0;
    WinRect from;
    WinRect to;
};

// Test hook: once enabled, animations are logged instead of played and take no time.
namespace ZoomHook {
void enable();
QList<ZoomRecord> log();
void clear();
} // namespace ZoomHook

} // namespace platform
