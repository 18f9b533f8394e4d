// Landing-page links: a URL template filled per fare with its market and airport codes.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "models/json_model.hpp"

namespace vesk {

class LandingPage {
public:
    explicit LandingPage(std::string_view url_template);

    // Sets `link` to the template with, in this order, every "{{market_code}}" replaced by the
    // lower-cased market ("ww" without one), "{{origin_iata}}" and "{{destination_iata}}" by the
    // lower-cased airport codes and "{{template_content_value}}" by "cici". Each step works on
    // the text of the step before, so a placeholder brought in by a value is replaced as well.
    void fill(std::string& link, const models::json_model::FareObject& fare);

private:
    // The placeholders in the order in which they are replaced.
    enum Placeholder : std::size_t { market_code, origin_iata, destination_iata, template_content_value };
    static constexpr std::array<std::string_view, 4> placeholders{
        "{{market_code}}", "{{origin_iata}}", "{{destination_iata}}", "{{template_content_value}}"};

    // A placeholder of the template and the literal text before it.
    struct Segment {
        std::string_view literal;
        Placeholder placeholder;
    };

    // Puts the lower-cased values of `fare` into values_; false when one holds a brace.
    bool lower_values(const models::json_model::FareObject& fare);
    void replace_all(std::string& text, std::string_view placeholder, std::string_view value);

    std::string_view template_;
    // When every brace of the template belongs to a placeholder and no value holds a brace, no
    // step can bring in a placeholder, and the link is the segments with their values in one
    // pass; otherwise the steps run one after another.
    bool braces_only_in_placeholders_ = false;
    std::vector<Segment> segments_;
    std::string_view tail_;                // the literal text after the last placeholder
    std::array<std::string, 4> values_;   // by Placeholder; template_content_value is "cici"
    std::string spare_;                    // the text being built by a step
};

}  // namespace vesk
