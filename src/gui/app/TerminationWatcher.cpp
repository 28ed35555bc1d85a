#include "app/TerminationWatcher.h"

#include <QMetaObject>

// The request arrives on the platform layer's thread; it is queued to this object's thread,
// and dropped with the object if it is destroyed first.
TerminationWatcher::TerminationWatcher(std::function<void()> onRequest, QObject* parent)
    : QObject(parent), m_onRequest(std::move(onRequest)), m_watch([this] {
          QMetaObject::invokeMethod(
              this, [this] { m_onRequest(); }, Qt::QueuedConnection);
      }) {}
