// The C library's number locale for one thread, for a library that prints numbers with printf
// (libxlsxwriter): a window that took the user's locale (Qt does) would have it write "69,6798".
#pragma once

#if !defined(_WIN32)
#include <locale.h>
#endif

namespace quillon::platform {

// While it lives, this thread prints and reads numbers in the C locale; the process's locale is
// untouched. Nothing on Windows, whose programs keep the C locale: nothing calls setlocale.
class CNumbersInThisThread {
public:
    CNumbersInThisThread();
    ~CNumbersInThisThread();
    CNumbersInThisThread(const CNumbersInThisThread&) = delete;
    CNumbersInThisThread& operator=(const CNumbersInThisThread&) = delete;

private:
#if !defined(_WIN32)
    locale_t c_;
    locale_t previous_ = nullptr;
#endif
};

}  // namespace quillon::platform
