// The user's number format in a browser: that of the browser's language.
#include "Page.h"
#include "Platform.h"

#include <cstdlib>
#include <memory>

namespace lumeno::platform {

std::string decimalSeparator() {
    const std::unique_ptr<char, decltype(&std::free)> separator(lumeno_decimal_separator(),
                                                                &std::free);
    return separator.get();
}

} // namespace lumeno::platform
