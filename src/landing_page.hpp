// Landing-page links: a URL template filled per fare with its market and airport codes.
#pragma once

#include <string>
#include <string_view>

#include "models/json_model.hpp"

namespace vesk {

class LandingPage {
public:
    explicit LandingPage(std::string_view url_template) : template_(url_template) {}

    // Sets `link` to the template with, in this order, every "{{market_code}}" replaced by the
    // lower-cased market ("ww" without one), "{{origin_iata}}" and "{{destination_iata}}" by the
    // lower-cased airport codes and "{{template_content_value}}" by "cici". Each step works on
    // the text of the step before, so a placeholder brought in by a value is replaced as well.
    void fill(std::string& link, const models::json_model::FareObject& fare);

private:
    void replace_all(std::string& text, std::string_view placeholder, std::string_view value);

    std::string_view template_;
    std::string lowered_;  // the lower-cased value of the current step
    std::string spare_;    // the text being built by the current step
};

}  // namespace vesk
