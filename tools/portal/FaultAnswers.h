#pragma once
#include <httplib.h>

#include <string>

#include "portal/ShutdownLatch.h"

// Answers that deliver a page badly. Each sets up `response` with status 200; the
// HTTP library then sends it as described.
namespace portal {

// Content-Length of the whole page, the first half of it, then the connection closes.
void AnswerCut(httplib::Response& response, std::string page);

// The page in pieces of a tenth of `bytesPerSecond` (at least one byte), a tenth of a
// second apart. A shutdown cuts it short.
void AnswerSlow(httplib::Response& response, std::string page, int bytesPerSecond,
                ShutdownLatch& latch);

// A body of `megabytes` MiB: the page, then blank lines. A page longer than that is
// sent whole.
void AnswerHuge(httplib::Response& response, std::string page, int megabytes);

}  // namespace portal
