#pragma once
#include <string>

// How a download job ended.
enum class JobEnd {
    Ok,
    Cancelled,
    // The city pages list no company: most often the portal did not take the account.
    NoCompany,
    // A download in which not one request succeeded: the portal could not be reached.
    NothingFetched,
};

struct JobResult {
    JobEnd end = JobEnd::Cancelled;
    // Pages an OK download could not fetch or write whose earlier copies stand.
    int pagesKept = 0;
    // Why the last failed request failed, for the player.
    std::string lastFailure;
};
