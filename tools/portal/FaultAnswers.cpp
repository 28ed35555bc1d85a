#include "portal/FaultAnswers.h"

#include <algorithm>
#include <memory>

#include "portal/PortalPages.h"

namespace portal {

namespace {

constexpr size_t kMebibyte = 1024 * 1024;
constexpr size_t kHugePieceBytes = 64 * 1024;
constexpr size_t kFillerLineBytes = 64;

// Byte `offset` of a huge body: the page first, then lines of blanks.
char HugeBodyByte(const std::string& page, size_t offset) {
    if (offset < page.size()) return page[offset];
    return (offset - page.size()) % kFillerLineBytes == kFillerLineBytes - 1 ? '\n' : ' ';
}

}  // namespace

void AnswerCut(httplib::Response& response, std::string page) {
    auto body = std::make_shared<const std::string>(std::move(page));
    const size_t half = body->size() / 2;
    response.status = 200;
    // Returning false from the provider makes the library drop the connection.
    response.set_content_provider(body->size(), kHtmlType,
                                  [body, half](size_t offset, size_t, httplib::DataSink& sink) {
                                      if (offset < half)
                                          sink.write(body->data() + offset, half - offset);
                                      return false;
                                  });
}

void AnswerSlow(httplib::Response& response, std::string page, int bytesPerSecond,
                ShutdownLatch& latch) {
    response.status = 200;
    if (page.empty()) {
        response.set_content(std::string(), kHtmlType);
        return;
    }
    auto body = std::make_shared<const std::string>(std::move(page));
    const size_t pieceBytes = std::max<size_t>(1, static_cast<size_t>(bytesPerSecond) / 10);
    const auto pause =
        std::chrono::milliseconds(static_cast<long long>(pieceBytes) * 1000 / bytesPerSecond);
    response.set_content_provider(
        body->size(), kHtmlType,
        [body, pieceBytes, pause, &latch](size_t offset, size_t length, httplib::DataSink& sink) {
            if (offset > 0 && !latch.WaitFor(pause)) return false;
            return sink.write(body->data() + offset, std::min(length, pieceBytes));
        });
}

void AnswerHuge(httplib::Response& response, std::string page, int megabytes) {
    auto head = std::make_shared<const std::string>(std::move(page));
    const size_t total = std::max(head->size(), static_cast<size_t>(megabytes) * kMebibyte);
    response.status = 200;
    response.set_content_provider(total, kHtmlType,
                                  [head](size_t offset, size_t length, httplib::DataSink& sink) {
                                      std::string piece(std::min(length, kHugePieceBytes), '\0');
                                      for (size_t i = 0; i < piece.size(); ++i)
                                          piece[i] = HugeBodyByte(*head, offset + i);
                                      return sink.write(piece.data(), piece.size());
                                  });
}

}  // namespace portal
