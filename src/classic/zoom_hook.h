#pragma once

#include "classic/winrect.h"

#include <QList>
#include <QString>

// For the tests and the benchmark only: animations logged instead of played.
namespace classic {

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

} // namespace classic
