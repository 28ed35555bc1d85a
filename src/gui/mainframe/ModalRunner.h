#pragma once
#include <functional>

class QDialog;

// Every modal dialog of the program runs through RunModal, so that a test can
// answer the next dialogs in advance instead of blocking in a modal loop.
int RunModal(QDialog& dialog);

// Installs a handler that runs instead of the modal loop: it receives the shown
// dialog, may work its controls, and returns the dialog's result. An empty
// handler restores the normal modal loop.
using ModalHandler = std::function<int(QDialog&)>;
void SetModalHandler(ModalHandler handler);
