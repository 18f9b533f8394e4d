// Strict JSON reading into typed records: results, errors and the store for decoded texts.
#pragma once

#include <cstddef>
#include <expected>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::models::json_reader {

enum class ErrorCategory {
    EndOfInput,  // the text ended before the value was complete
    Syntax,      // the text is not JSON of the accepted grammar
    Data,        // the JSON does not fit the record (types, lengths, missing or duplicate fields)
};

// A failed read: the reason followed by " at line L column C".
struct ReadError {
    std::string message;
    ErrorCategory category;
};

// Owns the decoded form of strings that held escapes; the views it hands out stay valid as long
// as the store lives, also after the store itself has been moved.
class TextStore {
public:
    std::string_view keep(std::string_view text);

private:
    std::vector<std::unique_ptr<char[]>> chunks_;
    char* free_ = nullptr;
    std::size_t left_ = 0;
};

// A successful read: the records and the store their decoded texts live in.
template <class T>
struct Parsed {
    T value;
    TextStore texts;
};

template <class T>
using ReadResult = std::expected<Parsed<T>, ReadError>;

}  // namespace vesk::models::json_reader
