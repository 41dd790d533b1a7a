#pragma once

#include <QDialog>

// The version (about) window: logo, product name and version; opens out of the cursor.
class frmVersion : public QDialog {
    Q_OBJECT
public:
    // Loads the window, shows it modally and returns once it is closed and unloaded.
    static void ShowModal();

private:
    explicit frmVersion(QWidget* parent = nullptr);
};
