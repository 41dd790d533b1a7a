#pragma once

#include <QGuiApplication>
#include <QWidget>

#include <windows.h>

namespace platform::windows {
// The window's own Win32 window, created if need be; null when the program does not run on
// Windows' own window system (Qt's offscreen platform has no Win32 windows).
inline HWND NativeWindow(const QWidget* window) {
    if (QGuiApplication::platformName() != QStringLiteral("windows"))
        return nullptr;
    return reinterpret_cast<HWND>(window->winId());
}
} // namespace platform::windows
