#pragma once
#include <QMainWindow>
class Kestrom : public QMainWindow {
    Q_OBJECT
public:
    explicit Kestrom(QWidget* parent = nullptr);
    void Form_Load();
};
