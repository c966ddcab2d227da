#pragma once
// The speed bar's own failure: refused alignments and duplicate section
// captions. It carries only its message.

#include "exception.h"

namespace widgets {

class ESpeedbarError : public platform::Exception {
public:
    using platform::Exception::Exception;
};

} // namespace widgets
