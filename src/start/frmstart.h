#pragma once
#include <QWidget>
class FrmStart : public QWidget {
    Q_OBJECT
public:
    explicit FrmStart(QWidget* parent = nullptr);
    bool Form_Load();
};
