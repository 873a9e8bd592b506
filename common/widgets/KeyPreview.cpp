#include "KeyPreview.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace precivox {

KeyPreview::KeyPreview(QWidget& window, Handler handler)
    : QObject(&window), window_(&window), handler_(std::move(handler)) {
    QCoreApplication::instance()->installEventFilter(this);
}

KeyPreview::~KeyPreview() {
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !window_)
        return false;
    if (static_cast<QWidget*>(watched)->window() != window_)
        return false;
    return handler_(static_cast<const QKeyEvent&>(*event));
}

} // namespace precivox
