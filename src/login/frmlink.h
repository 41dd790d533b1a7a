#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The modal login dialog: user ID, password and host string.
class frmLink : public QDialog {
    Q_OBJECT
public:
    // Shows the three values for editing. True (-1) when the user confirmed with OK and all
    // three are non-empty; the arguments then hold the edited values. False (0) otherwise,
    // with the arguments untouched.
    static qint16 LinkSet(QString& LinkChrID, QString& LinkChrPass, QString& LinkChrLine);

private:
    explicit frmLink(QWidget* parent = nullptr);
};
