#pragma once
#include <cstdint>
#include <string>

// Fetches one portal page into a local file; the download job sees the network
// only through this.
class PageFetcher {
public:
    virtual ~PageFetcher() = default;
    // Returns the number of bytes written to `localPath`, 0 on any failure (an
    // empty body included). A failed fetch leaves an earlier file untouched.
    virtual std::uint32_t FetchToFile(const std::string& host, const std::string& objectPath,
                                      const std::string& localPath) = 0;
    // Why the last fetch that wrote nothing failed, in a line for the player.
    virtual std::string LastFailure() const = 0;
};
