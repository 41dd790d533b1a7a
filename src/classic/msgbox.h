#pragma once

#include <QString>

namespace classic {

// Classic message-box style values: buttons in the low nibble, icon in the next.
enum MsgStyle : int {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbExclamation = 48,
    vbInformation = 64,
};

// Answers, as the classic message box returns them.
enum MsgAnswer : int {
    vbOK = 1,
    vbCancel = 2,
    vbYes = 6,
    vbNo = 7,
};

// The program's title, used when a message box is given no title.
QString AppTitle();
// The executable's file name without its extension ("kestrom" for kestrom or kestrom.exe).
QString ExeName();

// Shows a modal message box and returns the button pressed. An empty title means AppTitle().
// The box is owned by the window it is raised from and stays above it; windows kept above all
// others (the search banner) are hidden so that they do not cover it. A non-empty detail is
// offered behind the box's details button. Once the program is ending no box opens: the
// answer is the default one.
int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString(),
           const QString& detail = QString());

} // namespace classic
