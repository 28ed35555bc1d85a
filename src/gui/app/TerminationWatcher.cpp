#include "app/TerminationWatcher.h"

#include <QSocketNotifier>

#include "platform/TerminationSignals.h"

TerminationWatcher::TerminationWatcher(std::function<void()> onRequest, QObject* parent)
    : QObject(parent) {
    const int fd = platform::TerminationRequestFd();
    if (fd < 0) return;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [fd, onRequest = std::move(onRequest)] {
        platform::DrainTerminationRequests(fd);
        onRequest();
    });
}
