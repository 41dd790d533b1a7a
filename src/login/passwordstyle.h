#pragma once

#include <QProxyStyle>

// The application's style, except that a password box masks each character with "*".
class PasswordStyle final : public QProxyStyle {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PasswordStyle)
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
