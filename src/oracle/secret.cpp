#include "oracle/secret.h"

#include <cstddef>

namespace ora {
namespace {
// Through a volatile pointer, so that the compiler cannot drop stores to memory that is
// freed right after.
void Zero(void* data, std::size_t bytes) {
    volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
    while (bytes-- > 0)
        *p++ = 0;
}
} // namespace

void Wipe(QString& text) {
    if (text.isDetached())
        Zero(text.data(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
    text.clear();
}

void Wipe(QByteArray& bytes) {
    if (bytes.isDetached())
        Zero(bytes.data(), static_cast<std::size_t>(bytes.size()));
    bytes.clear();
}

} // namespace ora
