#pragma once
#include <string>

#include "acquire/JobResult.h"

// What the download job tells the user while it runs: the progress dialog's two
// text lines and its bar. Texts are Shift-JIS. Implementations must not make the
// worker wait on the user-interface thread.
class JobReporter {
public:
    virtual ~JobReporter() = default;
    virtual void SetStatusLine(const std::string& text) = 0;
    virtual void SetDetailLine(const std::string& text) = 0;
    virtual void SetProgressRange(int upper) = 0;  // the bar runs from 0 to upper
    virtual void SetProgressPos(int pos) = 0;
    // The job's last report.
    virtual void JobFinished(const JobResult& result) = 0;
};

// Discards every report: for runs that show no window.
class SilentJobReporter : public JobReporter {
public:
    void SetStatusLine(const std::string&) override {}
    void SetDetailLine(const std::string&) override {}
    void SetProgressRange(int) override {}
    void SetProgressPos(int) override {}
    void JobFinished(const JobResult&) override {}
};
