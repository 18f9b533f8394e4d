// Properties of failed reads and of the operations that report them.
#pragma once

#include <string>
#include <string_view>

#include "feed_result.hpp"
#include "models/json_reader.hpp"
#include "position_suffix.hpp"
#include "require.hpp"

namespace vesk::fuzz {

// The message places the error within the input, and the category agrees with the reason: the
// end-of-input reasons, and only they, begin "EOF while parsing".
inline void require_read_error(const models::json_reader::ReadError& error, std::string_view input) {
    require_position_within(error.message, input);
    const bool eof_reason = error.message.starts_with("EOF while parsing");
    const bool eof_category = error.category == models::json_reader::ErrorCategory::EndOfInput;
    require(eof_reason == eof_category, "only an early end of the text is of the end-of-input category",
            error.message);
}

// A single-fare operation fails with the read's message: UnexpectedEof for an early end of the
// text, InvalidData for every other reading error.
inline void require_single_fare_failure(const FeedResult& result, const models::json_reader::ReadError& error) {
    require(!result.has_value(), "a single-fare operation fails when its read fails", error.message);
    require(result.error().message == error.message, "the operation reports the read's message",
            result.error().message + " <> " + error.message);
    const FeedErrorKind kind = error.category == models::json_reader::ErrorCategory::EndOfInput
                                   ? FeedErrorKind::UnexpectedEof
                                   : FeedErrorKind::InvalidData;
    require(result.error().kind == kind, "the failure's kind follows the reading error's category",
            error.message);
}

// A batch operation fails with the list read's message, always of the kind InvalidInput.
inline void require_batch_failure(const FeedResult& result, const models::json_reader::ReadError& error) {
    require(!result.has_value(), "a batch fails when its list read fails", error.message);
    require(result.error().message == error.message, "the batch reports the read's message",
            result.error().message + " <> " + error.message);
    require(result.error().kind == FeedErrorKind::InvalidInput, "a failed batch is InvalidInput",
            error.message);
}

}  // namespace vesk::fuzz
