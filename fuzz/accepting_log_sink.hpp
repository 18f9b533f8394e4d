// A log sink that asks for every record, so that the fuzz targets also build every log message
// (the diagnostic forms and the echo of unreadable input included).
#pragma once

#include <source_location>
#include <string_view>

#include "log.hpp"
#include "require.hpp"

namespace vesk::fuzz {

class AcceptingLogSink final : public log::Sink {
public:
    bool enabled(std::string_view, log::Level) override { return true; }
    void write(std::string_view target, log::Level, std::string_view message,
               const std::source_location&) override {
        require(target.starts_with("vesk_fares_to_xml::"), "log records name the module's target", target);
        require(!message.empty(), "log records carry a message", target);
    }
};

// Installs one AcceptingLogSink for the whole fuzzing process.
inline void install_accepting_log_sink() {
    static AcceptingLogSink sink;
    log::set_sink(&sink);
}

}  // namespace vesk::fuzz
