#include "acquire/OrderedPageParser.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "acquire/ShopPageParser.h"

namespace {

class PageQueue {
public:
    PageQueue(const std::vector<std::string>& paths)
        : m_paths(paths), m_pages(paths.size()), m_done(paths.size(), false) {}

    // Worker loop: takes the next unparsed page until all are taken or Stop.
    void Work() {
        for (;;) {
            const size_t index = m_next.fetch_add(1);
            if (index >= m_paths.size() || m_stopped.load()) return;
            ParsedShopPage page;
            ParseShopPage(m_paths[index], page.products,
                          [&page](const std::string& text) { page.detail = text; });
            std::lock_guard lock(m_mutex);
            m_pages[index] = std::move(page);
            m_done[index] = true;
            m_ready.notify_all();
        }
    }

    ParsedShopPage& WaitFor(size_t index) {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return m_done[index]; });
        return m_pages[index];
    }

    void Release(size_t index) { m_pages[index] = ParsedShopPage(); }
    void Stop() { m_stopped.store(true); }

private:
    const std::vector<std::string>& m_paths;
    std::vector<ParsedShopPage> m_pages;
    std::vector<bool> m_done;
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_stopped{false};
    std::mutex m_mutex;
    std::condition_variable m_ready;
};

}  // namespace

bool ParseShopPagesInOrder(const std::vector<std::string>& paths,
                           const std::atomic<bool>& cancelRequested,
                           const std::function<void(size_t index, ParsedShopPage& page)>& consume) {
    PageQueue queue(paths);
    const size_t workerCount = std::clamp<size_t>(std::thread::hardware_concurrency(), 1,
                                                  std::max<size_t>(paths.size(), 1));
    std::vector<std::thread> workers;
    for (size_t i = 0; i < std::min<size_t>(workerCount, 8); ++i)
        workers.emplace_back([&queue] { queue.Work(); });

    bool completed = true;
    for (size_t index = 0; index < paths.size(); ++index) {
        if (cancelRequested.load()) {
            completed = false;
            break;
        }
        consume(index, queue.WaitFor(index));
        queue.Release(index);
    }
    queue.Stop();
    for (auto& worker : workers) worker.join();
    return completed;
}
