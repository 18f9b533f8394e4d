// A set of texts that remembers the order in which its entries first arrived, so that reports
// built from it read the same from one run to the next.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "text_map.hpp"

namespace vesk {

class OrderedTextSet {
public:
    void insert(std::string_view text) {
        if (entries_.find(text) != entries_.end()) return;
        order_.push_back(&*entries_.emplace(text).first);
    }

    bool empty() const noexcept { return order_.empty(); }

    // The entries in arrival order, joined by `separator`.
    std::string join(std::string_view separator) const {
        std::string joined;
        for (std::size_t i = 0; i < order_.size(); ++i) {
            if (i > 0) joined.append(separator);
            joined.append(*order_[i]);
        }
        return joined;
    }

private:
    std::unordered_set<std::string, TextHash, std::equal_to<>> entries_;  // nodes never move
    std::vector<const std::string*> order_;
};

}  // namespace vesk
