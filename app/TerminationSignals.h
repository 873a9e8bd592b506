#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace precivox {

// SIGTERM and SIGINT, delivered on the event loop rather than inside a signal handler,
// so that closing runs the same steps as closing the window.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals() override;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace precivox
