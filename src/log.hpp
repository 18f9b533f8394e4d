// Core log records and the process-wide sink that receives them.
//
// The core never formats a message that nobody will read: `log::emit` asks the sink whether the
// target and level are enabled before it builds the text.
#pragma once

#include <source_location>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk::log {

enum class Level { Error = 1, Warn = 2, Info = 3, Debug = 4, Trace = 5 };

// Where log records go. The Python binding installs one at module initialisation.
class Sink {
public:
    virtual ~Sink() = default;
    // Whether a record of this target and level would be passed on.
    virtual bool enabled(std::string_view target, Level level) = 0;
    // Passes on one record that `enabled` accepted.
    virtual void write(std::string_view target, Level level, std::string_view message,
                       const std::source_location& location) = 0;
};

// Installs the sink for the rest of the process (nullptr: records are dropped).
void set_sink(Sink* sink) noexcept;
Sink* sink() noexcept;

// Emits one record whose message `make_message()` builds only when the record is wanted.
template <class MakeMessage>
void emit(std::string_view target, Level level, const std::source_location& location,
          MakeMessage&& make_message) {
    Sink* current = sink();
    if (current == nullptr || !current->enabled(target, level)) return;
    const std::string message = std::forward<MakeMessage>(make_message)();
    current->write(target, level, message, location);
}

// Records held back and emitted later in the order they were held. A batch reads its fares while
// it writes their items, yet the records about skipped items must follow the record that counts
// the fares read; their messages are built when held (skipping is rare).
class HeldRecords {
public:
    void hold(Level level, const std::source_location& location, std::string message) {
        records_.push_back({level, location, std::move(message)});
    }

    void emit_all(std::string_view target) const {
        for (const Record& record : records_) {
            emit(target, record.level, record.location, [&] { return record.message; });
        }
    }

private:
    struct Record {
        Level level;
        std::source_location location;
        std::string message;
    };
    std::vector<Record> records_;
};

}  // namespace vesk::log
