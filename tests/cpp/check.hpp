// A minimal test harness for the core's C++ test programs: failed checks print file:line and the
// values involved, and finish() turns any failure into a nonzero exit status.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace check {

inline int failures = 0;
inline std::string scope;  // the case being checked, printed with each failure

// Labels the failures of the checks made while it lives; nested labels are joined by " / ".
class Scope {
public:
    explicit Scope(std::string_view label) : previous_(scope) {
        if (!scope.empty()) scope.append(" / ");
        scope.append(label);
    }
    ~Scope() { scope = previous_; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    std::string previous_;
};

inline void fail(const char* file, int line, std::string_view what) {
    ++failures;
    std::printf("%s:%d: FAILED %.*s", file, line, static_cast<int>(what.size()), what.data());
    if (!scope.empty()) std::printf("  [case: %s]", scope.c_str());
    std::printf("\n");
}

inline void that(const char* file, int line, bool condition, const char* expression) {
    if (!condition) fail(file, line, expression);
}

template <class Value>
std::string shown(const Value& value) {
    if constexpr (std::is_convertible_v<const Value&, std::string_view>) {
        return "\"" + std::string(std::string_view(value)) + "\"";
    } else {
        return std::to_string(value);
    }
}

template <class Actual, class Expected>
void equal(const char* file, int line, const char* expression, const Actual& actual,
           const Expected& expected) {
    bool same;
    if constexpr (std::is_convertible_v<const Actual&, std::string_view>) {
        same = std::string_view(actual) == std::string_view(expected);
    } else {
        same = actual == expected;
    }
    if (!same) {
        fail(file, line,
             std::string(expression) + "\n    actual:   " + shown(actual) +
                 "\n    expected: " + shown(expected));
    }
}

inline int finish() {
    if (failures == 0) {
        std::printf("all checks passed\n");
        return 0;
    }
    std::printf("%d check(s) failed\n", failures);
    return 1;
}

}  // namespace check

#define CHECK(condition) ::check::that(__FILE__, __LINE__, static_cast<bool>(condition), #condition)
#define CHECK_EQ(actual, expected) \
    ::check::equal(__FILE__, __LINE__, #actual, (actual), (expected))
