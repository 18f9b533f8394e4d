#include "log.hpp"

namespace vesk::log {

namespace {
Sink* installed_sink = nullptr;
}

void set_sink(Sink* sink) noexcept { installed_sink = sink; }

Sink* sink() noexcept { return installed_sink; }

}  // namespace vesk::log
