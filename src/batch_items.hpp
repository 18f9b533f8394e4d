// The items of a batch document: written one after another into the document, with the feed's
// separator between neighbours only.
#pragma once

#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>

#include "log.hpp"
#include "models/item_writer.hpp"

namespace vesk {

class BatchItems {
public:
    BatchItems(std::string& document, std::string_view separator)
        : document_(document), separator_(separator) {}

    // Writes `item` after the items before it. An item that cannot be written leaves no trace in
    // the document; its Error record is held in `skipped`, since it must follow "Parsed", which
    // can only be logged once every fare has been read.
    template <class Item>
    void append(const Item& item, log::HeldRecords& skipped,
                const std::source_location& location = std::source_location::current()) {
        const std::size_t item_start = document_.size();
        if (count_ > 0) document_.append(separator_);
        if (auto written = models::item_writer::append_item_xml(document_, item); !written) {
            document_.resize(item_start);
            skipped.hold(log::Level::Error, location,
                         "Error converting fare object to XML, skipping: " +
                             models::item_writer::diagnostic_form(item));
            return;
        }
        ++count_;
    }

    // The number of items written; 64 bits, so no batch can overflow it.
    std::int64_t count() const noexcept { return count_; }

private:
    std::string& document_;
    std::string_view separator_;
    std::int64_t count_ = 0;
};

}  // namespace vesk
