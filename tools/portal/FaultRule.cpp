#include "portal/FaultRule.h"

#include <array>

namespace portal {

namespace {

struct KindSyntax {
    std::string_view name;
    FaultKind kind;
    bool takesValue;
    int lowest;
    int highest;
};

constexpr std::array<KindSyntax, 8> kKinds{{
    {"status", FaultKind::Status, true, 200, 599},
    {"stall", FaultKind::Stall, true, 1, 3600},
    {"cut", FaultKind::Cut, false, 0, 0},
    {"reset", FaultKind::Reset, false, 0, 0},
    {"slow", FaultKind::Slow, true, 1, 1 << 30},
    {"empty", FaultKind::Empty, false, 0, 0},
    {"huge", FaultKind::Huge, true, 1, 1024},
    {"login", FaultKind::Login, false, 0, 0},
}};

std::optional<FaultTarget> ParseTarget(std::string_view text) {
    FaultTarget target;
    if (text.starts_with("Tid=")) {
        target.page = PortalPage::City;
        text.remove_prefix(4);
    } else if (text.starts_with("Cid=")) {
        target.page = PortalPage::Shop;
        text.remove_prefix(4);
    }
    const std::optional<int> id = ParseDecimal(text);
    if (!id) return std::nullopt;
    target.id = *id;
    return target;
}

}  // namespace

bool FaultRule::Matches(const RequestTarget& request) const {
    if (targets.empty()) return true;
    if (request.page == PortalPage::None || !request.id) return false;
    for (const FaultTarget& target : targets) {
        if (target.id == *request.id &&
            (target.page == PortalPage::None || target.page == request.page)) {
            return true;
        }
    }
    return false;
}

std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string& error) {
    const size_t colon = text.find(':');
    const std::string_view kindText = text.substr(0, colon);
    const size_t equals = kindText.find('=');
    const std::string_view name = kindText.substr(0, equals);

    const KindSyntax* syntax = nullptr;
    for (const KindSyntax& candidate : kKinds) {
        if (candidate.name == name) syntax = &candidate;
    }
    if (syntax == nullptr) {
        error = "unknown fault '" + std::string(name) + "'";
        return std::nullopt;
    }

    FaultRule rule;
    rule.kind = syntax->kind;
    if (syntax->takesValue) {
        const std::optional<int> value = equals == std::string_view::npos
                                             ? std::nullopt
                                             : ParseDecimal(kindText.substr(equals + 1));
        if (!value || *value < syntax->lowest || *value > syntax->highest) {
            error = "fault " + std::string(name) + " needs =N with N from " +
                    std::to_string(syntax->lowest) + " to " + std::to_string(syntax->highest);
            return std::nullopt;
        }
        rule.value = *value;
    } else if (equals != std::string_view::npos) {
        error = "fault " + std::string(name) + " takes no value";
        return std::nullopt;
    }

    if (colon == std::string_view::npos) return rule;
    std::string_view ids = text.substr(colon + 1);
    while (true) {
        const size_t comma = ids.find(',');
        const std::optional<FaultTarget> target = ParseTarget(ids.substr(0, comma));
        if (!target) {
            error =
                "bad id '" + std::string(ids.substr(0, comma)) + "' in fault " + std::string(text);
            return std::nullopt;
        }
        rule.targets.push_back(*target);
        if (comma == std::string_view::npos) return rule;
        ids.remove_prefix(comma + 1);
    }
}

}  // namespace portal
