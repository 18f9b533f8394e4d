#include "xml_tree.hpp"

namespace vesk::fuzz::xml {

const std::string_view* Element::attribute(std::string_view wanted) const {
    for (const auto& [name, value] : attributes) {
        if (name == wanted) return &value;
    }
    return nullptr;
}

namespace {

bool is_name_start(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}

bool is_name_char(char c) {
    return is_name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

class Parser {
public:
    explicit Parser(std::string_view text, std::size_t max_depth) : text_(text), max_depth_(max_depth) {}

    std::expected<Element, NotWellFormed> document() {
        if (text_.starts_with("<?xml")) {
            index_ = 5;
            Element declaration;
            if (!attributes(declaration)) return fail();
            skip_space();
            if (!take("?>")) return fail("declaration does not end with ?>");
        }
        skip_space();
        Element root;
        if (!element(root, 1)) return fail();
        skip_space();
        if (index_ != text_.size()) return fail("text after the root element");
        return root;
    }

private:
    std::expected<Element, NotWellFormed> fail(std::string reason = {}) {
        if (!reason.empty()) reason_ = std::move(reason);
        return std::unexpected(NotWellFormed{index_, reason_});
    }

    bool error(std::string reason) {
        reason_ = std::move(reason);
        return false;
    }

    bool at_end() const { return index_ >= text_.size(); }
    char peek() const { return text_[index_]; }

    bool take(std::string_view expected) {
        if (!text_.substr(index_).starts_with(expected)) return false;
        index_ += expected.size();
        return true;
    }

    bool skip_space() {
        const std::size_t start = index_;
        while (!at_end() && is_space(peek())) ++index_;
        return index_ > start;
    }

    bool name(std::string_view& out) {
        const std::size_t start = index_;
        if (at_end() || !is_name_start(peek())) return error("expected a name");
        while (!at_end() && is_name_char(peek())) ++index_;
        out = text_.substr(start, index_ - start);
        return true;
    }

    // Attributes up to (not including) the end of the tag.
    bool attributes(Element& element) {
        while (true) {
            const bool spaced = skip_space();
            if (at_end()) return error("document ends inside a tag");
            if (peek() == '>' || peek() == '/' || peek() == '?') return true;
            if (!spaced) return error("attributes need white space before them");
            std::string_view key;
            if (!name(key)) return false;
            if (element.attribute(key) != nullptr) return error("attribute given twice");
            skip_space();
            if (!take("=")) return error("expected = after an attribute name");
            skip_space();
            if (!take("\"")) return error("expected a double-quoted attribute value");
            const std::size_t start = index_;
            while (!at_end() && peek() != '"') {
                if (peek() == '<' || peek() == '&') return error("markup inside an attribute value");
                ++index_;
            }
            if (at_end()) return error("document ends inside an attribute value");
            element.attributes.emplace_back(key, text_.substr(start, index_ - start));
            ++index_;
        }
    }

    bool reference() {
        ++index_;  // '&'
        if (take("#x")) {
            const std::size_t start = index_;
            while (!at_end() && std::string_view("0123456789abcdefABCDEF").find(peek()) != std::string_view::npos) ++index_;
            if (index_ == start) return error("empty character reference");
        } else if (take("#")) {
            const std::size_t start = index_;
            while (!at_end() && peek() >= '0' && peek() <= '9') ++index_;
            if (index_ == start) return error("empty character reference");
        } else {
            std::string_view entity;
            if (!name(entity)) return false;
            if (entity != "amp" && entity != "lt" && entity != "gt" && entity != "quot" && entity != "apos") {
                return error("undeclared entity");
            }
        }
        if (!take(";")) return error("reference without ;");
        return true;
    }

    bool element(Element& out, std::size_t depth) {
        if (depth > max_depth_) return error("elements nested too deeply");
        if (!take("<")) return error("expected an element");
        if (!name(out.name)) return false;
        if (!attributes(out)) return false;
        if (take("/>")) return true;
        if (!take(">")) return error("expected > at the end of a start tag");
        const std::size_t content_start = index_;
        while (true) {
            if (at_end()) return error("document ends inside an element");
            const char c = peek();
            if (c == '<') {
                if (text_.substr(index_).starts_with("</")) break;
                if (!element(out.children.emplace_back(), depth + 1)) return false;
            } else if (c == '&') {
                if (!reference()) return false;
            } else {
                const auto byte = static_cast<unsigned char>(c);
                if (byte < 0x20 && !is_space(c)) return error("control character in character data");
                if (text_.substr(index_).starts_with("]]>")) return error("]]> in character data");
                ++index_;
            }
        }
        out.content = text_.substr(content_start, index_ - content_start);
        index_ += 2;  // "</"
        std::string_view end_name;
        if (!name(end_name)) return false;
        if (end_name != out.name) return error("end tag does not match its start tag");
        skip_space();
        if (!take(">")) return error("expected > at the end of an end tag");
        return true;
    }

    std::string_view text_;
    std::size_t max_depth_;
    std::size_t index_ = 0;
    std::string reason_;
};

}  // namespace

std::expected<Element, NotWellFormed> parse_document(std::string_view document, std::size_t max_depth) {
    return Parser(document, max_depth).document();
}

}  // namespace vesk::fuzz::xml
