#pragma once

#include <QByteArray>
#include <QString>

// The login password is needed for the next login but must not outlive its use in the
// copies made on the way to the client library: freed memory keeps its bytes until reused.
namespace ora {

// Overwrites the text this object alone holds with zeros and empties it. A buffer shared
// with another holder is left for that holder and only released.
void Wipe(QString& text);
void Wipe(QByteArray& bytes);

} // namespace ora
