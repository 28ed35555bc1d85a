#include "DialogAnswerer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>

DialogAnswerer::DialogAnswerer(Handler handler) : m_handler(std::move(handler)) {
    QCoreApplication::instance()->installEventFilter(this);
}

DialogAnswerer::~DialogAnswerer() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool DialogAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow()) {
            // Queued: a modal dialog is shown before its event loop starts.
            const QPointer<QDialog> shown(dialog);
            QTimer::singleShot(0, this, [this, shown] {
                if (shown && shown->isVisible()) m_handler(*shown);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}
