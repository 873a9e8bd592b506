#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

namespace precivox {

// A window's key handler that sees every key pressed in the window before the control
// with the focus does. Qt hands a key straight to the focused control, so the preview
// watches the application's events and takes those aimed at the window's own widgets.
class KeyPreview : public QObject {
public:
    // Returns true when it has handled the key: the control then never sees it.
    using Handler = std::function<bool(const QKeyEvent&)>;

    KeyPreview(QWidget& window, Handler handler);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    Handler handler_;
};

} // namespace precivox
