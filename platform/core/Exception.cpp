#include "platform/core/Exception.h"

namespace platform {

Exception::Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

QString MessageOf(const std::exception& e) {
    if (const auto* own = dynamic_cast<const Exception*>(&e)) return own->message();
    return QString::fromUtf8(e.what());
}

}  // namespace platform
