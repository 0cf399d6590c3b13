#include "platform/c_numbers.hpp"

namespace quillon::platform {

#if !defined(_WIN32)
CNumbersInThisThread::CNumbersInThisThread() : c_(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr))) {
    if (c_ != nullptr) previous_ = uselocale(c_);
}

CNumbersInThisThread::~CNumbersInThisThread() {
    if (c_ == nullptr) return;
    uselocale(previous_);
    freelocale(c_);
}
#else
CNumbersInThisThread::CNumbersInThisThread() {}
CNumbersInThisThread::~CNumbersInThisThread() {}
#endif

}  // namespace quillon::platform
