#include "landing_page.hpp"

#include <algorithm>
#include <utility>

#include "text_case.hpp"

namespace vesk {

namespace {

constexpr std::string_view braces = "{}";

bool holds_brace(std::string_view text) {
    return std::ranges::any_of(text, [](char c) { return c == '{' || c == '}'; });
}

}  // namespace

LandingPage::LandingPage(std::string_view url_template) : template_(url_template) {
    values_[template_content_value] = "cici";
    std::size_t literal_start = 0;
    for (std::size_t at = template_.find_first_of(braces); at != std::string_view::npos;
         at = template_.find_first_of(braces, literal_start)) {
        std::size_t found = 0;
        while (found < placeholders.size() && !template_.substr(at).starts_with(placeholders[found])) {
            ++found;
        }
        if (found == placeholders.size()) {  // a brace of the literal text
            segments_.clear();
            return;
        }
        segments_.push_back({template_.substr(literal_start, at - literal_start),
                             static_cast<Placeholder>(found)});
        literal_start = at + placeholders[found].size();
    }
    tail_ = template_.substr(literal_start);
    braces_only_in_placeholders_ = true;
}

bool LandingPage::lower_values(const models::json_model::FareObject& fare) {
    std::string& market = values_[market_code];
    market.clear();
    if (fare.market) {
        text_case::append_lowercase(market, *fare.market);
    } else {
        market.assign("ww");
    }
    values_[origin_iata].clear();
    text_case::append_lowercase(values_[origin_iata], fare.outbound_flight.departure_airport_iata_code);
    values_[destination_iata].clear();
    text_case::append_lowercase(values_[destination_iata], fare.outbound_flight.arrival_airport_iata_code);
    return !holds_brace(market) && !holds_brace(values_[origin_iata]) &&
           !holds_brace(values_[destination_iata]);
}

void LandingPage::fill(std::string& link, const models::json_model::FareObject& fare) {
    const bool values_without_braces = lower_values(fare);
    if (braces_only_in_placeholders_ && values_without_braces) {
        link.clear();
        for (const Segment& segment : segments_) {
            link.append(segment.literal).append(values_[segment.placeholder]);
        }
        link.append(tail_);
        return;
    }
    link.assign(template_);
    for (std::size_t step = 0; step < placeholders.size(); ++step) {
        replace_all(link, placeholders[step], values_[step]);
    }
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
