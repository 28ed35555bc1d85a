#include "acquire/OrderedPageParser.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "acquire/ShopPageParser.h"

namespace {

class PageQueue {
public:
    PageQueue(const std::vector<std::string>& paths)
        : m_paths(paths), m_pages(paths.size()), m_done(paths.size(), false) {}

    // Worker loop: takes the next unparsed page until all are taken or Stop.
    void Work() {
        std::string buffer;
        while (ParseNext(buffer)) {
        }
    }

    // Parses the next page nobody has taken, read into `buffer`; false when none
    // is left or Stop.
    bool ParseNext(std::string& buffer) {
        const size_t index = m_next.fetch_add(1);
        if (index >= m_paths.size() || m_stopped.load()) return false;
        ParsedShopPage page;
        ParseShopPage(m_paths[index], buffer, page.products,
                      [&page](const std::string& text) { page.detail = text; });
        std::lock_guard lock(m_mutex);
        m_pages[index] = std::move(page);
        m_done[index] = true;
        m_ready.notify_all();
        return true;
    }

    bool Done(size_t index) {
        std::lock_guard lock(m_mutex);
        return m_done[index];
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

// The parse workers over one queue. Whatever way the pass ends, the destructor
// stops the queue and joins every worker, so no thread outlives the pages.
class WorkerPool {
public:
    explicit WorkerPool(PageQueue& queue) : m_queue(queue) {}
    ~WorkerPool() {
        m_queue.Stop();
        for (auto& worker : m_workers) worker.join();
    }
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Starts up to `count` workers; the system may give fewer, or none.
    void Start(size_t count) {
        m_workers.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            try {
                m_workers.emplace_back([this] { m_queue.Work(); });
            } catch (const std::system_error&) {
                // Out of threads: the workers already made carry the pass.
                return;
            }
        }
    }

private:
    PageQueue& m_queue;
    std::vector<std::thread> m_workers;
};

}  // namespace

bool ParseShopPagesInOrder(const std::vector<std::string>& paths,
                           const std::atomic<bool>& cancelRequested,
                           const std::function<void(size_t index, ParsedShopPage& page)>& consume) {
    PageQueue queue(paths);
    WorkerPool workers(queue);
    // This thread parses too: one worker fewer than the cores.
    workers.Start(std::clamp<size_t>(std::thread::hardware_concurrency(), 1,
                                     std::clamp<size_t>(paths.size(), 1, 8)) -
                  1);
    std::string buffer;
    for (size_t index = 0; index < paths.size(); ++index) {
        if (cancelRequested.load()) return false;
        // Rather than sleep until a worker hands the page over, which would cost a
        // switch of threads for nearly every page, this thread parses the next pages
        // nobody has taken; without any worker it parses them all, in order.
        while (!queue.Done(index) && queue.ParseNext(buffer)) {
        }
        consume(index, queue.WaitFor(index));
        queue.Release(index);
    }
    return true;
}
