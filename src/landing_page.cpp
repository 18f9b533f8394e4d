#include "landing_page.hpp"

#include <utility>

#include "text_case.hpp"

namespace vesk {

void LandingPage::fill(std::string& link, const models::json_model::FareObject& fare) {
    link.assign(template_);
    if (link.find("{{") == std::string::npos) return;  // no placeholder: nothing can change

    lowered_.clear();
    if (fare.market) {
        text_case::append_lowercase(lowered_, *fare.market);
    } else {
        lowered_.assign("ww");
    }
    replace_all(link, "{{market_code}}", lowered_);

    lowered_.clear();
    text_case::append_lowercase(lowered_, fare.outbound_flight.departure_airport_iata_code);
    replace_all(link, "{{origin_iata}}", lowered_);

    lowered_.clear();
    text_case::append_lowercase(lowered_, fare.outbound_flight.arrival_airport_iata_code);
    replace_all(link, "{{destination_iata}}", lowered_);

    replace_all(link, "{{template_content_value}}", "cici");
}

void LandingPage::replace_all(std::string& text, std::string_view placeholder,
                              std::string_view value) {
    std::size_t found = text.find(placeholder);
    if (found == std::string::npos) return;
    spare_.clear();
    std::size_t copied = 0;
    while (found != std::string::npos) {
        spare_.append(text, copied, found - copied);
        spare_.append(value);
        copied = found + placeholder.size();
        found = text.find(placeholder, copied);
    }
    spare_.append(text, copied);
    std::swap(text, spare_);
}

}  // namespace vesk
