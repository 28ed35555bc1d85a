#pragma once
#include <string>
#include <vector>

#include "acquire/NetworkErrorReporter.h"

// Keeps the network errors a fetcher reports, in order, instead of showing them.
struct RecordingNetworkErrors : NetworkErrorReporter {
    void ShowNetworkError(const std::string& text, const std::string& caption) override {
        texts.push_back(text);
        captions.push_back(caption);
    }
    std::vector<std::string> texts;
    std::vector<std::string> captions;
};
