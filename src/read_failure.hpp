// What the feed operations make of a failed read of their JSON text.
#pragma once

#include <source_location>
#include <string>
#include <string_view>
#include <utility>

#include "feed_result.hpp"
#include "log.hpp"
#include "models/json_reader.hpp"

namespace vesk::read_failure {

// A single-fare operation: an early end of the text is UnexpectedEof, any other error InvalidData.
inline FeedError single_fare_error(models::json_reader::ReadError error) {
    const FeedErrorKind kind = error.category == models::json_reader::ErrorCategory::EndOfInput
                                   ? FeedErrorKind::UnexpectedEof
                                   : FeedErrorKind::InvalidData;
    return {kind, std::move(error.message)};
}

// A batch operation: logs the error and the whole text at Error, then fails with InvalidInput.
inline FeedError batch_error(std::string_view log_target, models::json_reader::ReadError error,
                             std::string_view json_input,
                             const std::source_location& location = std::source_location::current()) {
    log::emit(log_target, log::Level::Error, location,
              [&] { return "Error parsing json: " + error.message; });
    log::emit(log_target, log::Level::Error, location,
              [&] { return "Json string: " + std::string(json_input); });
    return {FeedErrorKind::InvalidInput, std::move(error.message)};
}

}  // namespace vesk::read_failure
