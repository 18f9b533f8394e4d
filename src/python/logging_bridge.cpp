#include "python/logging_bridge.hpp"

#include <Python.h>

#include <array>
#include <climits>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <unordered_map>

#include "log.hpp"
#include "python/owned_ref.hpp"
#include "python/raised_exception.hpp"
#include "text_map.hpp"

namespace vesk::python {

namespace {

int python_level(log::Level level) {
    switch (level) {
        case log::Level::Error: return 40;
        case log::Level::Warn: return 30;
        case log::Level::Info: return 20;
        case log::Level::Debug: return 10;
        case log::Level::Trace: return 5;
    }
    return 0;
}

// The levels a record can reach Python with, most verbose first.
constexpr std::array<log::Level, 4> forwarded_levels{log::Level::Debug, log::Level::Info,
                                                     log::Level::Warn, log::Level::Error};

// Kept for a target whose logger was enabled for none of the forwarded levels.
constexpr int no_level = INT_MAX;

// "vesk_fares_to_xml::converter" -> "vesk_fares_to_xml.converter"
std::string python_logger_name(std::string_view target) {
    std::string name;
    name.reserve(target.size());
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target.substr(i, 2) == "::") {
            name += '.';
            ++i;
        } else {
            name += target[i];
        }
    }
    return name;
}

class LoggingBridge final : public log::Sink {
public:
    // Null with a Python exception set when `logging` cannot be imported.
    static LoggingBridge* create() {
        const OwnedRef logging = OwnedRef::steal(PyImport_ImportModule("logging"));
        if (!logging) return nullptr;
        OwnedRef get_logger = OwnedRef::steal(PyObject_GetAttrString(logging.get(), "getLogger"));
        OwnedRef is_enabled_for = OwnedRef::steal(PyUnicode_InternFromString("isEnabledFor"));
        OwnedRef make_record = OwnedRef::steal(PyUnicode_InternFromString("makeRecord"));
        OwnedRef handle = OwnedRef::steal(PyUnicode_InternFromString("handle"));
        OwnedRef no_arguments = OwnedRef::steal(PyTuple_New(0));
        if (!get_logger || !is_enabled_for || !make_record || !handle || !no_arguments) {
            return nullptr;
        }
        return new LoggingBridge(std::move(get_logger), std::move(is_enabled_for),
                                 std::move(make_record), std::move(handle),
                                 std::move(no_arguments));
    }

    bool enabled(std::string_view target, log::Level level) override {
        if (level == log::Level::Trace) return false;
        const std::optional<TargetLogger> logger = logger_for(target);
        if (!logger) return false;
        const int wanted = python_level(level);
        if (wanted < logger->most_verbose_level) return false;
        const std::optional<bool> answer = is_enabled_for(logger->logger.get(), wanted);
        return answer.value_or(false);
    }

    void write(std::string_view target, log::Level level, std::string_view message,
               const std::source_location& location) override {
        const std::optional<TargetLogger> logger = logger_for(target);
        if (!logger) return;
        const OwnedRef python_message = OwnedRef::steal(PyUnicode_DecodeUTF8(
            message.data(), static_cast<Py_ssize_t>(message.size()), "replace"));
        const OwnedRef level_number = OwnedRef::steal(PyLong_FromLong(python_level(level)));
        const OwnedRef file = OwnedRef::steal(PyUnicode_DecodeFSDefault(location.file_name()));
        const OwnedRef line = OwnedRef::steal(PyLong_FromUnsignedLong(location.line()));
        if (!python_message || !level_number || !file || !line) {
            print_raised_exception();
            return;
        }
        const OwnedRef record = OwnedRef::steal(PyObject_CallMethodObjArgs(
            logger->logger.get(), make_record_.get(), logger->name.get(), level_number.get(),
            file.get(), line.get(), python_message.get(), no_arguments_.get(), Py_None, nullptr));
        if (!record) {
            print_raised_exception();
            return;
        }
        const OwnedRef handled = OwnedRef::steal(
            PyObject_CallMethodObjArgs(logger->logger.get(), handle_.get(), record.get(), nullptr));
        if (!handled) print_raised_exception();
    }

private:
    struct TargetLogger {
        OwnedRef logger;
        OwnedRef name;
        int most_verbose_level;  // in Python's numbers; records below it are dropped
    };

    LoggingBridge(OwnedRef get_logger, OwnedRef is_enabled_for, OwnedRef make_record,
                  OwnedRef handle, OwnedRef no_arguments)
        : get_logger_(std::move(get_logger)),
          is_enabled_for_(std::move(is_enabled_for)),
          make_record_(std::move(make_record)),
          handle_(std::move(handle)),
          no_arguments_(std::move(no_arguments)) {}

    // `logger.isEnabledFor(level)`; nullopt after printing the exception it raised.
    std::optional<bool> is_enabled_for(PyObject* logger, int level) {
        const OwnedRef level_number = OwnedRef::steal(PyLong_FromLong(level));
        const OwnedRef answer = OwnedRef::steal(
            level_number ? PyObject_CallMethodObjArgs(logger, is_enabled_for_.get(),
                                                      level_number.get(), nullptr)
                         : nullptr);
        const int truth = answer ? PyObject_IsTrue(answer.get()) : -1;
        if (truth < 0) {
            print_raised_exception();
            return std::nullopt;
        }
        return truth == 1;
    }

    // The target's entry, as a copy: the handlers and loggers called while it is used run Python
    // code that may log again (even from another thread, once the GIL is released) and so
    // insert into the cache, which must therefore never be referenced across a Python call.
    // Nullopt after printing the exception when the first record's lookup fails.
    std::optional<TargetLogger> logger_for(std::string_view target) {
        if (const auto found = loggers_.find(target); found != loggers_.end()) {
            return found->second;
        }
        OwnedRef name = OwnedRef::steal(PyUnicode_FromString(python_logger_name(target).c_str()));
        OwnedRef logger =
            OwnedRef::steal(name ? PyObject_CallOneArg(get_logger_.get(), name.get()) : nullptr);
        if (!logger) {
            print_raised_exception();
            return std::nullopt;
        }
        int most_verbose_level = no_level;
        for (const log::Level level : forwarded_levels) {
            const std::optional<bool> answer = is_enabled_for(logger.get(), python_level(level));
            if (!answer) return std::nullopt;
            if (*answer) {
                most_verbose_level = python_level(level);
                break;
            }
        }
        // Python code run above may have logged for this target first; its entry then stays.
        const auto [entry, inserted] = loggers_.try_emplace(
            std::string(target), TargetLogger{std::move(logger), std::move(name), most_verbose_level});
        return entry->second;
    }

    OwnedRef get_logger_;
    OwnedRef is_enabled_for_;
    OwnedRef make_record_;
    OwnedRef handle_;
    OwnedRef no_arguments_;
    std::unordered_map<std::string, TargetLogger, TextHash, std::equal_to<>> loggers_;
};

// Raises ImportError "{prefix}: {message of the raised exception}" caused by that exception.
void raise_import_error_caused_by_current(const char* prefix) {
    OwnedRef cause = take_raised_exception();
    PyErr_Format(PyExc_ImportError, "%s: %S", prefix, cause.get());
    OwnedRef error = take_raised_exception();
    PyException_SetContext(error.get(), Py_NewRef(cause.get()));  // steals the new reference
    PyException_SetCause(error.get(), cause.release());           // steals the reference
    raise_exception(std::move(error));
}

}  // namespace

bool install_logging_bridge() {
    // Never destroyed: it holds Python references, which must not be released after the
    // interpreter has finalised.
    static LoggingBridge* installed = nullptr;
    if (installed != nullptr) return true;
    installed = LoggingBridge::create();
    if (installed == nullptr) {
        raise_import_error_caused_by_current("Failed to initialize python logging");
        return false;
    }
    log::set_sink(installed);
    return true;
}

}  // namespace vesk::python
