#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "acquire/JobReporter.h"
#include "shopdata/TextConversion.h"

// Keeps every report of a job as one line of UTF-8 text, in order.
class RecordingReporter : public JobReporter {
public:
    void SetStatusLine(const std::string& text) override { Add("status " + ShiftJisToUtf8(text)); }
    void SetDetailLine(const std::string& text) override { Add("detail " + ShiftJisToUtf8(text)); }
    void SetProgressRange(int upper) override { Add("range " + std::to_string(upper)); }
    void SetProgressPos(int pos) override { Add("pos " + std::to_string(pos)); }
    void JobFinished(const JobResult& result) override {
        static const char* const ends[] = {"OK", "Cancel", "NoCompany", "NothingFetched"};
        const int kept = result.pagesKept;
        Add(std::string("finished ") + ends[static_cast<int>(result.end)] +
            (kept ? ", " + std::to_string(kept) + " kept" : ""));
    }

    std::vector<std::string> Lines() const {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }

private:
    void Add(std::string line) {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
    }
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};
