#include "support/comma_locale.h"

#include <clocale>
#include <cstring>
#include <locale>

namespace ostrivane::test {

CommaLocale::CommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "nl_NL.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            active_ = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
            if (active_) {
                std::locale::global(std::locale(name));
                return;
            }
        }
    }
}

CommaLocale::~CommaLocale() {
    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
}

}  // namespace ostrivane::test
