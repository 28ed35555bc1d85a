#pragma once
#include <string>

// Shows the fetcher's network error to the user. The call may block until the user
// has dismissed the message; the fetch waits for it.
class NetworkErrorReporter {
public:
    virtual ~NetworkErrorReporter() = default;
    virtual void ShowNetworkError(const std::string& text, const std::string& caption) = 0;
};
