#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "portal/RequestTarget.h"

namespace portal {

// Ways the portal can misbehave, for testing a client against them.
enum class FaultKind {
    Status,  // answer with the status `value` and a short body
    Stall,   // send nothing for `value` seconds, then answer as usual
    Cut,     // full Content-Length, half the body, then close
    Reset,   // abort the connection without an answer
    Slow,    // the body at `value` bytes per second
    Empty,   // 200 with an empty body
    Huge,    // 200 with a body of `value` MiB: the page, then blank filler
    Login,   // 200 with the login page
};

// A request a fault is aimed at: the city or shop query with this id, or either
// when `page` is None.
struct FaultTarget {
    PortalPage page = PortalPage::None;
    int id = 0;
};

struct FaultRule {
    FaultKind kind = FaultKind::Status;
    int value = 0;
    std::vector<FaultTarget> targets;  // empty: every request for the portal's pages

    bool Matches(const RequestTarget& request) const;
};

// Reads "KIND" or "KIND:ID,ID...", KIND being status=CODE, stall=SECONDS, cut, reset,
// slow=BYTES_PER_SEC, empty, huge=MB or login, and each ID N (either query),
// Tid=N (city query only) or Cid=N (shop query only). Empty with `error` set
// when the text is not such a rule.
std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string& error);

}  // namespace portal
