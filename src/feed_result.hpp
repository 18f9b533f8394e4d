// Result type shared by every feed operation.
#pragma once

#include <expected>
#include <string>

namespace vesk {

enum class FeedErrorKind {
    InvalidInput,   // a batch read failed, fares lack city names, or an item cannot be written
    InvalidData,    // a single-fare read failed with a syntax or data error
    UnexpectedEof,  // a single-fare read failed because the text ended early
};

struct FeedError {
    FeedErrorKind kind;
    std::string message;
};

// Feed operations never throw on bad input: they return their text or a FeedError.
using FeedResult = std::expected<std::string, FeedError>;

}  // namespace vesk
