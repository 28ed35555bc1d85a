#include "mainframe/ModalRunner.h"

#include <QDialog>

namespace {
ModalHandler& Handler() {
    static ModalHandler handler;
    return handler;
}
}  // namespace

int RunModal(QDialog& dialog) {
    if (!Handler()) return dialog.exec();
    // A handler copy, so that it may install the next one while it runs.
    const ModalHandler handler = Handler();
    return handler(dialog);
}

void SetModalHandler(ModalHandler handler) { Handler() = std::move(handler); }
