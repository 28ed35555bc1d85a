#pragma once
#include <QObject>
#include <functional>

class QDialog;

// Answers the program's modal dialogs as they appear, the way a player would:
// each dialog that is shown is handed to the handler once its own event loop
// runs, so the handler may look at it, work its controls and close it. Only while
// an answerer exists; the program itself knows nothing of it.
class DialogAnswerer : public QObject {
public:
    using Handler = std::function<void(QDialog&)>;
    explicit DialogAnswerer(Handler handler);
    ~DialogAnswerer() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};
