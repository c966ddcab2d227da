#pragma once
// The message of the program's exception that f throws, empty when none.

#include "exception.h"

#include <QString>
#include <functional>

namespace testing_support {

inline QString MessageOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const platform::Exception &e) {
        return e.message();
    }
    return QString();
}

} // namespace testing_support
